#include "platform/foundation/StringLanguage.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct Case {
    const char* name;
    const char* text;
    std::optional<std::string> expected;
};

class StringLanguage : public testing::TestWithParam<Case> {};

TEST_P(StringLanguage, GuessesTheTag) {
    const Case& c = GetParam();
    EXPECT_EQ(bestStringLanguage(c.text), c.expected) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, StringLanguage,
    testing::Values(Case{"Simplified", "我们今天去公园散步，天气很好。", "zh-Hans"},
                    Case{"Traditional", "我們今天去公園散步，天氣很好。", "zh-Hant"},
                    Case{"JapaneseWithKana", "今日は公園を散歩しました。天気がとても良かったです。",
                         "ja"},
                    Case{"English", "The quick brown fox jumps over the lazy dog.", "en"},
                    Case{"German", "Der schnelle braune Fuchs springt über den faulen Hund.", "de"},
                    Case{"Empty", "", std::nullopt},
                    // Too short to tell: the guesser's fallback answer is not a guess.
                    Case{"TwoLetters", "ab", std::nullopt},
                    Case{"OneWord", "Ringtone", std::nullopt}, Case{"Digits", "1.10", std::nullopt},
                    // Not UTF-8.
                    Case{"Broken", "\xC3\x28\xA0\xA1 text", std::nullopt}),
    [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

} // namespace
