#include "platform/kits/GlossyButton.h"
#include "platform/render/Canvas.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

UIColor rgb(int r, int g, int b) {
    return UIColor::colorWithRed(r / 255.0, g / 255.0, b / 255.0, 1);
}

double lightness(const UIColor& c) {
    return c.red + c.green + c.blue;
}

struct Pixel {
    int r, g, b, a;
};

// One pixel of a scale-1 rendering (ARGB32 premultiplied; opaque here).
Pixel pixelAt(render::Canvas& canvas, int x, int y) {
    int w = 0, h = 0, stride = 0;
    const unsigned char* data = canvas.pixels(w, h, stride);
    uint32_t v = 0;
    std::memcpy(&v, data + y * stride + x * 4, 4);
    return {static_cast<int>((v >> 16) & 255), static_cast<int>((v >> 8) & 255),
            static_cast<int>(v & 255), static_cast<int>(v >> 24)};
}

TEST(GlossyButtonTest, TheNavigationLookIsTheStatedOne) {
    auto button = GlossyButton::initWithFrame(CGRectMake(260, 27, 55, 25));
    const UIColor green = rgb(88, 162, 48);
    button->setNavigationButtonWithColor(green);

    ASSERT_TRUE(button->tintColor());
    EXPECT_EQ(*button->tintColor(), green);
    EXPECT_EQ(button->layer()->cornerRadius(), 4);
    EXPECT_EQ(button->layer()->borderWidth(), 1);
    EXPECT_EQ(button->layer()->borderColor(), GlossyButton::borderColorFor(green));
    EXPECT_LT(lightness(button->layer()->borderColor()), lightness(green));
    const UIFont font = button->titleLabel()->font();
    EXPECT_EQ(font.pointSize, 12);
    EXPECT_TRUE(font.bold);
    EXPECT_EQ(button->titleColorForState(UIControlStateNormal), UIColor::whiteColor());

    const auto& colors = button->gradientLayer()->colors();
    ASSERT_EQ(colors.size(), 2u);
    // Lit from above: a lighter top, a bottom close to the colour itself.
    EXPECT_GT(lightness(colors[0]), lightness(green));
    EXPECT_LE(lightness(colors[1]), lightness(green));
    EXPECT_GT(colors[1].green, colors[1].red); // still green
    EXPECT_EQ(button->gradientLayer()->cornerRadius(), 4);
}

TEST(GlossyButtonTest, WithoutAColourThereIsNoFill) {
    auto button = GlossyButton::initWithFrame(CGRectMake(0, 0, 55, 25));
    EXPECT_FALSE(button->tintColor());
    EXPECT_TRUE(button->gradientLayer()->colors().empty());
    EXPECT_EQ(button->layer()->borderWidth(), 0);
}

TEST(GlossyButtonTest, RecolouringReplacesTheFill) {
    auto button = GlossyButton::initWithFrame(CGRectMake(0, 0, 55, 25));
    button->setNavigationButtonWithColor(UIColor::grayColor());
    button->setNavigationButtonWithColor(rgb(236, 83, 83));
    const auto& colors = button->gradientLayer()->colors();
    ASSERT_EQ(colors.size(), 2u);
    EXPECT_EQ(colors[0], GlossyButton::glossTopColor(rgb(236, 83, 83)));
    EXPECT_EQ(colors[1], GlossyButton::glossBottomColor(rgb(236, 83, 83)));
}

TEST(GlossyButtonTest, TheFillFollowsTheButtonsSize) {
    auto button = GlossyButton::initWithFrame(CGRectMake(10, 10, 55, 25));
    button->setNavigationButtonWithColor(UIColor::grayColor());
    EXPECT_EQ(button->gradientLayer()->frame(), CGRectMake(0, 0, 55, 25));
    button->setFrame(CGRectMake(0, 0, 100, 40));
    EXPECT_EQ(button->gradientLayer()->frame(), CGRectMake(0, 0, 100, 40));
}

TEST(GlossyButtonTest, PressingDarkensAndReleasingRestores) {
    auto button = GlossyButton::initWithFrame(CGRectMake(0, 0, 55, 25));
    const UIColor orange = rgb(255, 118, 42);
    button->setNavigationButtonWithColor(orange);
    const auto normal = button->gradientLayer()->colors();
    button->setHighlighted(true);
    const auto pressed = button->gradientLayer()->colors();
    ASSERT_EQ(pressed.size(), 2u);
    EXPECT_LT(lightness(pressed[0]), lightness(normal[0]));
    button->setHighlighted(false);
    EXPECT_EQ(button->gradientLayer()->colors(), normal);
}

TEST(GlossyButtonTest, DrawsTheGradientUnderTheTitle) {
    auto button = GlossyButton::initWithFrame(CGRectMake(0, 0, 60, 30));
    button->setNavigationButtonWithColor(rgb(236, 83, 83));
    auto canvas = render::Canvas::create(60, 30, 1);
    button->renderTree(*canvas);
    const Pixel top = pixelAt(*canvas, 3, 3);
    const Pixel bottom = pixelAt(*canvas, 3, 26);
    EXPECT_EQ(top.a, 255);
    EXPECT_GT(top.r + top.g + top.b, bottom.r + bottom.g + bottom.b);
    EXPECT_GT(bottom.r, bottom.g + 60); // red stays red
    const Pixel corner = pixelAt(*canvas, 0, 0);
    EXPECT_LT(corner.a, 255); // rounded corner
}

} // namespace
