#include "app/storage/StoreManager.h"
#include "app/storage/Utility.h"

#include "platform/foundation/LoadRegistry.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSFileManager.h"
#include "platform/foundation/NSUserDefaults.h"
#include "platform/foundation/SearchPaths.h"
#include "platform/foundation/UIDevice.h"

namespace {

const LoadRegistrar utilityLoad(&Utility::load);

const char* const kMessengerBundleName = "MicroMessenger.app";
const char* const kInstalledFileName = "in.caf";
// Beside in.caf so that the final rename stays inside one file system.
const char* const kTemporaryFileName = ".in.caf.installing";
const std::string kCafSuffix = ".caf";

// Written at start-up only, read afterwards on the main thread.
std::optional<std::string> S_WechatDirPath;
Utility::InstallStepHook beforeReplaceHook = nullptr;

std::string messengerRoot() {
    return UIDevice::currentDevice()->systemVersionFloat() >= 8.0f
               ? "/var/mobile/Containers/Bundle/Application/"
               : "/var/mobile/Applications/";
}

bool sameBytes(const std::string& path1, const std::string& path2) {
    auto fm = NSFileManager::defaultManager();
    auto a = fm->contentsAtPath(path1);
    auto b = fm->contentsAtPath(path2);
    return a && b && *a == *b;
}

// The messenger's own sound is kept once; a later installation never overwrites the copy,
// since by then in.caf holds one of our tones.
bool keepOriginalTone(const std::string& installed) {
    auto fm = NSFileManager::defaultManager();
    const std::string backup = Utility::originalToneBackupPath();
    if (fm->fileExistsAtPath(backup) || !fm->fileExistsAtPath(installed)) {
        return true;
    }
    fm->createDirectoryAtPath(stringByDeletingLastPathComponent(backup), true);
    const std::string partial = backup + ".partial";
    fm->removeItemAtPath(partial);
    if (!fm->copyItemAtPath(installed, partial) || !sameBytes(installed, partial) ||
        !fm->moveItemAtPath(partial, backup)) {
        fm->removeItemAtPath(partial);
        return false;
    }
    return true;
}

bool hasCafSuffix(const std::string& name) {
    return name.size() >= kCafSuffix.size() &&
           name.compare(name.size() - kCafSuffix.size(), kCafSuffix.size(), kCafSuffix) == 0;
}

} // namespace

void Utility::load() {
    S_WechatDirPath.reset();
    const std::string root = messengerRoot();
    auto fm = NSFileManager::defaultManager();
    auto entries = fm->contentsOfDirectoryAtPath(root);
    if (!entries) {
        return;
    }
    for (const auto& entry : *entries) {
        const std::string candidate = stringByAppendingPathComponent(
            stringByAppendingPathComponent(root, entry), kMessengerBundleName);
        if (fm->fileExistsAtPath(candidate)) {
            S_WechatDirPath = candidate;
            return;
        }
    }
}

std::optional<std::string> Utility::wechatDirPath() {
    return S_WechatDirPath;
}

std::string Utility::originalToneBackupPath() {
    auto paths = NSSearchPathForDirectoriesInDomains(NSLibraryDirectory, NSUserDomainMask, true);
    const std::string library = paths.empty() ? "/var/mobile/Library" : paths.front();
    return stringByAppendingPathComponent(library, "Chimora/original-in.caf");
}

void Utility::setBeforeReplaceHookForTesting(InstallStepHook hook) {
    beforeReplaceHook = hook;
}

bool Utility::selectTone(const std::string& name) {
    if (name.empty()) {
        return false;
    }
    auto full = StoreManager::fullToneFileName(name);
    if (!full || full->size() <= 4) {
        return false;
    }
    const std::string source =
        stringByAppendingPathComponent(StoreManager::getPathForDocumentsTonesDir(), *full);
    return selectToneImpl(name, source);
}

bool Utility::selectToneImpl(const std::string& name,
                             const std::optional<std::string>& srcFilePath) {
    if (!S_WechatDirPath || !srcFilePath) {
        return false;
    }
    auto fm = NSFileManager::defaultManager();
    const std::string destination =
        stringByAppendingPathComponent(*S_WechatDirPath, kInstalledFileName);
    const std::string temporary =
        stringByAppendingPathComponent(*S_WechatDirPath, kTemporaryFileName);

    // in.caf is never removed before its replacement is complete: a failure anywhere below
    // leaves the messenger with the sound it had.
    if (!keepOriginalTone(destination)) {
        return false;
    }
    fm->removeItemAtPath(temporary); // left over from an interrupted run
    bool ok = fm->copyItemAtPath(*srcFilePath, temporary) && sameBytes(*srcFilePath, temporary);
    if (ok && beforeReplaceHook != nullptr) {
        ok = beforeReplaceHook(temporary);
    }
    ok = ok && fm->replaceItemAtPath(destination, temporary);
    if (!ok) {
        fm->removeItemAtPath(temporary);
        return false;
    }
    auto defaults = NSUserDefaults::standardUserDefaults();
    defaults->setObject(name, kCurrentSelectedToneKey);
    defaults->synchronize();
    return true;
}

bool Utility::resetTone() {
    return selectToneImpl("默认", NSBundle::mainBundle()->pathForResource("默认", "caf"));
}

std::string Utility::currentSelectedTone() {
    auto defaults = NSUserDefaults::standardUserDefaults();
    if (auto stored = defaults->stringForKey(kCurrentSelectedToneKey)) {
        return *stored;
    }
    defaults->setObject(kDefaultSelection, kCurrentSelectedToneKey);
    return kDefaultSelection;
}

std::string Utility::readableCurrentSelectedTone() {
    return *readableNameForCafFile(currentSelectedTone());
}

std::optional<std::string> Utility::readableNameForCafFile(const std::optional<std::string>& name) {
    // ".caf" is ASCII, so a name of more than 4 bytes that ends with it has at least one
    // character before it: the byte count decides as a character count would.
    if (name && name->size() > kCafSuffix.size() && hasCafSuffix(*name)) {
        return name->substr(0, name->size() - kCafSuffix.size());
    }
    return name;
}

bool Utility::sameTones(const std::optional<std::string>& tone1,
                        const std::optional<std::string>& tone2) {
    if (!tone1 || !tone2) {
        return false;
    }
    return readableNameForCafFile(tone1) == readableNameForCafFile(tone2);
}

bool Utility::isCurrentSelectedTone(const std::optional<std::string>& name) {
    return sameTones(currentSelectedTone(), name);
}
