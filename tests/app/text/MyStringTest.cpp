#include "app/text/MyString.h"

#include "platform/uikit/NSStringDrawing.h"
#include "tests/support/TestDevice.h"

#include <gtest/gtest.h>

namespace {

TEST(MyStringSearch, IndexOfCharCountsUtf16Units) {
    const struct {
        const char* text;
        char c;
        unsigned options;
        unsigned expected;
    } cases[] = {
        {"ring.caf", '.', 0, 4},
        {"a.b.c", '.', NSBackwardsSearch, 3},
        {"我的.caf", '.', 0, 2},
        {"\xF0\x9F\x98\x80.caf", '.', 0, 2}, // one emoji is two units
        {"Ring", 'r', 0, NSNotFound},
        {"Ring", 'r', NSCaseInsensitiveSearch, 0},
        {"ring", 'n', NSAnchoredSearch, NSNotFound},
        {"", 'a', 0, NSNotFound},
        {"caf\xE9", '\xE9', 0, NSNotFound},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MyString::indexOfChar(c.text, c.c, c.options), c.expected)
            << c.text << " '" << c.c << "' " << c.options;
    }
}

TEST(MyStringSearch, ContainsString) {
    const struct {
        const char* text;
        const char* part;
        unsigned options;
        bool expected;
    } cases[] = {
        {"Hello World", "World", 0, true},
        {"Hello World", "world", 0, false},
        {"Hello World", "world", NSCaseInsensitiveSearch, true},
        {"Hello World", "Hello", NSAnchoredSearch, true},
        {"Hello World", "World", NSAnchoredSearch, false},
        {"Hello World", "World", NSAnchoredSearch | NSBackwardsSearch, true},
        {"默认铃声", "铃声", 0, true},
        {"Hello", "Hello World", 0, false},
        {"Hello", "", 0, false},
        {"", "", 0, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MyString::containsString(c.text, c.part, c.options), c.expected)
            << c.text << " / " << c.part << " " << c.options;
    }
    EXPECT_TRUE(MyString::containsString("abc", "b"));
    EXPECT_FALSE(MyString::containsString("abc", "B"));
    EXPECT_FALSE(MyString::containsString("abc", ""));
}

TEST(MyStringSearch, CaseInsensitiveEquality) {
    EXPECT_TRUE(MyString::isCaseInsensitiveEqualToString("ZH-hans", "zh-Hans"));
    EXPECT_TRUE(MyString::isCaseInsensitiveEqualToString("", ""));
    EXPECT_FALSE(MyString::isCaseInsensitiveEqualToString("zh-Hans", "zh-Hant"));
    EXPECT_FALSE(MyString::isCaseInsensitiveEqualToString("ja", "jap"));
}

TEST(MyStringLanguage, ChineseOrJapanese) {
    const struct {
        const char* text;
        bool expected;
    } cases[] = {
        {"我们今天去公园散步，天气很好。", true},
        {"我們今天去公園散步，天氣很好。", true},
        {"今日は公園を散歩しました。天気がとても良かったです。", true},
        {"The quick brown fox jumps over the lazy dog.", false},
        {"", false},
        {"ab", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MyString::isChineseOrJapanese(c.text), c.expected) << c.text;
    }
}

TEST(MyStringLanguage, LooksOnlyAtTheFirstHundredUnits) {
    const std::string english = "The quick brown fox jumps over the lazy dog. ";
    std::string head;
    while (head.size() < 100) {
        head += english;
    }
    head.resize(100);
    std::string chinese;
    for (int i = 0; i < 20; ++i) {
        chinese += "我们今天去公园散步，天气很好。";
    }
    EXPECT_TRUE(MyString::isChineseOrJapanese(chinese + head));
    EXPECT_FALSE(MyString::isChineseOrJapanese(head + chinese));
}

class WidthReduction : public testing::Test {
protected:
    testsupport::TestDevice dev;
    UIFont font = UIFont::systemFontOfSize(15);
};

TEST_F(WidthReduction, KeepsTheLongestLeadingPartThatFits) {
    const std::string text = "Classic ring tone";
    const float full = static_cast<float>(sizeWithFont(text, font).width);
    ASSERT_GT(full, 0);
    EXPECT_EQ(MyString::stringReducedToWidth(text, full, font), text);
    EXPECT_EQ(MyString::stringReducedToWidth(text, full + 100, font), text);

    const float part = static_cast<float>(sizeWithFont("Classic", font).width);
    const auto reduced = MyString::stringReducedToWidth(text, part, font);
    ASSERT_TRUE(reduced);
    EXPECT_EQ(*reduced, "Classic");

    // The same for text whose characters take several bytes each.
    const std::string chinese = "经典铃声合集";
    const float two = static_cast<float>(sizeWithFont("经典", font).width);
    EXPECT_EQ(MyString::stringReducedToWidth(chinese, two, font), "经典");
}

TEST_F(WidthReduction, NoneWhenTheFirstCharacterDoesNotFit) {
    const float first = static_cast<float>(sizeWithFont("W", font).width);
    EXPECT_EQ(MyString::stringReducedToWidth("Wide", first - 1, font), std::nullopt);
    EXPECT_EQ(MyString::stringReducedToWidth("Wide", first, font), "W");
}

} // namespace
