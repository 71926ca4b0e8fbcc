#include "host/device/DeviceOptions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

using host::DeviceOptionsResult;
using host::OptionSet;
using host::parseDeviceOptions;

namespace {

host::EnvLookup fakeEnv(std::map<std::string, std::string> values) {
    return [values](const char* name) -> std::optional<std::string> {
        auto it = values.find(name);
        if (it == values.end()) {
            return std::nullopt;
        }
        return it->second;
    };
}

const host::EnvLookup kPlainEnv = fakeEnv({{"HOME", "/home/u"}, {"LANG", "C.UTF-8"}});

// Pins the zone so that local times convert the same everywhere.
class ShanghaiTime : public ::testing::Test {
protected:
    void SetUp() override {
        const char* tz = std::getenv("TZ");
        saved_ = tz != nullptr ? std::optional<std::string>(tz) : std::nullopt;
        ::setenv("TZ", "Asia/Shanghai", 1);
    }
    void TearDown() override {
        if (saved_) {
            ::setenv("TZ", saved_->c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
    }
    std::optional<std::string> saved_;
};

TEST(DeviceOptions, DefaultsComeFromTheEnvironment) {
    auto result = parseDeviceOptions({}, OptionSet::Run, kPlainEnv);
    ASSERT_TRUE(result.options) << result.error;
    const auto& o = *result.options;
    EXPECT_EQ(o.deviceRoot, "/home/u/.local/share/chimora/device");
    EXPECT_EQ(o.settings.systemVersion, "8.1");
    EXPECT_EQ(o.settings.preferredLanguages, std::vector<std::string>{"en"});
    EXPECT_EQ(o.settings.screenWidth, 320);
    EXPECT_EQ(o.settings.screenHeight, 568);
    EXPECT_FALSE(o.now);
    EXPECT_FALSE(o.headless);
    EXPECT_FALSE(o.baseURL);
    EXPECT_FALSE(o.script);

    auto xdg = parseDeviceOptions({}, OptionSet::Run,
                                  fakeEnv({{"XDG_DATA_HOME", "/data"}, {"HOME", "/home/u"}}));
    ASSERT_TRUE(xdg.options);
    EXPECT_EQ(xdg.options->deviceRoot, "/data/chimora/device");
}

TEST(DeviceOptions, LanguagesFollowTheLocaleName) {
    const std::pair<const char*, const char*> cases[] = {
        {"zh_CN.UTF-8", "zh-Hans"},
        {"zh_SG", "zh-Hans"},
        {"zh", "zh-Hans"},
        {"zh_TW.UTF-8", "zh-Hant"},
        {"zh_HK.Big5", "zh-Hant"},
        {"en_US.UTF-8", "en"},
        {"de_DE", "en"},
        {"C", "en"},
        {"", "en"},
        {"zhx_CN", "en"},
    };
    for (const auto& [locale, language] : cases) {
        SCOPED_TRACE(locale);
        EXPECT_EQ(host::languagesForLocale(locale), std::vector<std::string>{language});
    }
}

TEST_F(ShanghaiTime, EveryOptionIsRead) {
    auto result =
        parseDeviceOptions({"--device-root", "/tmp/dev", "--base-url", "http://127.0.0.1:9000",
                            "--report-url=http://127.0.0.1:9000/report/", "--system-version",
                            "7.1.2", "--language", "zh-Hant,en", "--screen", "375x667", "--now",
                            "2026-05-10T15:00:00", "--headless", "--script", "-"},
                           OptionSet::Run, kPlainEnv);
    ASSERT_TRUE(result.options) << result.error;
    const auto& o = *result.options;
    EXPECT_EQ(o.deviceRoot, "/tmp/dev");
    EXPECT_EQ(o.baseURL, "http://127.0.0.1:9000/");
    EXPECT_EQ(o.reportURL, "http://127.0.0.1:9000/report/");
    EXPECT_EQ(o.settings.systemVersion, "7.1.2");
    EXPECT_EQ(o.settings.preferredLanguages, (std::vector<std::string>{"zh-Hant", "en"}));
    EXPECT_EQ(o.settings.screenWidth, 375);
    EXPECT_EQ(o.settings.screenHeight, 667);
    // 15:00 in Shanghai (UTC+8) is 07:00 UTC.
    EXPECT_EQ(o.now, 1778396400.0);
    EXPECT_TRUE(o.headless);
    EXPECT_EQ(o.script, "-");
}

TEST(DeviceOptions, BadValuesAreRefusedWithTheReason) {
    struct Case {
        std::vector<std::string> args;
        const char* errorMentions;
    };
    const Case cases[] = {
        {{"--bogus"}, "unknown option: --bogus"},
        {{"--device-root"}, "--device-root needs a value"},
        {{"--base-url", "ftp://x/"}, "--base-url"},
        {{"--base-url", "http://"}, "--base-url"},
        {{"--report-url", "127.0.0.1:8642"}, "--report-url"},
        {{"--system-version", "eight"}, "--system-version"},
        {{"--system-version", "8."}, "--system-version"},
        {{"--language", "zh-Hans,,en"}, "--language"},
        {{"--language", ""}, "--language"},
        {{"--screen", "320"}, "--screen"},
        {{"--screen", "0x568"}, "--screen"},
        {{"--screen", "320x-5"}, "--screen"},
        {{"--now", "2026-02-30T10:00:00"}, "--now"},
        {{"--now", "2026-05-10T25:00:00"}, "--now"},
        {{"--now", "yesterday"}, "--now"},
        {{"--headless=yes"}, "--headless takes no value"},
        {{"--messenger"}, "unknown option"},
        {{"--script", ""}, "--script"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.front());
        auto result = parseDeviceOptions(c.args, OptionSet::Run, kPlainEnv);
        EXPECT_FALSE(result.options);
        EXPECT_NE(result.error.find(c.errorMentions), std::string::npos) << result.error;
    }
}

TEST(DeviceOptions, DeviceInitTakesOnlyItsOwnOptions) {
    auto ok = parseDeviceOptions({"--messenger", "--legacy-messenger", "--device-root=/d"},
                                 OptionSet::DeviceInit, kPlainEnv);
    ASSERT_TRUE(ok.options) << ok.error;
    EXPECT_TRUE(ok.options->messenger);
    EXPECT_TRUE(ok.options->legacyMessenger);
    EXPECT_EQ(ok.options->deviceRoot, "/d");

    auto bad = parseDeviceOptions({"--headless"}, OptionSet::DeviceInit, kPlainEnv);
    EXPECT_FALSE(bad.options);
}

TEST(DeviceOptions, HelpIsAnOptionAndUsageNamesEveryOption) {
    auto result = parseDeviceOptions({"--help"}, OptionSet::Run, kPlainEnv);
    ASSERT_TRUE(result.options);
    EXPECT_TRUE(result.options->help);
    const std::string usage = host::usageText();
    for (const char* option : {"--device-root", "--base-url", "--report-url", "--system-version",
                               "--language", "--screen", "--now", "--headless", "--script",
                               "--help", "--messenger", "--legacy-messenger"}) {
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    }
}

} // namespace
