#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UIWindow.h"

#include <gtest/gtest.h>

namespace {

struct ScrollLog : UIScrollViewDelegate {
    int scrolls = 0, begins = 0, ends = 0;
    void scrollViewDidScroll(const std::shared_ptr<UIScrollView>&) override { ++scrolls; }
    void scrollViewWillBeginDragging(const std::shared_ptr<UIScrollView>&) override { ++begins; }
    void scrollViewDidEndDragging(const std::shared_ptr<UIScrollView>&, bool) override { ++ends; }
};

class ScrollTest : public testing::Test {
protected:
    void SetUp() override {
        scroll = UIScrollView::initWithFrame(CGRectMake(0, 100, 320, 200));
        scroll->setContentSize(CGSizeMake(320, 1000));
        log = std::make_shared<ScrollLog>();
        scroll->setDelegate(log);
    }
    std::shared_ptr<UIScrollView> scroll;
    std::shared_ptr<ScrollLog> log;
};

TEST_F(ScrollTest, OffsetIsTheBoundsOriginAndMovesSubviews) {
    auto root = UIView::initWithFrame(CGRectMake(0, 0, 320, 568));
    root->addSubview(scroll);
    auto child = UIView::initWithFrame(CGRectMake(0, 300, 10, 10));
    scroll->addSubview(child);
    scroll->setContentOffset(CGPointMake(0, 250));
    EXPECT_EQ(scroll->bounds().origin, CGPointMake(0, 250));
    EXPECT_EQ(scroll->frame(), CGRectMake(0, 100, 320, 200));
    EXPECT_EQ(child->convertPointToView(CGPointMake(0, 0), nullptr), CGPointMake(0, 150));
    EXPECT_EQ(log->scrolls, 1);
    scroll->setContentOffset(CGPointMake(0, 250));
    EXPECT_EQ(log->scrolls, 1) << "no change, no news";
}

TEST_F(ScrollTest, CodeMayGoBeyondTheContentButTheWheelStopsAtItsEnds) {
    scroll->setContentOffset(CGPointMake(0, 5000));
    EXPECT_EQ(scroll->contentOffset().y, 5000);
    struct Case {
        CGFloat from, dy, expected;
    };
    const Case cases[] = {{0, 120, 120}, {0, -50, 0}, {700, 200, 800}, {790, 5, 795}};
    for (const auto& c : cases) {
        scroll->setContentOffset(CGPointMake(0, c.from));
        scroll->scrollBy(c.dy);
        EXPECT_EQ(scroll->contentOffset().y, c.expected) << c.from << " by " << c.dy;
    }
}

TEST_F(ScrollTest, InsetsWidenTheRange) {
    scroll->setContentInset(UIEdgeInsetsMake(64, 0, 49, 0));
    EXPECT_EQ(scroll->minimumContentOffset(), CGPointMake(0, -64));
    EXPECT_EQ(scroll->maximumContentOffset(), CGPointMake(0, 1000 + 49 - 200));
}

TEST_F(ScrollTest, ShortContentDoesNotScroll) {
    scroll->setContentSize(CGSizeMake(320, 50));
    scroll->scrollBy(100);
    EXPECT_EQ(scroll->contentOffset().y, 0);
}

TEST_F(ScrollTest, DisabledScrollingIgnoresTheWheelAndDrags) {
    scroll->setScrollEnabled(false);
    EXPECT_FALSE(scroll->handlesPan());
    scroll->scrollBy(100);
    EXPECT_EQ(scroll->contentOffset().y, 0);
}

TEST_F(ScrollTest, WindowDragMovesTheContentWithTheFinger) {
    auto window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
    window->addSubview(scroll);
    auto button = UIView::initWithFrame(CGRectMake(0, 0, 320, 1000));
    scroll->addSubview(button);
    window->sendTouch(UITouchPhaseBegan, CGPointMake(100, 250));
    window->sendTouch(UITouchPhaseMoved, CGPointMake(100, 245)); // within the slop
    EXPECT_EQ(scroll->contentOffset().y, 0);
    window->sendTouch(UITouchPhaseMoved, CGPointMake(100, 170));
    EXPECT_TRUE(scroll->isDragging());
    EXPECT_EQ(scroll->contentOffset().y, 80);
    window->sendTouch(UITouchPhaseEnded, CGPointMake(100, 150));
    EXPECT_EQ(scroll->contentOffset().y, 100);
    EXPECT_FALSE(scroll->isDragging());
    EXPECT_EQ(log->begins, 1);
    EXPECT_EQ(log->ends, 1);
}

} // namespace
