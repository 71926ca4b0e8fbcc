#include "app/core/SharedStates.h"
#include "platform/uikit/UIAlertView.h"
#include "platform/uikit/UIWindow.h"
#include "tests/support/TestDevice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testsupport::TestDevice;
using Commands = std::vector<std::string>;

const char* const kAsk = "Respring your device to make the selection take effect?";

class SharedStatesRespringTest : public testing::Test {
protected:
    void SetUp() override {
        window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
        window->makeKeyAndVisible();
    }

    std::shared_ptr<UIAlertView> shownAlert() const {
        for (const auto& overlay : window->overlays()) {
            if (auto alert = std::dynamic_pointer_cast<UIAlertView>(overlay)) {
                return alert;
            }
        }
        return nullptr;
    }

    void tap(const std::shared_ptr<UIView>& v) {
        ASSERT_TRUE(v);
        const CGRect r = v->convertRectToView(v->bounds(), nullptr);
        const CGPoint p = CGPointMake(r.midX(), r.midY());
        window->sendTouch(UITouchPhaseBegan, p);
        window->sendTouch(UITouchPhaseEnded, p);
    }

    TestDevice dev;
    std::shared_ptr<UIWindow> window;
};

TEST_F(SharedStatesRespringTest, TheAlertAsksWithTwoButtonsAndTag106) {
    SharedStates::shared()->showRespringNotice(kAsk);
    auto alert = shownAlert();
    ASSERT_TRUE(alert);
    EXPECT_TRUE(alert->isVisible());
    EXPECT_EQ(alert->title(), "Notice");
    EXPECT_EQ(alert->message(), kAsk);
    EXPECT_EQ(alert->tag(), 106);
    ASSERT_EQ(alert->numberOfButtons(), 2);
    EXPECT_EQ(alert->cancelButtonIndex(), 0);
    EXPECT_EQ(alert->buttonTitleAtIndex(0), "Reboot myself later");
    EXPECT_EQ(alert->buttonTitleAtIndex(1), "Respring now");
    EXPECT_EQ(alert->delegate().get(),
              static_cast<UIAlertViewDelegate*>(SharedStates::shared().get()));
    EXPECT_TRUE(dev.device().commands().empty()) << "showing asks nothing of the device";
}

TEST(SharedStatesRespringLanguageTest, TheTextsFollowTheLanguageAndTheMessageIsTakenAsGiven) {
    TestDevice::Options options;
    options.settings.preferredLanguages = {"zh-Hans"};
    TestDevice dev(options);
    auto window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
    window->makeKeyAndVisible();
    SharedStates::shared()->showRespringNotice("already localized");
    ASSERT_EQ(window->overlays().size(), 1u);
    auto alert = std::dynamic_pointer_cast<UIAlertView>(window->overlays()[0]);
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), "提示");
    EXPECT_EQ(alert->message(), "already localized");
    EXPECT_EQ(alert->buttonTitleAtIndex(0), "稍后自己重启");
    EXPECT_EQ(alert->buttonTitleAtIndex(1), "立即重启桌面");
}

TEST_F(SharedStatesRespringTest, TappingRespringNowAsksTheDeviceToRestartTheHomeScreen) {
    SharedStates::shared()->showRespringNotice(kAsk);
    auto alert = shownAlert();
    ASSERT_TRUE(alert);
    tap(alert->buttonAtIndex(1));
    EXPECT_EQ(dev.device().commands(), Commands{"killall SpringBoard"});
    EXPECT_FALSE(alert->isVisible());
}

TEST_F(SharedStatesRespringTest, TappingLaterDoesNothing) {
    SharedStates::shared()->showRespringNotice(kAsk);
    auto alert = shownAlert();
    ASSERT_TRUE(alert);
    tap(alert->buttonAtIndex(0));
    EXPECT_TRUE(dev.device().commands().empty());
    EXPECT_FALSE(alert->isVisible());
}

struct ClickCase {
    int tag;
    int index;
    bool respring;
};

TEST_F(SharedStatesRespringTest, OnlyTheSecondButtonOfAnAlertTagged106Resprings) {
    const ClickCase cases[] = {
        {106, 1, true},   {106, 0, false}, {106, 2, false},
        {106, -1, false}, {105, 1, false}, {0, 1, false},
    };
    auto states = SharedStates::shared();
    for (const auto& c : cases) {
        dev.device().clearRecords();
        auto alert = UIAlertView::initWithTitle("t", "m", {}, std::string("a"), {"b", "c"});
        alert->setTag(c.tag);
        states->clickedButtonAtIndex(alert, c.index);
        EXPECT_EQ(dev.device().commands(),
                  c.respring ? Commands{"killall SpringBoard"} : Commands{})
            << c.tag << ":" << c.index;
    }
    dev.device().clearRecords();
    states->clickedButtonAtIndex(nullptr, 1);
    EXPECT_TRUE(dev.device().commands().empty());
}

} // namespace
