#include "host/PointerInput.h"

#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UIWindow.h"

#include <gtest/gtest.h>

namespace {

class PointerInput : public testing::Test {
protected:
    void SetUp() override {
        window_ = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
        scroll_ = UIScrollView::initWithFrame(CGRectMake(0, 100, 320, 300));
        scroll_->setContentSize(CGSizeMake(320, 2000));
        inner_ = UIView::initWithFrame(CGRectMake(0, 0, 320, 50));
        scroll_->addSubview(inner_);
        window_->addSubview(scroll_);
        window_->makeKeyAndVisible();
    }
    void TearDown() override { window_->setHidden(true); }

    std::shared_ptr<UIWindow> window_;
    std::shared_ptr<UIScrollView> scroll_;
    std::shared_ptr<UIView> inner_;
};

TEST_F(PointerInput, WheelScrollsTheScrollViewUnderThePointer) {
    // Over a subview of the scroll view: the scroll view above it takes the wheel.
    EXPECT_TRUE(host::wheelScroll(CGPointMake(100, 120), 40));
    EXPECT_DOUBLE_EQ(scroll_->contentOffset().y, 40);
    EXPECT_TRUE(host::wheelScroll(CGPointMake(100, 300), -15));
    EXPECT_DOUBLE_EQ(scroll_->contentOffset().y, 25);
}

TEST_F(PointerInput, WheelElsewhereOrOnADisabledViewDoesNothing) {
    EXPECT_FALSE(host::wheelScroll(CGPointMake(100, 50), 40));
    scroll_->setScrollEnabled(false);
    EXPECT_FALSE(host::wheelScroll(CGPointMake(100, 200), 40));
    EXPECT_DOUBLE_EQ(scroll_->contentOffset().y, 0);
}

TEST_F(PointerInput, WheelWaitsWhileAFingerIsDown) {
    host::fingerTouch(UITouchPhaseBegan, CGPointMake(100, 200));
    EXPECT_FALSE(host::wheelScroll(CGPointMake(100, 200), 40));
    host::fingerTouch(UITouchPhaseEnded, CGPointMake(100, 200));
    EXPECT_TRUE(host::wheelScroll(CGPointMake(100, 200), 40));
}

} // namespace
