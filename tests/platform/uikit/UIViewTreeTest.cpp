#include "platform/foundation/RunLoop.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/UIWindow.h"

#include <gtest/gtest.h>

namespace {

std::shared_ptr<UIView> view(double x, double y, double w, double h) {
    return UIView::initWithFrame(CGRectMake(x, y, w, h));
}

TEST(UIViewGeometry, BoundsFollowFrameAndCenterMovesOrigin) {
    auto v = view(10, 20, 100, 50);
    EXPECT_EQ(v->bounds(), CGRectMake(0, 0, 100, 50));
    EXPECT_EQ(v->center(), CGPointMake(60, 45));
    v->setCenter(CGPointMake(100, 100));
    EXPECT_EQ(v->frame(), CGRectMake(50, 75, 100, 50));
    // A new bounds size keeps the centre.
    v->setBounds(CGRectMake(0, 0, 20, 10));
    EXPECT_EQ(v->frame(), CGRectMake(90, 95, 20, 10));
}

TEST(UIViewGeometry, ConversionsGoThroughSuperviewsAndBoundsOrigin) {
    auto window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
    auto a = view(10, 20, 200, 300);
    auto b = view(5, 7, 50, 50);
    auto c = view(100, 100, 10, 10);
    window->addSubview(a);
    a->addSubview(b);
    window->addSubview(c);

    EXPECT_EQ(b->convertPointToView(CGPointMake(1, 2), nullptr), CGPointMake(16, 29));
    EXPECT_EQ(b->convertPointFromView(CGPointMake(16, 29), nullptr), CGPointMake(1, 2));
    EXPECT_EQ(b->convertPointToView(CGPointMake(0, 0), c.get()), CGPointMake(-85, -73));
    EXPECT_EQ(c->convertPointFromView(CGPointMake(0, 0), b.get()), CGPointMake(-85, -73));
    EXPECT_EQ(b->convertRectToView(CGRectMake(1, 1, 3, 4), a.get()), CGRectMake(6, 8, 3, 4));

    // A scrolled superview (bounds origin moved) shifts what its subviews map to.
    a->setBounds(CGRectMake(0, 40, 200, 300));
    EXPECT_EQ(b->convertPointToView(CGPointMake(0, 0), nullptr), CGPointMake(15, -13));
    EXPECT_EQ(b->convertPointFromView(CGPointMake(15, -13), nullptr), CGPointMake(0, 0));
    UITouch touch{CGPointMake(20, -10), {}, true};
    EXPECT_EQ(touch.locationInView(*b), CGPointMake(5, 3));
}

TEST(UIViewHierarchy, AddingAViewWithASuperviewMovesIt) {
    auto first = view(0, 0, 10, 10);
    auto second = view(0, 0, 10, 10);
    auto child = view(0, 0, 1, 1);
    first->addSubview(child);
    second->addSubview(child);
    EXPECT_TRUE(first->subviews().empty());
    ASSERT_EQ(second->subviews().size(), 1u);
    EXPECT_EQ(child->superview(), second);
    EXPECT_TRUE(child->isDescendantOfView(second.get()));
    EXPECT_FALSE(child->isDescendantOfView(first.get()));
    // A view cannot become its own ancestor's subview.
    child->addSubview(second);
    EXPECT_EQ(second->superview(), nullptr);
}

TEST(UIViewHierarchy, OrderOperations) {
    auto parent = view(0, 0, 10, 10);
    auto a = view(0, 0, 1, 1), b = view(0, 0, 1, 1), c = view(0, 0, 1, 1);
    parent->addSubview(a);
    parent->addSubview(b);
    parent->addSubview(c);
    using List = std::vector<std::shared_ptr<UIView>>;
    parent->bringSubviewToFront(a);
    EXPECT_EQ(parent->subviews(), (List{b, c, a}));
    parent->sendSubviewToBack(a);
    EXPECT_EQ(parent->subviews(), (List{a, b, c}));
    parent->insertSubviewAtIndex(c, 1);
    EXPECT_EQ(parent->subviews(), (List{a, c, b}));
    parent->insertSubviewAtIndex(view(0, 0, 1, 1), 99); // past the end appends
    EXPECT_EQ(parent->subviews().size(), 4u);
    parent->addSubview(a); // adding again brings it to the front
    EXPECT_EQ(parent->subviews().back(), a);
    b->removeFromSuperview();
    EXPECT_EQ(parent->subviews().size(), 3u);
    EXPECT_EQ(b->superview(), nullptr);
}

TEST(UIViewHierarchy, WindowIsFoundThroughSuperviews) {
    auto window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
    auto a = view(0, 0, 10, 10);
    auto b = view(0, 0, 10, 10);
    a->addSubview(b);
    EXPECT_EQ(b->window(), nullptr);
    window->addSubview(a);
    EXPECT_EQ(b->window(), window.get());
    a->removeFromSuperview();
    EXPECT_EQ(b->window(), nullptr);
}

TEST(UIViewHierarchy, ViewWithTagSearchesSelfFirstThenDepthFirst) {
    auto root = view(0, 0, 10, 10);
    auto a = view(0, 0, 1, 1), a1 = view(0, 0, 1, 1), b = view(0, 0, 1, 1);
    root->addSubview(a);
    root->addSubview(b);
    a->addSubview(a1);
    a1->setTag(7);
    b->setTag(7);
    EXPECT_EQ(root->viewWithTag(7), a1); // depth-first: a's subtree before b
    root->setTag(7);
    EXPECT_EQ(root->viewWithTag(7), root);
    EXPECT_EQ(root->viewWithTag(8), nullptr);
    EXPECT_EQ(root->viewWithTag(0), a); // untagged views answer tag 0
}

class LayoutRecorder : public UIView {
public:
    LayoutRecorder(std::vector<std::string>* log, std::string name)
        : UIView(CGRectMake(0, 0, 10, 10)), log_(log), name_(std::move(name)) {}
    void layoutSubviews() override { log_->push_back(name_); }

private:
    std::vector<std::string>* log_;
    std::string name_;
};

TEST(UIViewLayout, LayoutPassRunsTopDownOnlyWhereNeeded) {
    std::vector<std::string> log;
    auto parent = std::make_shared<LayoutRecorder>(&log, "parent");
    auto child = std::make_shared<LayoutRecorder>(&log, "child");
    parent->addSubview(child);
    parent->layoutIfNeeded();
    EXPECT_EQ(log, (std::vector<std::string>{"parent", "child"}));
    log.clear();
    parent->layoutIfNeeded();
    EXPECT_TRUE(log.empty());
    child->setNeedsLayout();
    parent->layoutIfNeeded();
    EXPECT_EQ(log, (std::vector<std::string>{"child"}));
    log.clear();
    child->setFrame(CGRectMake(5, 5, 10, 10)); // a move alone needs no layout
    parent->layoutIfNeeded();
    EXPECT_TRUE(log.empty());
    child->setFrame(CGRectMake(5, 5, 20, 10));
    parent->layoutIfNeeded();
    EXPECT_EQ(log, (std::vector<std::string>{"child"}));
}

TEST(UIViewAnimation, AppliesAtOnceAndCompletesOnTheMainQueue) {
    auto v = view(0, 0, 10, 10);
    std::optional<bool> finished;
    UIView::animateWithDuration(
        0.3, [&] { v->setAlpha(0); }, [&](bool f) { finished = f; });
    EXPECT_EQ(v->alpha(), 0);
    EXPECT_FALSE(finished.has_value());
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return finished.has_value(); }, 5));
    EXPECT_EQ(finished, true);
}

// --- hit testing ---

struct HitCase {
    const char* name;
    std::function<void(UIView& front, UIView& back)> setup;
    CGPoint point;        // in the root's coordinates
    const char* expected; // "front", "back", "root", or "none"
};

class HitTestRules : public testing::TestWithParam<HitCase> {};

TEST_P(HitTestRules, FollowThePlatform) {
    const auto& c = GetParam();
    auto root = view(0, 0, 100, 100);
    auto back = view(10, 10, 50, 50);
    auto front = view(30, 30, 50, 50);
    root->addSubview(back);
    root->addSubview(front);
    c.setup(*front, *back);
    auto hit = root->hitTest(c.point);
    std::string got = !hit ? "none" : hit == front ? "front" : hit == back ? "back" : "root";
    if (hit && hit != front && hit != back && hit != root) {
        got = "descendant";
    }
    EXPECT_EQ(got, c.expected) << c.name;
}

const HitCase kHitCases[] = {
    {"front-most wins in overlap", [](UIView&, UIView&) {}, {40, 40}, "front"},
    {"only back covers", [](UIView&, UIView&) {}, {15, 15}, "back"},
    {"no subview covers", [](UIView&, UIView&) {}, {95, 5}, "root"},
    {"outside root", [](UIView&, UIView&) {}, {100, 50}, "none"},
    {"min edges inside", [](UIView&, UIView&) {}, {30, 30}, "front"},
    {"max edge outside", [](UIView&, UIView&) {}, {80, 50}, "root"},
    {"hidden front skipped", [](UIView& f, UIView&) { f.setHidden(true); }, {40, 40}, "back"},
    {"alpha below 0.01 skipped", [](UIView& f, UIView&) { f.setAlpha(0.009); }, {40, 40}, "back"},
    {"alpha 0.01 hit", [](UIView& f, UIView&) { f.setAlpha(0.01); }, {40, 40}, "front"},
    {"interaction off skipped",
     [](UIView& f, UIView&) { f.setUserInteractionEnabled(false); },
     {40, 40},
     "back"},
    {"interaction off hides subtree",
     [](UIView& f, UIView&) {
         f.setUserInteractionEnabled(false);
         f.addSubview(UIView::initWithFrame(CGRectMake(0, 0, 50, 50)));
     },
     {70, 70},
     "root"},
    {"subview answers for its area",
     [](UIView& f, UIView&) { f.addSubview(UIView::initWithFrame(CGRectMake(0, 0, 10, 10))); },
     {35, 35},
     "descendant"},
    {"subview outside its superview is unreachable even unclipped",
     [](UIView&, UIView& b) {
         b.setClipsToBounds(false);
         b.addSubview(UIView::initWithFrame(CGRectMake(-10, -10, 5, 5)));
     },
     {3, 3},
     "root"},
    {"clipping does not change hits inside",
     [](UIView& f, UIView&) { f.setClipsToBounds(true); },
     {40, 40},
     "front"},
};

INSTANTIATE_TEST_SUITE_P(Table, HitTestRules, testing::ValuesIn(kHitCases));

TEST(UIViewHitTest, ScrolledBoundsShiftSubviewHits) {
    auto root = view(0, 0, 100, 100);
    auto child = view(0, 50, 100, 20);
    root->addSubview(child);
    EXPECT_EQ(root->hitTest(CGPointMake(10, 55)), child);
    root->setBounds(CGRectMake(0, 40, 100, 100));         // scrolled down by 40
    EXPECT_EQ(root->hitTest(CGPointMake(10, 55)), child); // point is in bounds coordinates
    EXPECT_EQ(root->hitTest(CGPointMake(10, 45)), root);
    EXPECT_EQ(root->hitTest(CGPointMake(10, 5)), nullptr); // scrolled out of the bounds
}

} // namespace
