#include "app/storage/StoreManager.h"

#include "platform/foundation/LoadRegistry.h"
#include "platform/foundation/NSFileManager.h"
#include "platform/foundation/SearchPaths.h"

namespace {

const LoadRegistrar storeManagerLoad(&StoreManager::load);

const std::string kCafSuffix = ".caf";

bool hasCafSuffix(const std::string& name) {
    return name.size() >= kCafSuffix.size() &&
           name.compare(name.size() - kCafSuffix.size(), kCafSuffix.size(), kCafSuffix) == 0;
}

std::string userDirectory(NSSearchPathDirectory directory, const std::string& component) {
    auto paths = NSSearchPathForDirectoriesInDomains(directory, NSUserDomainMask, true);
    if (paths.empty()) {
        return {};
    }
    return stringByAppendingPathComponent(paths.front(), component);
}

// The path of `name` inside `dir`; absent when either cannot make a path of the store.
std::optional<std::string> entryPath(const std::string& dir, const std::string& name) {
    if (dir.empty() || !StoreManager::isSafeFileName(name)) {
        return std::nullopt;
    }
    return stringByAppendingPathComponent(dir, name);
}

} // namespace

void StoreManager::load() {
    auto fm = NSFileManager::defaultManager();
    for (const auto& dir : {getPathForDocumentsTonesDir(), getPathForDocumentsPretonesDir(),
                            getPathForTonesCacheDir()}) {
        if (!dir.empty() && !fm->fileExistsAtPath(dir)) {
            fm->createDirectoryAtPath(dir, false);
        }
    }
}

std::string StoreManager::getPathForDocumentsTonesDir() {
    return userDirectory(NSDocumentDirectory, "tones/");
}

std::string StoreManager::getPathForDocumentsPretonesDir() {
    return userDirectory(NSDocumentDirectory, "pretones/");
}

std::string StoreManager::getPathForTonesCacheDir() {
    return userDirectory(NSLibraryDirectory, "Caches/tones/");
}

bool StoreManager::isSafeFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

std::optional<std::string> StoreManager::fullToneFileName(const std::string& name) {
    if (!isSafeFileName(name)) {
        return std::nullopt;
    }
    return hasCafSuffix(name) ? name : name + kCafSuffix;
}

std::vector<std::string> StoreManager::getDownloadedFileNames() {
    std::vector<std::string> names;
    const std::string dir = getPathForDocumentsTonesDir();
    if (dir.empty()) {
        return names;
    }
    auto entries = NSFileManager::defaultManager()->contentsOfDirectoryAtPath(dir);
    if (!entries) {
        return names;
    }
    for (auto& entry : *entries) {
        if (hasCafSuffix(entry)) {
            names.push_back(std::move(entry));
        }
    }
    return names;
}

int StoreManager::getDownloadedFileCount() {
    return static_cast<int>(getDownloadedFileNames().size());
}

bool StoreManager::removeFile(const std::string& name) {
    auto file = fullToneFileName(name);
    auto path = file ? entryPath(getPathForDocumentsTonesDir(), *file) : std::nullopt;
    return path && NSFileManager::defaultManager()->removeItemAtPath(*path);
}

std::optional<std::vector<std::string>> StoreManager::getPretonedFileNames() {
    return NSFileManager::defaultManager()->contentsOfDirectoryAtPath(
        getPathForDocumentsPretonesDir());
}

bool StoreManager::clearCache() {
    const std::string dir = getPathForDocumentsPretonesDir();
    auto fm = NSFileManager::defaultManager();
    auto entries = fm->contentsOfDirectoryAtPath(dir);
    if (!entries) {
        return true;
    }
    for (const auto& entry : *entries) {
        if (!fm->removeItemAtPath(stringByAppendingPathComponent(dir, entry))) {
            return false;
        }
    }
    return true;
}

bool StoreManager::storePretones(const std::optional<std::string>& data,
                                 const std::string& fileName) {
    auto path = entryPath(getPathForDocumentsPretonesDir(), fileName);
    if (!data || !path) {
        return false;
    }
    auto fm = NSFileManager::defaultManager();
    // The only guard against two previews writing one name: the first one stays.
    if (fm->fileExistsAtPath(*path)) {
        return false;
    }
    return fm->createFileAtPath(*path, *data);
}

bool StoreManager::movePretoneToTones(const std::string& fileName) {
    auto source = entryPath(getPathForDocumentsPretonesDir(), fileName);
    auto destination = entryPath(getPathForDocumentsTonesDir(), fileName);
    if (!source || !destination) {
        return false;
    }
    auto fm = NSFileManager::defaultManager();
    if (!fm->fileExistsAtPath(*source)) {
        return false;
    }
    // Fails when the tones directory already holds the name: a tone is never replaced.
    return fm->moveItemAtPath(*source, *destination);
}
