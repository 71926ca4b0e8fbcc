#pragma once
// The `chimora` program's options that describe the device and the services it talks to.
#include "platform/foundation/DeviceHost.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace host {

struct DeviceOptions {
    std::filesystem::path deviceRoot;
    std::optional<std::string> baseURL;   // catalogue service, ends in "/"
    std::optional<std::string> reportURL; // usage-report service, ends in "/"
    platform::DeviceSettings settings;
    std::optional<double> now; // device clock start, seconds since 1970 UTC
    bool headless = false;
    std::optional<std::string> script; // "-" is standard input
    bool help = false;
    // `device init` only.
    bool messenger = false;
    bool legacyMessenger = false;
};

struct DeviceOptionsResult {
    std::optional<DeviceOptions> options; // absent when `error` says why
    std::string error;
};

enum class OptionSet { Run, DeviceInit };

// Answers an environment variable, absent when unset.
using EnvLookup = std::function<std::optional<std::string>(const char* name)>;
std::optional<std::string> processEnv(const char* name);

// Reads the arguments after the program (and sub-command) name. `env` answers environment
// variables (XDG_DATA_HOME, HOME, LANG) so that defaults can be tested.
DeviceOptionsResult parseDeviceOptions(const std::vector<std::string>& args,
                                       OptionSet set = OptionSet::Run,
                                       const EnvLookup& env = processEnv);

std::filesystem::path defaultDeviceRoot(const EnvLookup& env = processEnv);
// From a POSIX locale name: zh_CN → zh-Hans, zh_TW / zh_HK → zh-Hant, anything else → en.
std::vector<std::string> languagesForLocale(const std::string& localeName);

// Parses "2026-05-10T15:00:00" (seconds optional) as local time in the current TZ.
std::optional<double> parseLocalTime(const std::string& text);

std::string usageText();

} // namespace host
