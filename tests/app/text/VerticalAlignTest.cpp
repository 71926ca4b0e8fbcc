#include "app/text/VerticalAlign.h"

#include "tests/support/TestDevice.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// One phrase fills the label's width exactly, so a text of k phrases wraps to k lines.
constexpr const char* kPhrase = "A tone name";

class LabelAlign : public testing::Test {
protected:
    std::shared_ptr<UILabel> label(int lines, const std::string* text) {
        const UIFont font = UIFont::systemFontOfSize(15);
        auto l = UILabel::initWithFrame(CGRectMake(0, 0, sizeWithFont(kPhrase, font).width, 60));
        l->setFont(font);
        l->setNumberOfLines(lines);
        l->setLineBreakMode(NSLineBreakByWordWrapping);
        if (text) {
            l->setText(*text);
        }
        return l;
    }

    static std::string phrases(int count) {
        std::string text;
        for (int i = 0; i < count; ++i) {
            text += i ? std::string(" ") + kPhrase : kPhrase;
        }
        return text;
    }

    testsupport::TestDevice dev;
};

TEST_F(LabelAlign, PadsTheLinesTheTextLeavesEmpty) {
    const struct {
        int lines;
        int textLines;
        int padding;
    } cases[] = {
        {3, 1, 2},
        {3, 2, 1},
        {2, 1, 1},
        {5, 2, 3},
        // Already full, longer than the lines, or unlimited lines: nothing to pad.
        {3, 3, 0},
        {2, 3, 0},
        {1, 1, 0},
        {0, 1, 0},
    };
    for (const auto& c : cases) {
        const std::string text = phrases(c.textLines);
        std::string below = text;
        std::string above = text;
        for (int i = 0; i < c.padding; ++i) {
            below += "\n ";
            above = " \n" + above;
        }
        auto top = label(c.lines, &text);
        VerticalAlign::alignTop(*top);
        EXPECT_EQ(top->text(), below) << c.lines << " lines, text of " << c.textLines;
        auto bottom = label(c.lines, &text);
        VerticalAlign::alignBottom(*bottom);
        EXPECT_EQ(bottom->text(), above) << c.lines << " lines, text of " << c.textLines;
    }
}

TEST_F(LabelAlign, EmptyTextStaysEmpty) {
    const std::string empty;
    auto l = label(3, &empty);
    VerticalAlign::alignTop(*l);
    EXPECT_EQ(l->text(), "");
    VerticalAlign::alignBottom(*l);
    EXPECT_EQ(l->text(), "");
}

TEST_F(LabelAlign, LabelWithoutTextStaysUnchanged) {
    auto l = label(3, nullptr);
    VerticalAlign::alignTop(*l);
    VerticalAlign::alignBottom(*l);
    EXPECT_FALSE(l->hasText());
}

} // namespace
