#include "platform/kits/NoticeOverlay.h"

#include "platform/foundation/NSTimer.h"
#include "platform/foundation/RunLoop.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIWindow.h"
#include "tests/support/TestDevice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct HideRecorder : NoticeOverlayDelegate {
    std::vector<std::string> hidden;
    void noticeOverlayWasHidden(const std::shared_ptr<NoticeOverlay>& overlay) override {
        hidden.push_back(overlay->caption());
    }
};

class NoticeOverlayTest : public testing::Test {
protected:
    void SetUp() override {
        window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
        window->makeKeyAndVisible();
        under = UIButton::initWithFrame(window->bounds());
        under->addTarget(counter, &Counter::tapped, UIControlEventTouchUpInside);
        window->addSubview(under);
    }

    std::shared_ptr<NoticeOverlay> showOver(const std::string& caption) {
        auto overlay = NoticeOverlay::create();
        window->addSubview(overlay);
        overlay->setCaption(caption);
        overlay->show();
        return overlay;
    }

    // Runs what the fired timer and the fade queued on the main thread.
    static void settle() {
        while (RunLoop::main().runOnce()) {
        }
    }

    struct Counter {
        int taps = 0;
        void tapped(std::shared_ptr<UIControl>) { ++taps; }
    };

    testsupport::TestDevice dev;
    std::shared_ptr<UIWindow> window;
    std::shared_ptr<UIButton> under;
    std::shared_ptr<Counter> counter = std::make_shared<Counter>();
};

TEST_F(NoticeOverlayTest, ShowsTheCaptionInABoxInTheMiddleOfItsSuperview) {
    auto overlay = showOver("Tone Selected Failure");
    EXPECT_TRUE(overlay->isShowing());
    EXPECT_EQ(overlay->superview(), window);
    EXPECT_EQ(overlay->frame(), window->bounds());

    auto box = overlay->box();
    EXPECT_FALSE(box->isHidden());
    EXPECT_NEAR(box->frame().midX(), 160, 0.5);
    EXPECT_NEAR(box->frame().midY(), 284, 0.5);
    EXPECT_EQ(overlay->captionLabel()->text(), "Tone Selected Failure");
    EXPECT_EQ(overlay->captionLabel()->superview(), box);
    CGRect label = overlay->captionLabel()->frame();
    EXPECT_GT(label.size.width, 0);
    EXPECT_LE(label.maxX(), box->bounds().maxX());
    EXPECT_LE(label.maxY(), box->bounds().maxY());
}

TEST_F(NoticeOverlayTest, ALongCaptionWrapsInsideTheScreen) {
    auto overlay = showOver(std::string(400, 'x') + " " + std::string(40, 'y'));
    CGRect box = overlay->box()->frame();
    EXPECT_GE(box.minX(), 0);
    EXPECT_LE(box.maxX(), 320);
    EXPECT_GT(overlay->captionLabel()->frame().size.height,
              overlay->captionLabel()->font().lineHeight() * 1.5);
}

TEST_F(NoticeOverlayTest, OpacityAndShadowShapeTheBox) {
    auto overlay = NoticeOverlay::create();
    overlay->setOpacity(0.6);
    overlay->setHasShadow(true);
    auto box = overlay->box();
    ASSERT_TRUE(box->backgroundColor());
    EXPECT_DOUBLE_EQ(box->backgroundColor()->alpha, 0.6);
    EXPECT_GT(box->layer()->shadowOpacity(), 0);
    EXPECT_TRUE(box->layer()->shadowColor());

    overlay->setHasShadow(false);
    EXPECT_EQ(box->layer()->shadowOpacity(), 0);
    overlay->setOpacity(1.7);
    EXPECT_DOUBLE_EQ(overlay->opacity(), 1.0);
}

TEST_F(NoticeOverlayTest, TouchesPassThroughOnlyWhenAskedTo) {
    auto overlay = showOver("hello");
    CGPoint middle = CGPointMake(160, 284);
    auto tap = [&] {
        window->sendTouch(UITouchPhaseBegan, middle);
        window->sendTouch(UITouchPhaseEnded, middle);
    };

    overlay->setTouches(NoticeTouches::Block);
    EXPECT_NE(window->hitTest(middle), under);
    tap();
    EXPECT_EQ(counter->taps, 0);

    overlay->setTouches(NoticeTouches::PassThrough);
    EXPECT_EQ(overlay->hitTest(CGPointMake(160, 284)), nullptr);
    EXPECT_EQ(window->hitTest(middle), under);
    tap();
    EXPECT_EQ(counter->taps, 1);
}

TEST_F(NoticeOverlayTest, HidesWhenItsTimerFiresAndTellsTheDelegate) {
    auto recorder = std::make_shared<HideRecorder>();
    auto overlay = showOver("bye");
    overlay->setDelegate(recorder);
    overlay->hideAfterDelay(2.0);
    auto timer = overlay->hideTimer();
    ASSERT_TRUE(timer);
    EXPECT_TRUE(timer->isValid());
    double remaining = timer->fireDate().timeIntervalSinceNow();
    EXPECT_GT(remaining, 1.5);
    EXPECT_LE(remaining, 2.0);

    settle(); // nothing is due yet
    EXPECT_EQ(overlay->superview(), window);

    timer->fire();
    settle();
    EXPECT_FALSE(overlay->isShowing());
    EXPECT_EQ(overlay->superview(), nullptr);
    EXPECT_EQ(recorder->hidden, std::vector<std::string>{"bye"});
    EXPECT_FALSE(overlay->hideTimer());
}

TEST_F(NoticeOverlayTest, ALaterDelayReplacesTheEarlierOne) {
    auto overlay = showOver("again");
    overlay->hideAfterDelay(1.0);
    auto first = overlay->hideTimer();
    overlay->hideAfterDelay(3.0);
    EXPECT_FALSE(first->isValid());
    EXPECT_GT(overlay->hideTimer()->fireDate().timeIntervalSinceNow(), 2.5);
}

TEST_F(NoticeOverlayTest, TheBoxShrinksByTheDisappearScaleAsItGoes) {
    struct Case {
        double factor;
        double expectedScale;
    };
    for (const Case& c : {Case{1.0, 1.0}, Case{0.5, 0.5}}) {
        auto overlay = showOver("scale");
        overlay->setDisappearScaleFactor(c.factor);
        CGRect shown = overlay->box()->frame();
        overlay->hide();
        CGRect gone = overlay->box()->frame();
        EXPECT_DOUBLE_EQ(gone.size.width, shown.size.width * c.expectedScale) << c.factor;
        EXPECT_DOUBLE_EQ(gone.size.height, shown.size.height * c.expectedScale) << c.factor;
        EXPECT_DOUBLE_EQ(gone.midX(), shown.midX()) << c.factor;
        EXPECT_DOUBLE_EQ(overlay->alpha(), 0) << c.factor;
        settle();
        EXPECT_EQ(overlay->superview(), nullptr) << c.factor;
    }
}

TEST_F(NoticeOverlayTest, EachNoticeIsItsOwnOverlayAndGoesOnItsOwn) {
    auto first = showOver("first");
    auto second = showOver("second");
    ASSERT_NE(first, second);
    auto& children = window->subviews();
    ASSERT_EQ(children.size(), 3u);
    EXPECT_EQ(children[1], first);
    EXPECT_EQ(children[2], second) << "the later notice stands over the earlier";

    first->hideAfterDelay(1);
    second->hideAfterDelay(1);
    first->hideTimer()->fire();
    settle();
    EXPECT_EQ(first->superview(), nullptr);
    EXPECT_EQ(second->superview(), window);
    EXPECT_TRUE(second->isShowing());
}

TEST_F(NoticeOverlayTest, WithoutASuperviewNothingShows) {
    auto overlay = NoticeOverlay::create();
    overlay->setCaption("nowhere");
    overlay->show();
    EXPECT_FALSE(overlay->isShowing());
    EXPECT_TRUE(overlay->box()->isHidden());
}

TEST_F(NoticeOverlayTest, AppearsInTheDumpAsAViewWithItsCaption) {
    showOver("dumped caption");
    const std::string dump = window->dumpTree().serialize();
    EXPECT_NE(dump.find("\"NoticeOverlay\""), std::string::npos) << dump;
    EXPECT_NE(dump.find("\"dumped caption\""), std::string::npos) << dump;
}

} // namespace
