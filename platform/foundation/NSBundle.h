#pragma once
// The app's own bundle, /Applications/Chimora.app: its resources, its Info.plist and its
// localized string tables.
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class NSBundle {
public:
    static std::shared_ptr<NSBundle> mainBundle();
    // Forgets the shared bundle so the next mainBundle() reads the current device afresh.
    static void resetMainBundleForTesting();

    explicit NSBundle(std::string bundlePath);

    const std::string& bundlePath() const { return bundlePath_; }

    // Device path of a resource: "name.type" in the bundle's top folder, else in the folder
    // of the language in use (see localizedStringForKey), else in en.lproj. An empty type
    // means `name` is the whole file name.
    std::optional<std::string> pathForResource(const std::string& name,
                                               const std::string& type) const;

    // String values of Info.plist (numbers are given in their text form).
    std::optional<std::string> objectForInfoDictionaryKey(const std::string& key) const;
    std::optional<std::string> bundleIdentifier() const;

    // The translation of `key` in `table` (default "Localizable") for the first preferred
    // language the bundle has; else `value` when it is not empty; else the key itself.
    std::string localizedStringForKey(const std::string& key, const std::string& value = "",
                                      const std::string& table = "") const;

    // The bundle's localization used for the device's preferred languages ("en" when none
    // matches): exact name first, then "zh-Hans-CN" → "zh-Hans", "zh-CN" → "zh-Hans",
    // "zh-TW" / "zh-HK" → "zh-Hant".
    std::string preferredLocalization() const;
    std::vector<std::string> localizations() const;

private:
    using Table = std::unordered_map<std::string, std::string>;

    const Table& table(const std::string& localization, const std::string& name) const;
    void loadInfoDictionary() const;

    std::string bundlePath_;
    mutable std::mutex mutex_;
    mutable bool infoLoaded_ = false;
    mutable std::map<std::string, std::string> info_;
    mutable std::optional<std::vector<std::string>> localizations_;
    mutable std::map<std::pair<std::string, std::string>, Table> tables_;
};
