#include "platform/uikit/UIWindow.h"
#include "platform/uikit/UIAlertView.h"
#include "platform/uikit/UIViewController.h"

#include <gtest/gtest.h>

namespace {

struct Screen : UIViewController {
    std::vector<std::string> events;
    void viewWillAppear(bool) override { events.push_back("will appear"); }
    void viewDidAppear(bool) override { events.push_back("did appear"); }
    void viewWillDisappear(bool) override { events.push_back("will disappear"); }
    void viewDidDisappear(bool) override { events.push_back("did disappear"); }
};

using Log = std::vector<std::string>;

TEST(UIWindowRoot, RootViewFillsTheWindowAndAppearsWhenShown) {
    auto window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
    auto first = std::make_shared<Screen>();
    window->setRootViewController(first);
    EXPECT_TRUE(first->events.empty()); // not on screen yet
    window->makeKeyAndVisible();
    EXPECT_EQ(first->events, (Log{"will appear", "did appear"}));
    EXPECT_EQ(first->view()->superview(), window);
    EXPECT_EQ(first->view()->frame(), window->bounds());

    auto second = std::make_shared<Screen>();
    window->setRootViewController(second);
    EXPECT_EQ(first->events, (Log{"will appear", "did appear", "will disappear", "did disappear"}));
    EXPECT_EQ(second->events, (Log{"will appear", "did appear"}));
    EXPECT_EQ(first->view()->superview(), nullptr);
    EXPECT_EQ(window->subviews().front(), second->view());
}

TEST(UIWindowRoot, RootGoesUnderAnOverlayShownBefore) {
    auto window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
    window->makeKeyAndVisible();
    auto alert = UIAlertView::initWithTitle("T", "M", {}, std::string("OK"));
    alert->show();
    auto screen = std::make_shared<Screen>();
    window->setRootViewController(screen);
    EXPECT_EQ(window->subviews().back(), alert);
    auto late = UIView::initWithFrame(window->bounds());
    window->addSubview(late);
    EXPECT_EQ(window->subviews().back(), alert); // overlays stay on top
}

struct Relayout : UIView {
    using UIView::UIView;
    int layouts = 0;
    void layoutSubviews() override { ++layouts; }
    void touchesEnded(UITouch&) override { setNeedsLayout(); }
};

TEST(UIWindowEvents, LayoutPassRunsAfterEachEvent) {
    auto window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
    auto v = std::make_shared<Relayout>(CGRectMake(0, 0, 100, 100));
    window->addSubview(v);
    window->layoutIfNeeded();
    ASSERT_EQ(v->layouts, 1);
    window->sendTouch(UITouchPhaseBegan, CGPointMake(10, 10));
    EXPECT_EQ(v->layouts, 1);
    window->sendTouch(UITouchPhaseEnded, CGPointMake(10, 10));
    EXPECT_EQ(v->layouts, 2);
}

TEST(UIWindowEvents, TouchesWithoutABeginAreIgnoredAndMissesHitNothing) {
    auto window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
    auto v = std::make_shared<Relayout>(CGRectMake(0, 0, 100, 100));
    window->addSubview(v);
    window->layoutIfNeeded();
    window->sendTouch(UITouchPhaseEnded, CGPointMake(10, 10));  // a release without a press
    window->sendTouch(UITouchPhaseBegan, CGPointMake(500, 10)); // off the window
    EXPECT_FALSE(window->isTracking());
    EXPECT_EQ(v->layouts, 1);
}

} // namespace
