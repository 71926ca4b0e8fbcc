#include "platform/foundation/NSBundle.h"

#include "platform/foundation/DeviceHost.h"
#include "platform/foundation/NSFileManager.h"
#include "platform/foundation/SearchPaths.h"
#include "platform/foundation/StringsFile.h"

#include <plist/plist.h>

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

std::mutex& sharedMutex() {
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<NSBundle>& sharedBundle() {
    static std::shared_ptr<NSBundle> bundle;
    return bundle;
}

std::optional<std::string> plistNodeText(plist_t node) {
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
    case PLIST_BOOLEAN: {
        uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return value ? "1" : "0";
    }
    default:
        return std::nullopt;
    }
}

bool startsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

std::shared_ptr<NSBundle> NSBundle::mainBundle() {
    std::lock_guard lock(sharedMutex());
    if (!sharedBundle()) {
        sharedBundle() = std::make_shared<NSBundle>("/Applications/Chimora.app");
    }
    return sharedBundle();
}

void NSBundle::resetMainBundleForTesting() {
    std::lock_guard lock(sharedMutex());
    sharedBundle().reset();
}

NSBundle::NSBundle(std::string bundlePath) : bundlePath_(std::move(bundlePath)) {}

std::vector<std::string> NSBundle::localizations() const {
    std::lock_guard lock(mutex_);
    if (localizations_) {
        return *localizations_;
    }
    std::vector<std::string> out;
    auto entries = NSFileManager::defaultManager()->contentsOfDirectoryAtPath(bundlePath_);
    for (const auto& entry : entries.value_or(std::vector<std::string>{})) {
        if (entry.size() > 6 && entry.compare(entry.size() - 6, 6, ".lproj") == 0) {
            out.push_back(entry.substr(0, entry.size() - 6));
        }
    }
    localizations_ = out;
    return out;
}

std::string NSBundle::preferredLocalization() const {
    const auto available = localizations();
    auto has = [&](const std::string& name) {
        return std::find(available.begin(), available.end(), name) != available.end();
    };
    for (const auto& language : platform::deviceHost().settings().preferredLanguages) {
        if (has(language)) {
            return language;
        }
        // Longest bundle localization that the language tag extends ("zh-Hans-CN").
        std::string best;
        for (const auto& candidate : available) {
            if (startsWith(language, candidate + "-") && candidate.size() > best.size()) {
                best = candidate;
            }
        }
        if (!best.empty()) {
            return best;
        }
        // Region-only Chinese tags name the script by the region's custom.
        if (startsWith(language, "zh")) {
            const bool traditional = language == "zh-TW" || language == "zh-HK" ||
                                     language == "zh-MO" || startsWith(language, "zh-Hant");
            const std::string script = traditional ? "zh-Hant" : "zh-Hans";
            if (has(script)) {
                return script;
            }
        }
    }
    return "en";
}

std::optional<std::string> NSBundle::pathForResource(const std::string& name,
                                                     const std::string& type) const {
    if (name.empty()) {
        return std::nullopt;
    }
    const std::string file = type.empty() ? name : name + "." + type;
    auto fm = NSFileManager::defaultManager();
    std::vector<std::string> folders = {bundlePath_};
    const std::string localization = preferredLocalization();
    folders.push_back(stringByAppendingPathComponent(bundlePath_, localization + ".lproj"));
    if (localization != "en") {
        folders.push_back(stringByAppendingPathComponent(bundlePath_, "en.lproj"));
    }
    for (const auto& folder : folders) {
        const std::string path = stringByAppendingPathComponent(folder, file);
        bool isDirectory = false;
        if (fm->fileExistsAtPath(path, &isDirectory) && !isDirectory) {
            return path;
        }
    }
    return std::nullopt;
}

void NSBundle::loadInfoDictionary() const {
    if (infoLoaded_) {
        return;
    }
    infoLoaded_ = true;
    auto bytes = NSFileManager::defaultManager()->contentsAtPath(
        stringByAppendingPathComponent(bundlePath_, "Info.plist"));
    if (!bytes || bytes->empty() || bytes->size() > std::numeric_limits<uint32_t>::max()) {
        return;
    }
    plist_t root = nullptr;
    plist_from_memory(bytes->data(), static_cast<uint32_t>(bytes->size()), &root);
    if (root == nullptr) {
        return;
    }
    if (plist_get_node_type(root) == PLIST_DICT) {
        plist_dict_iter iter = nullptr;
        plist_dict_new_iter(root, &iter);
        while (iter != nullptr) {
            char* key = nullptr;
            plist_t value = nullptr;
            plist_dict_next_item(root, iter, &key, &value);
            if (key == nullptr) {
                break;
            }
            if (auto text = plistNodeText(value)) {
                info_[key] = *text;
            }
            std::free(key);
        }
        std::free(iter);
    }
    plist_free(root);
}

std::optional<std::string> NSBundle::objectForInfoDictionaryKey(const std::string& key) const {
    std::lock_guard lock(mutex_);
    loadInfoDictionary();
    auto it = info_.find(key);
    if (it == info_.end()) {
        return std::nullopt;
    }
    return it->second;
}

std::optional<std::string> NSBundle::bundleIdentifier() const {
    return objectForInfoDictionaryKey("CFBundleIdentifier");
}

const NSBundle::Table& NSBundle::table(const std::string& localization,
                                       const std::string& name) const {
    auto key = std::make_pair(localization, name);
    auto it = tables_.find(key);
    if (it != tables_.end()) {
        return it->second;
    }
    Table entries;
    const std::string folder = stringByAppendingPathComponent(bundlePath_, localization + ".lproj");
    auto bytes = NSFileManager::defaultManager()->contentsAtPath(
        stringByAppendingPathComponent(folder, name + ".strings"));
    if (bytes) {
        entries = StringsFile::parse(*bytes).entries;
    }
    return tables_.emplace(std::move(key), std::move(entries)).first->second;
}

std::string NSBundle::localizedStringForKey(const std::string& key, const std::string& value,
                                            const std::string& tableName) const {
    const std::string localization = preferredLocalization();
    std::lock_guard lock(mutex_);
    const Table& entries = table(localization, tableName.empty() ? "Localizable" : tableName);
    auto it = entries.find(key);
    if (it != entries.end()) {
        return it->second;
    }
    return value.empty() ? key : value;
}
