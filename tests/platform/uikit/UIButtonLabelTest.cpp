#include "platform/render/Canvas.h"
#include "platform/uikit/NSStringDrawing.h"
#include "platform/uikit/UIActivityIndicatorView.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UILabel.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

std::shared_ptr<UIImage> solidImage(const std::string& name, int w, int h) {
    auto bitmap = std::make_shared<render::Bitmap>();
    bitmap->width = w;
    bitmap->height = h;
    bitmap->argb.assign(static_cast<size_t>(w * h), 0xff00ff00u);
    return UIImage::imageWithBitmap(bitmap, name);
}

struct StateCase {
    const char* name;
    std::function<void(UIButton&)> setState;
    const char* expectedTitle;
};

class ButtonStateFallback : public testing::TestWithParam<StateCase> {};

// Titles for normal and highlighted only: other states fall back to normal.
TEST_P(ButtonStateFallback, CurrentTitle) {
    auto button = UIButton::buttonWithType(UIButtonTypeCustom);
    button->setTitle("normal", UIControlStateNormal);
    button->setTitle("pressed", UIControlStateHighlighted);
    GetParam().setState(*button);
    EXPECT_EQ(button->currentTitle(), GetParam().expectedTitle) << GetParam().name;
    EXPECT_EQ(button->titleLabel()->text(), GetParam().expectedTitle) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ButtonStateFallback,
    testing::Values(StateCase{"normal", [](UIButton&) {}, "normal"},
                    StateCase{"highlighted", [](UIButton& b) { b.setHighlighted(true); },
                              "pressed"},
                    StateCase{"disabled", [](UIButton& b) { b.setEnabled(false); }, "normal"},
                    StateCase{"selected", [](UIButton& b) { b.setSelected(true); }, "normal"},
                    StateCase{"highlighted then back",
                              [](UIButton& b) {
                                  b.setHighlighted(true);
                                  b.setHighlighted(false);
                              },
                              "normal"}));

TEST(UIButtonState, SelectedHighlightedPrefersSelectedValues) {
    auto button = UIButton::buttonWithType(UIButtonTypeCustom);
    button->setTitle("normal", UIControlStateNormal);
    button->setTitle("on", UIControlStateSelected);
    button->setSelected(true);
    button->setHighlighted(true);
    EXPECT_EQ(button->currentTitle(), "on");
}

TEST(UIButtonState, ImagesColoursAndDefaults) {
    auto button = UIButton::buttonWithType(UIButtonTypeCustom);
    EXPECT_FALSE(button->currentTitle().has_value());
    EXPECT_EQ(button->currentImage(), nullptr);
    auto normal = solidImage("new32", 4, 4);
    auto pressed = solidImage("new32_on", 4, 4);
    button->setImage(normal, UIControlStateNormal);
    button->setImage(pressed, UIControlStateHighlighted);
    button->setTitleColor(UIColor::redColor(), UIControlStateNormal);
    button->setHighlighted(true);
    EXPECT_EQ(button->currentImage(), pressed);
    EXPECT_EQ(button->imageView()->image(), pressed);
    EXPECT_EQ(button->currentTitleColor(), UIColor::redColor());
    button->setHighlighted(false);
    EXPECT_EQ(button->currentImage(), normal);
    button->setBackgroundImage(pressed, UIControlStateDisabled);
    EXPECT_EQ(button->currentBackgroundImage(), nullptr);
    button->setEnabled(false);
    EXPECT_EQ(button->currentBackgroundImage(), pressed);
    // Defaults without a colour of their own: white for custom, the tint for system buttons.
    EXPECT_EQ(UIButton::buttonWithType(UIButtonTypeCustom)->currentTitleColor(),
              UIColor::whiteColor());
    EXPECT_EQ(UIButton::buttonWithType(UIButtonTypeSystem)->currentTitleColor(),
              UIColor::colorWithRed(0, 122 / 255.0, 1, 1));
}

TEST(UIButtonDump, ReportsTitleColourStateAndImageName) {
    auto button = UIButton::buttonWithType(UIButtonTypeCustom);
    button->setFrame(CGRectMake(0, 0, 100, 40));
    button->setTitle("Download", UIControlStateNormal);
    button->setImage(solidImage("new32", 4, 4), UIControlStateNormal);
    button->setSelected(true);
    Json dump = button->dumpTree();
    EXPECT_EQ(dump.get("class")->asString(), "UIButton");
    EXPECT_EQ(dump.get("title")->asString(), "Download");
    EXPECT_EQ(dump.get("titleColor")->serialize(), "[255,255,255,1]");
    EXPECT_EQ(dump.get("enabled")->asBool(), true);
    EXPECT_EQ(dump.get("selected")->asBool(), true);
    EXPECT_EQ(dump.get("image")->asString(), "new32");
}

TEST(UIButtonLayout, TitleAndImageAreCentredTogether) {
    auto button = UIButton::buttonWithType(UIButtonTypeCustom);
    button->setFrame(CGRectMake(0, 0, 200, 44));
    button->setImage(solidImage("icon", 20, 20), UIControlStateNormal);
    button->setTitle("Go", UIControlStateNormal);
    button->layoutIfNeeded();
    CGRect image = button->imageView()->frame();
    CGRect title = button->titleLabel()->frame();
    EXPECT_EQ(image.size, CGSizeMake(20, 20));
    EXPECT_DOUBLE_EQ(image.maxX(), title.minX());
    EXPECT_NEAR(image.minX() - 0, 200 - title.maxX(), 1e-9);
    EXPECT_DOUBLE_EQ(image.midY(), 22);
}

// --- labels and measurement ---

TEST(UILabelSize, OneLineMatchesSizeWithFont) {
    auto label = UILabel::initWithFrame(CGRectMake(0, 0, 50, 20));
    label->setFont(UIFont::boldSystemFontOfSize(15));
    label->setText("Set As Current Tone?");
    CGSize expected = sizeWithFont("Set As Current Tone?", UIFont::boldSystemFontOfSize(15));
    EXPECT_GT(expected.width, 50);
    EXPECT_EQ(label->sizeThatFits(CGSizeMake(50, 20)), expected);
    label->sizeToFit();
    EXPECT_EQ(label->frame().size, expected);
    EXPECT_EQ(expected.width, std::ceil(expected.width)); // whole points
}

TEST(UILabelSize, ManyLinesWrapToTheWidth) {
    const std::string text = "Respring your device to make the selection take effect?";
    UIFont font = UIFont::systemFontOfSize(13);
    auto label = UILabel::initWithFrame(CGRectZero);
    label->setFont(font);
    label->setText(text);
    label->setNumberOfLines(0);
    CGSize wrapped = label->sizeThatFits(CGSizeMake(120, 0));
    CGSize expected = sizeWithFont(text, font, CGSizeMake(120, 10000), NSLineBreakByWordWrapping);
    EXPECT_EQ(wrapped, expected);
    EXPECT_LE(wrapped.width, 120);
    EXPECT_GE(wrapped.height, 2 * std::floor(font.lineHeight()));
    // Two lines at most.
    label->setNumberOfLines(2);
    CGSize two = label->sizeThatFits(CGSizeMake(120, 0));
    EXPECT_LT(two.height, wrapped.height);
    EXPECT_GE(two.height, std::floor(2 * font.lineHeight()));
}

TEST(NSStringDrawing, ConstrainedHeightKeepsWholeLinesAndAtLeastOne) {
    UIFont font = UIFont::systemFontOfSize(17);
    const std::string text = "one two three four five six seven eight nine ten";
    double line = font.lineHeight();
    CGSize oneLine =
        sizeWithFont(text, font, CGSizeMake(80, line * 1.5), NSLineBreakByWordWrapping);
    CGSize tiny = sizeWithFont(text, font, CGSizeMake(80, 1), NSLineBreakByWordWrapping);
    EXPECT_EQ(oneLine, tiny);
    EXPECT_LE(oneLine.height, std::ceil(line) + 1);
    EXPECT_EQ(sizeWithFont("", font), CGSizeMake(0, 0));
}

TEST(UILabelDump, KeysOfALabel) {
    auto label = UILabel::initWithFrame(CGRectMake(1, 2, 3, 4));
    Json absent = label->dumpTree();
    EXPECT_TRUE(absent.get("text")->isNull());
    label->setText("Notice");
    label->setFont(UIFont::italicSystemFontOfSize(14));
    label->setTextColor(UIColor::colorWithRed(0.5, 0, 1, 0.5));
    label->setTextAlignment(UITextAlignmentCenter);
    label->setNumberOfLines(2);
    Json dump = label->dumpTree(CGPointMake(10, 20));
    EXPECT_EQ(dump.get("text")->asString(), "Notice");
    EXPECT_EQ(dump.get("textColor")->serialize(), "[128,0,255,0.5]");
    EXPECT_EQ(dump.get("font")->serialize(), R"({"size":14,"bold":false,"italic":true})");
    EXPECT_EQ(dump.get("lines")->asNumber(), 2);
    EXPECT_EQ(dump.get("align")->asString(), "center");
    EXPECT_EQ(dump.get("frame")->serialize(), "[1,2,3,4]");
    EXPECT_EQ(dump.get("screen")->serialize(), "[11,22,3,4]");
    EXPECT_EQ(dump.get("title"), nullptr); // a button key does not apply
}

TEST(UIActivityIndicator, HiddenWhileStoppedUnlessTold) {
    auto spinner =
        UIActivityIndicatorView::initWithActivityIndicatorStyle(UIActivityIndicatorViewStyleGray);
    EXPECT_EQ(spinner->frame().size, CGSizeMake(20, 20));
    EXPECT_TRUE(spinner->isHidden());
    spinner->startAnimating();
    EXPECT_TRUE(spinner->isAnimating());
    EXPECT_FALSE(spinner->isHidden());
    EXPECT_EQ(spinner->dumpTree().get("animating")->asBool(), true);
    spinner->stopAnimating();
    EXPECT_TRUE(spinner->isHidden());
    spinner->setHidesWhenStopped(false);
    EXPECT_FALSE(spinner->isHidden());
    spinner->startAnimating();
    spinner->stopAnimating();
    EXPECT_FALSE(spinner->isHidden());
    EXPECT_EQ(UIActivityIndicatorView::initWithActivityIndicatorStyle(
                  UIActivityIndicatorViewStyleWhiteLarge)
                  ->frame()
                  .size,
              CGSizeMake(37, 37));
}

} // namespace
