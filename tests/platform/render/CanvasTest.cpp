#include "platform/render/Canvas.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

using render::Canvas;
using render::Color;
using render::Rect;

namespace {

// Pixel (x, y) of a canvas as 0xAARRGGBB (premultiplied).
uint32_t pixelAt(Canvas& canvas, int x, int y) {
    int w = 0, h = 0, stride = 0;
    const unsigned char* data = canvas.pixels(w, h, stride);
    EXPECT_TRUE(x >= 0 && x < w && y >= 0 && y < h);
    return *reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride + x * 4);
}
unsigned alphaAt(Canvas& c, int x, int y) {
    return pixelAt(c, x, y) >> 24;
}
unsigned redAt(Canvas& c, int x, int y) {
    return (pixelAt(c, x, y) >> 16) & 0xff;
}
unsigned blueAt(Canvas& c, int x, int y) {
    return pixelAt(c, x, y) & 0xff;
}

// Counts opaque-ish pixels in a pixel rectangle [x0, x1) × [y0, y1).
int inkIn(Canvas& c, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            n += alphaAt(c, x, y) > 0 ? 1 : 0;
        }
    }
    return n;
}

const Color kRed{1, 0, 0, 1};
const Color kBlue{0, 0, 1, 1};

TEST(Canvas, CreateMakesPixelsAtScaleAndRejectsEmptySizes) {
    auto canvas = Canvas::create(10, 6, 2);
    ASSERT_TRUE(canvas);
    int w = 0, h = 0, stride = 0;
    ASSERT_NE(canvas->pixels(w, h, stride), nullptr);
    EXPECT_EQ(w, 20);
    EXPECT_EQ(h, 12);
    EXPECT_GE(stride, 80);
    EXPECT_EQ(inkIn(*canvas, 0, 0, 20, 12), 0);
    EXPECT_FALSE(Canvas::create(0, 6, 2));
    EXPECT_FALSE(Canvas::create(10, -1, 2));
    EXPECT_FALSE(Canvas::create(10, 6, 0));
}

TEST(Canvas, FilledRectSetsExactlyItsPixelsAtScaleTwo) {
    auto canvas = Canvas::create(4, 4, 2);
    canvas->fillRect(Rect{1, 1, 2, 1.5}, kRed);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            bool inside = x >= 2 && x < 6 && y >= 2 && y < 5;
            SCOPED_TRACE(testing::Message() << x << "," << y);
            EXPECT_EQ(pixelAt(*canvas, x, y), inside ? 0xffff0000u : 0u);
        }
    }
}

TEST(Canvas, TranslateAndClipApplyInPoints) {
    auto canvas = Canvas::create(10, 10, 2);
    canvas->save();
    canvas->translate(5, 5);
    canvas->clipRect(Rect{0, 0, 2, 2});
    canvas->fillRect(Rect{-5, -5, 20, 20}, kRed);
    canvas->restore();
    EXPECT_EQ(inkIn(*canvas, 0, 0, 20, 20), 4 * 4);
    EXPECT_EQ(alphaAt(*canvas, 10, 10), 255u);
    EXPECT_EQ(alphaAt(*canvas, 14, 14), 0u);
    // After restore the clip is gone.
    canvas->fillRect(Rect{0, 0, 1, 1}, kBlue);
    EXPECT_EQ(blueAt(*canvas, 0, 0), 255u);
}

TEST(Canvas, RoundedCornersLeaveTheCornerEmpty) {
    auto canvas = Canvas::create(20, 20, 1);
    canvas->fillRect(Rect{0, 0, 20, 20}, kRed, 8);
    EXPECT_EQ(alphaAt(*canvas, 0, 0), 0u);
    EXPECT_EQ(alphaAt(*canvas, 19, 19), 0u);
    EXPECT_EQ(alphaAt(*canvas, 10, 10), 255u);
    EXPECT_EQ(alphaAt(*canvas, 10, 0), 255u);
}

TEST(Canvas, GradientRunsTopToBottom) {
    auto canvas = Canvas::create(4, 100, 1);
    canvas->fillGradient(Rect{0, 0, 4, 100}, kRed, kBlue);
    EXPECT_GT(redAt(*canvas, 1, 0), 245u);
    EXPECT_LT(blueAt(*canvas, 1, 0), 10u);
    EXPECT_GT(blueAt(*canvas, 1, 99), 245u);
    EXPECT_LT(redAt(*canvas, 1, 99), 10u);
    EXPECT_NEAR(static_cast<int>(redAt(*canvas, 1, 50)), 128, 8);
}

TEST(Canvas, GroupIsCompositedWithItsAlpha) {
    auto canvas = Canvas::create(4, 4, 1);
    canvas->beginGroup();
    canvas->fillRect(Rect{0, 0, 4, 4}, kRed);
    canvas->fillRect(Rect{0, 0, 2, 4}, kBlue); // overlaps inside the group: no mixing
    canvas->endGroup(0.5);
    EXPECT_NEAR(static_cast<int>(alphaAt(*canvas, 0, 0)), 128, 2);
    EXPECT_NEAR(static_cast<int>(blueAt(*canvas, 0, 0)), 128, 2);
    EXPECT_EQ(redAt(*canvas, 0, 0), 0u);
    EXPECT_NEAR(static_cast<int>(redAt(*canvas, 3, 0)), 128, 2);
}

TEST(Canvas, StrokeStaysInsideTheRect) {
    auto canvas = Canvas::create(10, 10, 2);
    canvas->strokeRect(Rect{2, 2, 6, 6}, kRed, 1);
    EXPECT_EQ(alphaAt(*canvas, 4, 4), 255u); // on the border (inside edge)
    EXPECT_EQ(alphaAt(*canvas, 3, 3), 0u);   // just outside
    EXPECT_EQ(alphaAt(*canvas, 10, 10), 0u); // centre is hollow
    EXPECT_EQ(alphaAt(*canvas, 15, 15), 255u);
    EXPECT_EQ(alphaAt(*canvas, 16, 16), 0u);
}

TEST(Canvas, LinesAndCircles) {
    auto canvas = Canvas::create(20, 20, 1);
    canvas->drawLine(0, 5, 20, 5, kRed, 2);
    EXPECT_EQ(alphaAt(*canvas, 10, 4), 255u);
    EXPECT_EQ(alphaAt(*canvas, 10, 7), 0u);
    canvas->fillCircle(10, 14, 4, kBlue);
    EXPECT_EQ(blueAt(*canvas, 10, 14), 255u);
    EXPECT_EQ(alphaAt(*canvas, 6, 10), 0u); // bounding-box corner, outside the circle
}

TEST(Canvas, ShadowIsOffsetAndSoft) {
    auto canvas = Canvas::create(60, 60, 2);
    canvas->drawShadow(Rect{10, 10, 20, 20}, 0, Color{0, 0, 0, 1}, 10, 10, 4, 1);
    // Centre of the offset shape: fully dark; the unshifted corner: nothing.
    EXPECT_GT(alphaAt(*canvas, 60, 60), 240u);
    EXPECT_EQ(alphaAt(*canvas, 22, 22), 0u);
    // Across the edge at x = 40 pt the shadow fades instead of stopping.
    unsigned inside = alphaAt(*canvas, 76, 60), edge = alphaAt(*canvas, 80, 60),
             outside = alphaAt(*canvas, 84, 60);
    EXPECT_GT(inside, edge);
    EXPECT_GT(edge, outside);
    EXPECT_GT(edge, 60u);
    EXPECT_LT(edge, 200u);
    // Opacity scales the darkness.
    auto faint = Canvas::create(60, 60, 2);
    faint->drawShadow(Rect{10, 10, 20, 20}, 0, Color{0, 0, 0, 1}, 10, 10, 4, 0.5);
    EXPECT_NEAR(static_cast<int>(alphaAt(*faint, 60, 60)), 128, 4);
}

TEST(Canvas, TextInksInsideItsRectOnly) {
    auto canvas = Canvas::create(200, 60, 2);
    canvas->drawText("Hello 你好", Rect{10, 10, 120, 30}, render::Font{17}, kRed,
                     render::TextAlign::Left, render::LineBreak::TruncateTail, 1);
    EXPECT_GT(inkIn(*canvas, 20, 20, 260, 80), 100);
    EXPECT_EQ(inkIn(*canvas, 0, 0, 400, 20), 0);
    EXPECT_EQ(inkIn(*canvas, 260, 0, 400, 120), 0);
    EXPECT_EQ(inkIn(*canvas, 0, 80, 400, 120), 0);
}

TEST(Canvas, TextAlignmentMovesTheInk) {
    struct Case {
        render::TextAlign align;
        int x0, x1; // pixel columns that must hold all of the ink
    };
    const Case cases[] = {{render::TextAlign::Left, 0, 120},
                          {render::TextAlign::Center, 140, 260},
                          {render::TextAlign::Right, 280, 400}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.align));
        auto canvas = Canvas::create(200, 30, 2);
        canvas->drawText("Tap", Rect{0, 0, 200, 30}, render::Font{15}, kRed, c.align,
                         render::LineBreak::WordWrap, 1);
        int total = inkIn(*canvas, 0, 0, 400, 60);
        EXPECT_GT(total, 50);
        EXPECT_EQ(inkIn(*canvas, c.x0, 0, c.x1, 60), total);
    }
}

TEST(Canvas, LinesPastTheLimitAreNotDrawn) {
    auto canvas = Canvas::create(100, 100, 1);
    double line = render::lineHeight(render::Font{15});
    canvas->drawText("one two three four five six seven eight nine ten", Rect{0, 0, 60, 100},
                     render::Font{15}, kRed, render::TextAlign::Left, render::LineBreak::WordWrap,
                     2);
    EXPECT_GT(inkIn(*canvas, 0, 0, 100, static_cast<int>(line)), 0);
    EXPECT_EQ(inkIn(*canvas, 0, static_cast<int>(2 * line) + 1, 100, 100), 0);
}

TEST(Canvas, ImageIsScaledIntoItsDestination) {
    render::Bitmap image;
    image.width = 2;
    image.height = 1;
    image.argb = {0xffff0000u, 0xff0000ffu};
    auto canvas = Canvas::create(20, 10, 1);
    canvas->drawImage(image, Rect{0, 0, 20, 10});
    EXPECT_EQ(pixelAt(*canvas, 1, 5), 0xffff0000u);
    EXPECT_EQ(pixelAt(*canvas, 18, 5), 0xff0000ffu);
    // A bitmap whose pixel vector is too short is ignored rather than overread.
    render::Bitmap broken;
    broken.width = 4;
    broken.height = 4;
    auto empty = Canvas::create(4, 4, 1);
    empty->drawImage(broken, Rect{0, 0, 4, 4});
    EXPECT_EQ(inkIn(*empty, 0, 0, 4, 4), 0);
}

} // namespace
