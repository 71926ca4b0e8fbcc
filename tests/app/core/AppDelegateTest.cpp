#include "app/core/AppDelegate.h"

#include "BuildConfig.h"
#include "app/core/SharedStates.h"
#include "platform/foundation/RunLoop.h"
#include "platform/kits/SocialShare.h"
#include "platform/kits/UsageReport.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UITabBarController.h"
#include "platform/uikit/UIWindow.h"
#include "service/TestCatalogue.h"
#include "tests/support/TestDevice.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

class AppDelegateTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        catalogueOwner = std::make_unique<chimora::service::TestCatalogue>(1);
    }
    static void TearDownTestSuite() { catalogueOwner.reset(); }

    void SetUp() override {
        ASSERT_TRUE(catalogue.ok()) << catalogue.error();
        SharedStates::shared()->forgetTabControllerForTesting();
        UsageReport::resetSharedForTesting();
        SocialShare::resetSharedForTesting();
        UsageReport::shared()->setReportURL(catalogue.reportURL());
        app = UIApplication::sharedApplication();
        app->resetForTesting();
    }
    void TearDown() override {
        RunLoop::main().runUntil([] { return RunLoop::main().isIdle(); }, 10);
        app->resetForTesting();
        UsageReport::resetSharedForTesting();
        SocialShare::resetSharedForTesting();
    }

    static std::unique_ptr<chimora::service::TestCatalogue> catalogueOwner;
    testsupport::TestDevice device;
    chimora::service::TestCatalogue& catalogue = *catalogueOwner;
    std::shared_ptr<UIApplication> app;
};

std::unique_ptr<chimora::service::TestCatalogue> AppDelegateTest::catalogueOwner;

TEST_F(AppDelegateTest, LaunchShowsTheTabRootInTheKeyWindow) {
    auto delegate = std::make_shared<AppDelegate>();
    EXPECT_TRUE(delegate->didFinishLaunchingWithOptions(app, Json::null()));

    auto window = delegate->window();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->frame(), CGRectMake(0, 0, 320, 568));
    EXPECT_TRUE(window->isKeyWindow());
    EXPECT_FALSE(window->isHidden());
    EXPECT_EQ(window->backgroundColor(), UIColor::whiteColor());
    auto root = std::dynamic_pointer_cast<UITabBarController>(window->rootViewController());
    ASSERT_TRUE(root);
    EXPECT_EQ(root, SharedStates::shared()->getTabController());
    EXPECT_EQ(root->viewControllers().size(), 4u);
}

TEST_F(AppDelegateTest, LaunchStartsTheServicesWithoutWaitingForTheConfiguration) {
    catalogue.store().setConfig("UPID_SHARE_TEXT_EN", "from the service");
    app->launch(std::make_shared<AppDelegate>());

    auto report = UsageReport::shared();
    EXPECT_TRUE(report->isStarted());
    EXPECT_EQ(report->appKey(), BuildConfig::kAppKey);
    EXPECT_EQ(report->reportPolicy(), 0);
    EXPECT_EQ(report->channelId(), BuildConfig::kChannelId);
    EXPECT_TRUE(std::regex_match(report->appKey(), std::regex("[0-9a-f]{24}")));
    EXPECT_TRUE(std::regex_match(report->channelId(), std::regex("[A-Za-z]{6}")));
    EXPECT_EQ(SocialShare::shared()->appKey(), BuildConfig::kAppKey);

    // The launch has returned while the parameters are still on their way.
    EXPECT_TRUE(report->isRefreshing());
    EXPECT_NE(SharedStates::shared()->getSharingText(), "from the service");
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return !report->isRefreshing(); }, 10));
    EXPECT_EQ(SharedStates::shared()->getSharingText(), "from the service");
}

TEST_F(AppDelegateTest, LaterEventsChangeNothing) {
    auto delegate = std::make_shared<AppDelegate>();
    app->launch(delegate);
    auto window = delegate->window();
    auto root = window->rootViewController();
    app->resignActive();
    app->becomeActive();
    delegate->applicationDidEnterBackground(app);
    delegate->applicationWillEnterForeground(app);
    delegate->applicationWillTerminate(app);
    EXPECT_EQ(delegate->window(), window);
    EXPECT_EQ(window->rootViewController(), root);
    EXPECT_TRUE(window->isKeyWindow());
}

} // namespace
