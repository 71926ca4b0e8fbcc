#include "app/core/LangSetting.h"

#include "tests/support/TestDevice.h"

#include <gtest/gtest.h>

namespace {

struct LanguageCase {
    std::vector<std::string> languages;
    bool hans;
    bool hant;
};

class LangSettingTest : public testing::TestWithParam<LanguageCase> {};

TEST_P(LangSettingTest, OnlyAnExactFirstLanguageCounts) {
    platform::DeviceSettings settings;
    settings.preferredLanguages = GetParam().languages;
    testsupport::TestDevice device({.settings = settings});
    EXPECT_EQ(LangSetting::isInitLanguageHans(), GetParam().hans);
    EXPECT_EQ(LangSetting::isInitLanguageHant(), GetParam().hant);
}

INSTANTIATE_TEST_SUITE_P(
    Languages, LangSettingTest,
    testing::Values(LanguageCase{{"zh-Hans"}, true, false}, LanguageCase{{"zh-Hant"}, false, true},
                    LanguageCase{{"zh-Hans", "zh-Hant"}, true, false},
                    LanguageCase{{"en", "zh-Hans"}, false, false}, // only the first one
                    LanguageCase{{"zh-Hans-CN"}, false, false},
                    LanguageCase{{"zh-CN"}, false, false}, LanguageCase{{"zh-TW"}, false, false},
                    LanguageCase{{"zh-HK"}, false, false}, LanguageCase{{"zh-hans"}, false, false},
                    LanguageCase{{"en"}, false, false}, LanguageCase{{}, false, false}));

} // namespace
