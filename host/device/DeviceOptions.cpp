#include "host/device/DeviceOptions.h"

#include <charconv>
#include <chrono>
#include <cstdlib>
#include <ctime>

namespace host {

namespace {

bool startsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

std::optional<int> readInt(const std::string& text, size_t pos, size_t len) {
    if (pos + len > text.size()) {
        return std::nullopt;
    }
    int value = 0;
    const char* first = text.data() + pos;
    auto [ptr, ec] = std::from_chars(first, first + len, value);
    if (ec != std::errc() || ptr != first + len) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> readPositive(const std::string& text) {
    double value = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size() || !(value > 0)) {
        return std::nullopt;
    }
    return value;
}

bool isVersion(const std::string& text) {
    bool digitSeen = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9') {
            digitSeen = true;
        } else if (text[i] == '.' && digitSeen && i + 1 < text.size()) {
            digitSeen = false;
        } else {
            return false;
        }
    }
    return digitSeen;
}

std::optional<std::string> serviceURL(const std::string& text) {
    if (!(startsWith(text, "http://") || startsWith(text, "https://")) ||
        text.find_first_of(" \t\r\n") != std::string::npos) {
        return std::nullopt;
    }
    const size_t hostStart = text.find("//") + 2;
    if (hostStart >= text.size() || text[hostStart] == '/') {
        return std::nullopt;
    }
    // The app joins paths straight onto these, so they must end in "/".
    return text.back() == '/' ? text : text + "/";
}

std::vector<std::string> splitLanguages(const std::string& text) {
    std::vector<std::string> out;
    size_t pos = 0;
    while (true) {
        size_t comma = text.find(',', pos);
        out.push_back(
            text.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos));
        if (comma == std::string::npos) {
            return out;
        }
        pos = comma + 1;
    }
}

} // namespace

std::optional<std::string> processEnv(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::string(value);
}

std::filesystem::path defaultDeviceRoot(const EnvLookup& env) {
    auto xdg = env("XDG_DATA_HOME");
    if (xdg && !xdg->empty() && xdg->front() == '/') {
        return std::filesystem::path(*xdg) / "chimora" / "device";
    }
    auto home = env("HOME");
    std::filesystem::path base = home && !home->empty() ? *home : std::string(".");
    return base / ".local" / "share" / "chimora" / "device";
}

std::vector<std::string> languagesForLocale(const std::string& localeName) {
    // "zh_CN.UTF-8@variant" → language "zh", territory "CN".
    const std::string name = localeName.substr(0, localeName.find_first_of(".@"));
    const std::string language = name.substr(0, name.find_first_of("_-"));
    if (language != "zh") {
        return {"en"};
    }
    const size_t sep = name.find_first_of("_-");
    const std::string rest = sep == std::string::npos ? "" : name.substr(sep + 1);
    if (rest == "TW" || rest == "HK" || rest == "MO" || rest == "Hant" ||
        startsWith(rest, "Hant")) {
        return {"zh-Hant"};
    }
    return {"zh-Hans"};
}

std::optional<double> parseLocalTime(const std::string& text) {
    // YYYY-MM-DDTHH:MM or YYYY-MM-DDTHH:MM:SS
    if ((text.size() != 16 && text.size() != 19) || text[4] != '-' || text[7] != '-' ||
        (text[10] != 'T' && text[10] != ' ') || text[13] != ':' ||
        (text.size() == 19 && text[16] != ':')) {
        return std::nullopt;
    }
    auto year = readInt(text, 0, 4);
    auto month = readInt(text, 5, 2);
    auto day = readInt(text, 8, 2);
    auto hour = readInt(text, 11, 2);
    auto minute = readInt(text, 14, 2);
    auto second = text.size() == 19 ? readInt(text, 17, 2) : std::optional<int>(0);
    if (!year || !month || !day || !hour || !minute || !second || *year < 1970 || *month < 1 ||
        *month > 12 || *day < 1 || *hour > 23 || *minute > 59 || *second > 59) {
        return std::nullopt;
    }
    const std::chrono::year_month_day date{std::chrono::year(*year),
                                           std::chrono::month(static_cast<unsigned>(*month)),
                                           std::chrono::day(static_cast<unsigned>(*day))};
    if (!date.ok()) {
        return std::nullopt;
    }
    std::tm tm{};
    tm.tm_year = *year - 1900;
    tm.tm_mon = *month - 1;
    tm.tm_mday = *day;
    tm.tm_hour = *hour;
    tm.tm_min = *minute;
    tm.tm_sec = *second;
    tm.tm_isdst = -1;
    tzset();
    const std::time_t seconds = std::mktime(&tm);
    if (seconds == static_cast<std::time_t>(-1)) {
        return std::nullopt;
    }
    return static_cast<double>(seconds);
}

DeviceOptionsResult parseDeviceOptions(const std::vector<std::string>& args, OptionSet set,
                                       const EnvLookup& env) {
    DeviceOptionsResult result;
    DeviceOptions options;
    bool rootGiven = false;
    bool languageGiven = false;
    auto fail = [&](std::string message) {
        result.error = std::move(message);
        return result;
    };

    for (size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> inlineValue;
        if (startsWith(name, "--")) {
            if (size_t eq = name.find('='); eq != std::string::npos) {
                inlineValue = name.substr(eq + 1);
                name = name.substr(0, eq);
            }
        }
        const bool takesValue =
            name == "--device-root" ||
            (set == OptionSet::Run &&
             (name == "--base-url" || name == "--report-url" || name == "--system-version" ||
              name == "--language" || name == "--screen" || name == "--now" || name == "--script"));
        const bool isFlag = name == "--help" || name == "-h" ||
                            (set == OptionSet::Run && name == "--headless") ||
                            (set == OptionSet::DeviceInit &&
                             (name == "--messenger" || name == "--legacy-messenger"));
        if (!takesValue && !isFlag) {
            return fail("unknown option: " + args[i]);
        }
        if (isFlag) {
            if (inlineValue) {
                return fail(name + " takes no value");
            }
            if (name == "--help" || name == "-h") {
                options.help = true;
            } else if (name == "--headless") {
                options.headless = true;
            } else if (name == "--messenger") {
                options.messenger = true;
            } else {
                options.legacyMessenger = true;
            }
            continue;
        }
        std::string value;
        if (inlineValue) {
            value = *inlineValue;
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            return fail(name + " needs a value");
        }

        if (name == "--device-root") {
            if (value.empty()) {
                return fail("--device-root needs a folder");
            }
            options.deviceRoot = value;
            rootGiven = true;
        } else if (name == "--base-url" || name == "--report-url") {
            auto url = serviceURL(value);
            if (!url) {
                return fail(name + " must be an http:// or https:// URL, got \"" + value + "\"");
            }
            (name == "--base-url" ? options.baseURL : options.reportURL) = *url;
        } else if (name == "--system-version") {
            if (!isVersion(value)) {
                return fail("--system-version must look like 8.1, got \"" + value + "\"");
            }
            options.settings.systemVersion = value;
        } else if (name == "--language") {
            auto languages = splitLanguages(value);
            for (const auto& language : languages) {
                if (language.empty() ||
                    language.find_first_not_of("abcdefghijklmnopqrstuvwxyz"
                                               "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-_") !=
                        std::string::npos) {
                    return fail("--language takes language tags separated by commas, got \"" +
                                value + "\"");
                }
            }
            options.settings.preferredLanguages = std::move(languages);
            languageGiven = true;
        } else if (name == "--screen") {
            const size_t x = value.find('x');
            auto width = x == std::string::npos ? std::nullopt : readPositive(value.substr(0, x));
            auto height = x == std::string::npos ? std::nullopt : readPositive(value.substr(x + 1));
            if (!width || !height) {
                return fail("--screen must be WIDTHxHEIGHT in points, got \"" + value + "\"");
            }
            options.settings.screenWidth = *width;
            options.settings.screenHeight = *height;
        } else if (name == "--now") {
            auto seconds = parseLocalTime(value);
            if (!seconds) {
                return fail("--now must be a local time like 2026-05-10T15:00:00, got \"" + value +
                            "\"");
            }
            options.now = seconds;
        } else if (name == "--script") {
            if (value.empty()) {
                return fail("--script needs a file (or - for standard input)");
            }
            options.script = value;
        }
    }

    if (!rootGiven) {
        options.deviceRoot = defaultDeviceRoot(env);
    }
    if (!languageGiven) {
        options.settings.preferredLanguages = languagesForLocale(env("LANG").value_or(""));
    }
    result.options = std::move(options);
    return result;
}

std::string usageText() {
    return "Usage: chimora [OPTIONS]\n"
           "       chimora device init [--device-root DIR] [--messenger] [--legacy-messenger]\n"
           "\n"
           "Runs Chimora on a simulated phone whose files live in a folder of this machine.\n"
           "\n"
           "Options:\n"
           "  --device-root DIR      the device's files (default "
           "$XDG_DATA_HOME/chimora/device)\n"
           "  --base-url URL         catalogue service (default from the build)\n"
           "  --report-url URL       usage-report service (default from the build)\n"
           "  --system-version V     system version the device reports (default 8.1)\n"
           "  --language L[,L...]    preferred languages, first wins (default from LANG)\n"
           "  --screen WxH           screen size in points (default 320x568)\n"
           "  --now TIME             device clock starts at this local time, e.g.\n"
           "                         2026-05-10T15:00:00 (TZ sets the zone)\n"
           "  --headless             no window\n"
           "  --script FILE          run an automation script (- for standard input) and exit\n"
           "  --help                 this text\n"
           "\n"
           "device init:\n"
           "  --messenger            install a messenger under\n"
           "                         /var/mobile/Containers/Bundle/Application/<UUID>/\n"
           "  --legacy-messenger     also one under /var/mobile/Applications/<UUID>/\n";
}

} // namespace host
