#include "host/ScreenRenderer.h"
#include "tests/support/TestDevice.h"

#include "platform/uikit/UIWindow.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

uint32_t pixelAt(render::Canvas& canvas, int x, int y) {
    int w = 0, h = 0, stride = 0;
    const unsigned char* px = canvas.pixels(w, h, stride);
    return *reinterpret_cast<const uint32_t*>(px + static_cast<size_t>(y) * stride + x * 4);
}

// Pixels in the status bar rows whose red channel is beyond `threshold` on the given side.
int statusInk(render::Canvas& canvas, bool dark) {
    int w = 0, h = 0, stride = 0;
    canvas.pixels(w, h, stride);
    int n = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < w; ++x) {
            unsigned r = (pixelAt(canvas, x, y) >> 16) & 0xff;
            n += dark ? (r < 64) : (r > 192);
        }
    }
    return n;
}

class ScreenRendererFixture : public testing::Test {
protected:
    testsupport::TestDevice dev_;
    host::ScreenRenderer screen_{dev_.device().settings()};
};

TEST_F(ScreenRendererFixture, NoWindowIsABlackScreenWithALightStatusBar) {
    auto& canvas = screen_.render();
    EXPECT_EQ(pixelAt(canvas, 320, 600), 0xff000000u);
    EXPECT_GT(statusInk(canvas, false), 100);
}

TEST_F(ScreenRendererFixture, WindowsDrawBackToFrontUnderTheStatusBar) {
    auto back = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
    back->setBackgroundColor(UIColor::whiteColor());
    auto red = UIView::initWithFrame(CGRectMake(0, 100, 160, 100));
    red->setBackgroundColor(UIColor::redColor());
    back->addSubview(red);
    back->makeKeyAndVisible();
    auto front = UIWindow::initWithFrame(CGRectMake(160, 300, 160, 100));
    front->setBackgroundColor(UIColor::blueColor());
    front->makeKeyAndVisible();

    auto& canvas = screen_.render();
    EXPECT_EQ(pixelAt(canvas, 100, 300), 0xffff0000u);  // red view at (50, 150) pt
    EXPECT_EQ(pixelAt(canvas, 500, 700), 0xff0000ffu);  // front window, its own origin
    EXPECT_EQ(pixelAt(canvas, 500, 1000), 0xffffffffu); // back window elsewhere
    // Over white the status bar writes in black, and nothing light.
    EXPECT_GT(statusInk(canvas, true), 100);

    // A second frame starts clean: a view that went away leaves nothing behind.
    red->removeFromSuperview();
    EXPECT_EQ(pixelAt(screen_.render(), 100, 300), 0xffffffffu);

    back->setHidden(true);
    front->setHidden(true);
}

} // namespace
