#include "platform/uikit/UIControl.h"
#include "platform/uikit/UISwitch.h"
#include "platform/uikit/UIWindow.h"

#include <gtest/gtest.h>

namespace {

struct Recorder {
    std::vector<std::string> log;
    void down(std::shared_ptr<UIControl> sender) { log.push_back(sender ? "down" : "down?"); }
    void upInside() { log.push_back("up-inside"); }
    void upOutside() { log.push_back("up-outside"); }
    void cancel() { log.push_back("cancel"); }
    void first() { log.push_back("first"); }
    void second() { log.push_back("second"); }
    void changed(std::shared_ptr<UISwitch> sw) {
        log.push_back(sw ? (sw->isOn() ? "on" : "off") : "not a switch");
    }
};

// A window with one control at (100, 100, 80, 30), touched through the window's dispatch.
class ControlTouches : public testing::Test {
protected:
    void SetUp() override {
        window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
        control = UIControl::initWithFrame(CGRectMake(100, 100, 80, 30));
        window->addSubview(control);
        rec = std::make_shared<Recorder>();
        control->addTarget(rec, &Recorder::down, UIControlEventTouchDown);
        control->addTarget(rec, &Recorder::upInside, UIControlEventTouchUpInside);
        control->addTarget(rec, &Recorder::upOutside, UIControlEventTouchUpOutside);
        control->addTarget(rec, &Recorder::cancel, UIControlEventTouchCancel);
    }
    void tap(CGPoint p) {
        window->sendTouch(UITouchPhaseBegan, p);
        window->sendTouch(UITouchPhaseEnded, p);
    }

    std::shared_ptr<UIWindow> window;
    std::shared_ptr<UIControl> control;
    std::shared_ptr<Recorder> rec;
};

using Log = std::vector<std::string>;

TEST_F(ControlTouches, TapSendsDownThenUpInside) {
    tap(CGPointMake(110, 110));
    EXPECT_EQ(rec->log, (Log{"down", "up-inside"}));
    EXPECT_FALSE(control->isHighlighted());
}

TEST_F(ControlTouches, HighlightedWhileTouched) {
    window->sendTouch(UITouchPhaseBegan, CGPointMake(110, 110));
    EXPECT_TRUE(control->isHighlighted());
    EXPECT_EQ(control->state(), UIControlStateHighlighted);
    window->sendTouch(UITouchPhaseMoved, CGPointMake(110, 300)); // far outside the slop
    EXPECT_FALSE(control->isHighlighted());
    window->sendTouch(UITouchPhaseMoved, CGPointMake(110, 110));
    EXPECT_TRUE(control->isHighlighted());
    window->sendTouch(UITouchPhaseEnded, CGPointMake(110, 110));
    EXPECT_FALSE(control->isHighlighted());
}

struct ReleaseCase {
    CGPoint release;
    const char* expected;
};

class ControlRelease : public ControlTouches, public testing::WithParamInterface<ReleaseCase> {};

// The control spans x 100..180, y 100..130; a touch still counts within 70 pt around it.
TEST_P(ControlRelease, InsideIsTheBoundsWidenedBySlop) {
    window->sendTouch(UITouchPhaseBegan, CGPointMake(110, 110));
    window->sendTouch(UITouchPhaseMoved, GetParam().release);
    window->sendTouch(UITouchPhaseEnded, GetParam().release);
    EXPECT_EQ(rec->log, (Log{"down", GetParam().expected}));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ControlRelease,
    testing::Values(ReleaseCase{{150, 115}, "up-inside"}, ReleaseCase{{249, 115}, "up-inside"},
                    ReleaseCase{{250, 115}, "up-outside"}, ReleaseCase{{30, 30}, "up-inside"},
                    ReleaseCase{{29, 115}, "up-outside"}, ReleaseCase{{150, 199}, "up-inside"},
                    ReleaseCase{{150, 200}, "up-outside"}));

TEST_F(ControlTouches, CancelSendsNoUpEvent) {
    window->sendTouch(UITouchPhaseBegan, CGPointMake(110, 110));
    window->sendTouch(UITouchPhaseCancelled, CGPointMake(110, 110));
    EXPECT_EQ(rec->log, (Log{"down", "cancel"}));
    EXPECT_FALSE(control->isHighlighted());
}

TEST_F(ControlTouches, DisabledControlSendsNothing) {
    control->setEnabled(false);
    EXPECT_EQ(control->state(), UIControlStateDisabled);
    tap(CGPointMake(110, 110));
    EXPECT_TRUE(rec->log.empty());
    EXPECT_FALSE(control->isHighlighted());
}

TEST_F(ControlTouches, TargetThatIsGoneIsNotCalled) {
    auto other = std::make_shared<Recorder>();
    control->addTarget(other, &Recorder::first, UIControlEventTouchUpInside);
    std::weak_ptr<Recorder> gone = rec;
    rec.reset();
    ASSERT_TRUE(gone.expired());
    tap(CGPointMake(110, 110)); // must not touch the dead recorder
    EXPECT_EQ(other->log, (Log{"first"}));
}

TEST_F(ControlTouches, ActionsForOneEventRunInOrderAdded) {
    auto other = std::make_shared<Recorder>();
    control->addTarget(other, &Recorder::second, UIControlEventTouchUpInside);
    control->addTarget(other, &Recorder::first, UIControlEventTouchUpInside);
    control->sendActionsForControlEvents(UIControlEventTouchUpInside);
    EXPECT_EQ(other->log, (Log{"second", "first"}));
    EXPECT_EQ(rec->log, (Log{"up-inside"}));
}

TEST_F(ControlTouches, RemoveTargetDropsOnlyThoseEvents) {
    control->removeTarget(rec, UIControlEventTouchDown);
    tap(CGPointMake(110, 110));
    EXPECT_EQ(rec->log, (Log{"up-inside"}));
}

TEST_F(ControlTouches, PanningAncestorTakesOverADragAndCancelsTheControl) {
    struct Pannable : UIView {
        using UIView::UIView;
        bool handlesPan() const override { return true; }
        void panBegan(CGPoint start, CGPoint current) override { events.push_back("began"); }
        void panMoved(CGPoint current) override { events.push_back("moved"); }
        void panEnded(CGPoint current) override { events.push_back("ended"); }
        std::vector<std::string> events;
    };
    auto scroller = std::make_shared<Pannable>(CGRectMake(0, 0, 320, 400));
    window->addSubview(scroller);
    scroller->addSubview(control); // moves the control into the scroller
    window->sendTouch(UITouchPhaseBegan, CGPointMake(110, 110));
    window->sendTouch(UITouchPhaseMoved, CGPointMake(110, 120)); // 10 pt: not yet a drag
    EXPECT_TRUE(scroller->events.empty());
    window->sendTouch(UITouchPhaseMoved, CGPointMake(110, 121));
    window->sendTouch(UITouchPhaseMoved, CGPointMake(110, 150));
    window->sendTouch(UITouchPhaseEnded, CGPointMake(110, 150));
    EXPECT_EQ(rec->log, (Log{"down", "cancel"}));
    EXPECT_EQ(scroller->events, (Log{"began", "moved", "ended"}));
}

TEST(UISwitchTouches, TapFlipsAndSendsValueChangedButSetOnDoesNot) {
    auto window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
    auto sw = UISwitch::initWithFrame(CGRectMake(10, 10, 0, 0));
    EXPECT_EQ(sw->frame().size, CGSizeMake(51, 31));
    window->addSubview(sw);
    auto rec = std::make_shared<Recorder>();
    sw->addTarget(rec, &Recorder::changed, UIControlEventValueChanged);
    sw->setOn(true, false);
    EXPECT_TRUE(rec->log.empty());
    window->sendTouch(UITouchPhaseBegan, CGPointMake(20, 20));
    window->sendTouch(UITouchPhaseEnded, CGPointMake(20, 20));
    EXPECT_FALSE(sw->isOn());
    window->sendTouch(UITouchPhaseBegan, CGPointMake(20, 20));
    window->sendTouch(UITouchPhaseEnded, CGPointMake(20, 300)); // released outside: no change
    EXPECT_FALSE(sw->isOn());
    EXPECT_EQ(rec->log, (Log{"off"}));
}

} // namespace
