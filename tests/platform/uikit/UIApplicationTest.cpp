#include "platform/uikit/UIApplication.h"
#include "platform/foundation/NSNotificationCenter.h"
#include "platform/uikit/UIWindow.h"
#include "tests/support/TestDevice.h"

#include <gtest/gtest.h>

namespace {

struct Delegate : UIApplicationDelegate {
    std::vector<std::string>* log;
    explicit Delegate(std::vector<std::string>* l) : log(l) {}
    bool didFinishLaunchingWithOptions(const std::shared_ptr<UIApplication>& app,
                                       const Json& options) override {
        log->push_back(options.isNull() ? "launch" : "launch with options");
        return true;
    }
    void applicationDidBecomeActive(const std::shared_ptr<UIApplication>&) override {
        log->push_back("delegate active");
    }
    void applicationWillResignActive(const std::shared_ptr<UIApplication>&) override {
        log->push_back("delegate resign");
    }
};

class ApplicationTest : public testing::Test {
protected:
    void SetUp() override {
        app = UIApplication::sharedApplication();
        app->resetForTesting();
        observer = std::make_shared<int>(0);
        auto& center = NSNotificationCenter::defaultCenter();
        center.addObserver(observer, UIApplicationDidBecomeActiveNotification,
                           [this](const NSNotification&) { log.push_back("note active"); });
        center.addObserver(observer, UIApplicationWillResignActiveNotification,
                           [this](const NSNotification&) { log.push_back("note resign"); });
    }
    void TearDown() override {
        NSNotificationCenter::defaultCenter().removeObserver(observer);
        app->resetForTesting();
    }
    std::shared_ptr<UIApplication> app;
    std::shared_ptr<int> observer;
    std::vector<std::string> log;
};

TEST_F(ApplicationTest, LaunchThenBecomeActiveDelegateBeforeNotification) {
    app->launch(std::make_shared<Delegate>(&log));
    EXPECT_EQ(log, (std::vector<std::string>{"launch", "delegate active", "note active"}));
    EXPECT_EQ(app->applicationState(), UIApplicationStateActive);
}

TEST_F(ApplicationTest, ActiveNotificationsOnlyOnChange) {
    app->launch(std::make_shared<Delegate>(&log));
    log.clear();
    app->becomeActive(); // already active
    EXPECT_TRUE(log.empty());
    app->resignActive();
    app->resignActive();
    app->becomeActive();
    EXPECT_EQ(log, (std::vector<std::string>{"delegate resign", "note resign", "delegate active",
                                             "note active"}));
}

TEST_F(ApplicationTest, OpenURLIsHandedToTheDevice) {
    testsupport::TestDevice device;
    EXPECT_TRUE(app->openURL(NSURL::URLWithString("cydia://package/com.chimora.pro")));
    EXPECT_FALSE(app->openURL(NSURL::URLWithString("not a url")));
    EXPECT_EQ(device.device().urls(),
              (std::vector<std::string>{"cydia://package/com.chimora.pro"}));
    EXPECT_TRUE(app->canOpenURL(NSURL::URLWithString("http://127.0.0.1/")));
    EXPECT_FALSE(app->canOpenURL(NSURL::URLWithString("relative/path")));
    EXPECT_FALSE(app->canOpenURL(std::nullopt));
}

TEST_F(ApplicationTest, KeyWindowIsTheLastMadeKey) {
    auto first = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
    auto second = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
    first->makeKeyAndVisible();
    EXPECT_EQ(app->keyWindow(), first);
    second->makeKeyAndVisible();
    EXPECT_EQ(app->keyWindow(), second);
    EXPECT_TRUE(second->isKeyWindow());
    EXPECT_FALSE(first->isKeyWindow());
}

} // namespace
