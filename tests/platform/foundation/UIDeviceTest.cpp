#include "platform/foundation/UIDevice.h"

#include "platform/foundation/NSLocale.h"
#include "tests/support/TestDevice.h"

#include <gtest/gtest.h>

using testsupport::TestDevice;

namespace {

TEST(UIDevice, VersionsReadAsNumbersLikeThePlatform) {
    const std::pair<const char*, float> cases[] = {
        {"8.1", 8.1f}, {"8.1.2", 8.1f}, {"7", 7.0f},       {"7.0.4", 7.0f}, {"  10.3", 10.3f},
        {"abc", 0.0f}, {"", 0.0f},      {"5.1beta", 5.1f}, {".5", 0.5f},    {"-1.5", -1.5f},
        {"8.", 8.0f},  {"1e1", 10.0f},  {"inf", 0.0f},     {"0x10", 0.0f},  {"\t6.0", 6.0f},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_FLOAT_EQ(UIDevice::floatValue(text), expected);
    }
}

TEST(UIDevice, AnswersTheHostsSettings) {
    platform::DeviceSettings settings;
    settings.systemVersion = "7.1.2";
    settings.preferredLanguages = {"zh-Hant", "en"};
    TestDevice dev(TestDevice::Options{.settings = settings});
    EXPECT_EQ(UIDevice::currentDevice()->systemVersion(), "7.1.2");
    EXPECT_FLOAT_EQ(UIDevice::currentDevice()->systemVersionFloat(), 7.1f);
    EXPECT_LT(UIDevice::currentDevice()->systemVersionFloat(), 8.0f);
    EXPECT_EQ(NSLocale::preferredLanguages(), (std::vector<std::string>{"zh-Hant", "en"}));
}

} // namespace
