#include "platform/foundation/NSUserDefaults.h"

#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSFileManager.h"
#include "platform/foundation/SearchPaths.h"

#include <plist/plist.h>

#include <charconv>
#include <cstdlib>
#include <limits>

namespace {

// Used when the bundle names no identifier (a bundle without Info.plist).
constexpr const char* kFallbackIdentifier = "com.chimora.Chimora";

std::mutex& sharedMutex() {
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<NSUserDefaults>& sharedDefaults() {
    static std::shared_ptr<NSUserDefaults> defaults;
    return defaults;
}

plist_t asDict(void* dict) {
    return static_cast<plist_t>(dict);
}

std::optional<std::string> stringOf(plist_t node) {
    if (node == nullptr) {
        return std::nullopt;
    }
    switch (plist_get_node_type(node)) {
    case PLIST_STRING: {
        char* text = nullptr;
        plist_get_string_val(node, &text);
        std::string out = text != nullptr ? text : "";
        std::free(text);
        return out;
    }
    case PLIST_UINT: {
        uint64_t value = 0;
        plist_get_uint_val(node, &value);
        return std::to_string(value);
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        char buffer[64];
        auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
        return ec == std::errc() ? std::optional<std::string>(std::string(buffer, end))
                                 : std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

} // namespace

std::shared_ptr<NSUserDefaults> NSUserDefaults::standardUserDefaults() {
    std::lock_guard lock(sharedMutex());
    if (!sharedDefaults()) {
        const std::string identifier =
            NSBundle::mainBundle()->bundleIdentifier().value_or(kFallbackIdentifier);
        const std::string library =
            NSSearchPathForDirectoriesInDomains(NSLibraryDirectory, NSUserDomainMask, true).front();
        sharedDefaults() = std::make_shared<NSUserDefaults>(
            stringByAppendingPathComponent(library, "Preferences/" + identifier + ".plist"));
    }
    return sharedDefaults();
}

void NSUserDefaults::resetStandardUserDefaultsForTesting() {
    std::lock_guard lock(sharedMutex());
    sharedDefaults().reset();
}

NSUserDefaults::NSUserDefaults(std::string devicePath) : devicePath_(std::move(devicePath)) {}

NSUserDefaults::~NSUserDefaults() {
    if (dict_ != nullptr) {
        plist_free(asDict(dict_));
    }
}

void NSUserDefaults::loadLocked() const {
    if (loaded_) {
        return;
    }
    loaded_ = true;
    auto fm = NSFileManager::defaultManager();
    dict_ = plist_new_dict();
    if (!fm->fileExistsAtPath(devicePath_)) {
        return;
    }
    auto bytes = fm->contentsAtPath(devicePath_);
    plist_t root = nullptr;
    if (bytes && !bytes->empty() && bytes->size() <= std::numeric_limits<uint32_t>::max()) {
        plist_from_memory(bytes->data(), static_cast<uint32_t>(bytes->size()), &root);
    }
    if (root != nullptr && plist_get_node_type(root) == PLIST_DICT) {
        plist_free(asDict(dict_));
        dict_ = root;
        return;
    }
    if (root != nullptr) {
        plist_free(root);
    }
    // Keep the bad file for whoever wants to look at it, out of the way of the next write.
    const std::string aside = devicePath_ + ".corrupt";
    fm->removeItemAtPath(aside);
    fm->moveItemAtPath(devicePath_, aside);
}

bool NSUserDefaults::boolForKey(const std::string& key) const {
    std::lock_guard lock(mutex_);
    loadLocked();
    plist_t node = plist_dict_get_item(asDict(dict_), key.c_str());
    if (node == nullptr) {
        return false;
    }
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return value != 0;
    }
    case PLIST_UINT: {
        uint64_t value = 0;
        plist_get_uint_val(node, &value);
        return value != 0;
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return value != 0;
    }
    case PLIST_STRING: {
        const std::string text = stringOf(node).value_or("");
        const size_t start = text.find_first_not_of(" \t\n");
        if (start == std::string::npos) {
            return false;
        }
        const char c = text[start];
        if (c == 'Y' || c == 'y' || c == 'T' || c == 't') {
            return true;
        }
        long long number = 0;
        std::from_chars(text.data() + start + (c == '+' ? 1 : 0), text.data() + text.size(),
                        number);
        return number != 0;
    }
    default:
        return false;
    }
}

std::optional<std::string> NSUserDefaults::stringForKey(const std::string& key) const {
    std::lock_guard lock(mutex_);
    loadLocked();
    return stringOf(plist_dict_get_item(asDict(dict_), key.c_str()));
}

bool NSUserDefaults::hasObjectForKey(const std::string& key) const {
    std::lock_guard lock(mutex_);
    loadLocked();
    return plist_dict_get_item(asDict(dict_), key.c_str()) != nullptr;
}

void NSUserDefaults::setBool(bool value, const std::string& key) {
    std::lock_guard lock(mutex_);
    loadLocked();
    plist_dict_set_item(asDict(dict_), key.c_str(), plist_new_bool(value ? 1 : 0));
    synchronizeLocked();
}

void NSUserDefaults::setObject(const std::string& value, const std::string& key) {
    std::lock_guard lock(mutex_);
    loadLocked();
    plist_dict_set_item(asDict(dict_), key.c_str(), plist_new_string(value.c_str()));
    synchronizeLocked();
}

void NSUserDefaults::removeObjectForKey(const std::string& key) {
    std::lock_guard lock(mutex_);
    loadLocked();
    if (plist_dict_get_item(asDict(dict_), key.c_str()) != nullptr) {
        plist_dict_remove_item(asDict(dict_), key.c_str());
    }
    synchronizeLocked();
}

bool NSUserDefaults::synchronize() {
    std::lock_guard lock(mutex_);
    loadLocked();
    return synchronizeLocked();
}

bool NSUserDefaults::synchronizeLocked() {
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(asDict(dict_), &xml, &length);
    if (xml == nullptr) {
        return false;
    }
    const std::string bytes(xml, length);
    plist_to_xml_free(xml);
    auto fm = NSFileManager::defaultManager();
    fm->createDirectoryAtPath(stringByDeletingLastPathComponent(devicePath_), true);
    return fm->createFileAtPath(devicePath_, bytes);
}
