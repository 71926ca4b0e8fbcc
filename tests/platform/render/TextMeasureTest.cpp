#include "platform/render/Canvas.h"

#include <gtest/gtest.h>

#include <string>

using render::Font;
using render::LineBreak;
using render::measureText;

namespace {

const std::string kSentence = "The quick brown fox jumps over the lazy dog again and again";

TEST(TextMeasure, EmptyTextIsZero) {
    auto s = measureText("", Font{16});
    EXPECT_EQ(s.w, 0);
    EXPECT_EQ(s.h, 0);
}

TEST(TextMeasure, LongerTextIsWider) {
    auto shortSize = measureText("Download", Font{15});
    auto longSize = measureText("Download again", Font{15});
    EXPECT_GT(shortSize.w, 0);
    EXPECT_GT(longSize.w, shortSize.w);
    EXPECT_DOUBLE_EQ(longSize.h, shortSize.h);
}

TEST(TextMeasure, SingleLineHeightIsTheLineHeight) {
    for (double size : {10.0, 15.0, 17.0, 24.0}) {
        SCOPED_TRACE(size);
        double line = render::lineHeight(Font{size});
        EXPECT_GT(line, size);
        EXPECT_LT(line, size * 1.6);
        EXPECT_DOUBLE_EQ(measureText("Hello", Font{size}).h, line);
    }
}

TEST(TextMeasure, SizeScalesWithFontSize) {
    auto small = measureText(kSentence, Font{16});
    auto large = measureText(kSentence, Font{32});
    EXPECT_NEAR(large.w / small.w, 2.0, 0.1);
    EXPECT_NEAR(large.h / small.h, 2.0, 0.15);
}

TEST(TextMeasure, ConstrainedWidthWrapsIntoMoreLines) {
    Font font{15};
    auto oneLine = measureText(kSentence, font);
    auto wrapped = measureText(kSentence, font, 100);
    EXPECT_LE(wrapped.w, 100);
    EXPECT_GE(wrapped.h, 3 * render::lineHeight(font) - 0.5);
    EXPECT_GT(oneLine.w, 100);
}

TEST(TextMeasure, CharWrapBreaksInsideLongWords) {
    Font font{15};
    std::string word(40, 'm');
    auto s = measureText(word, font, 80, LineBreak::CharWrap);
    EXPECT_LE(s.w, 80);
    EXPECT_GT(s.h, 2 * render::lineHeight(font));
}

struct MaxLinesCase {
    LineBreak mode;
    int maxLines;
};

class TextMaxLines : public testing::TestWithParam<MaxLinesCase> {};

TEST_P(TextMaxLines, HeightIsBoundedByTheLineLimit) {
    Font font{15};
    auto unlimited = measureText(kSentence, font, 90, GetParam().mode, 0);
    auto limited = measureText(kSentence, font, 90, GetParam().mode, GetParam().maxLines);
    double line = render::lineHeight(font);
    EXPECT_GT(unlimited.h, limited.h);
    EXPECT_NEAR(limited.h, GetParam().maxLines * line, 1.0);
    EXPECT_LE(limited.w, 90);
}

INSTANTIATE_TEST_SUITE_P(Modes, TextMaxLines,
                         testing::Values(MaxLinesCase{LineBreak::WordWrap, 2},
                                         MaxLinesCase{LineBreak::CharWrap, 1},
                                         MaxLinesCase{LineBreak::Clip, 2},
                                         MaxLinesCase{LineBreak::TruncateTail, 1},
                                         MaxLinesCase{LineBreak::TruncateTail, 2},
                                         MaxLinesCase{LineBreak::TruncateHead, 1},
                                         MaxLinesCase{LineBreak::TruncateMiddle, 1}));

TEST(TextMeasure, TruncationWithoutLimitStillWraps) {
    Font font{15};
    auto s = measureText(kSentence, font, 90, LineBreak::TruncateTail, 0);
    EXPECT_GT(s.h, 2 * render::lineHeight(font));
}

TEST(TextMeasure, ChineseTextUsesFullWidthGlyphs) {
    // The CJK font draws every ideograph one em wide; a missing font would measure the
    // replacement boxes instead, or nothing.
    Font font{20};
    auto s = measureText("默认铃声", font);
    EXPECT_NEAR(s.w, 4 * 20, 4);
    EXPECT_GT(s.h, 20);
    auto wrapped = measureText("设为当前铃声设为当前铃声", font, 100);
    EXPECT_LE(wrapped.w, 100);
    EXPECT_GE(wrapped.h, 3 * render::lineHeight(font) - 0.5);
}

TEST(TextMeasure, NewlinesStartNewLines) {
    Font font{15};
    auto s = measureText("one\ntwo\nthree", font);
    EXPECT_NEAR(s.h, 3 * render::lineHeight(font), 0.5);
    EXPECT_NEAR(measureText("one\ntwo\nthree", font, 0, LineBreak::WordWrap, 2).h,
                2 * render::lineHeight(font), 0.5);
}

} // namespace
