#include "app/core/AppDelegate.h"

#include "BuildConfig.h"
#include "app/core/SharedStates.h"
#include "platform/kits/SocialShare.h"
#include "platform/kits/UsageReport.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UITabBarController.h"
#include "platform/uikit/UIWindow.h"

bool AppDelegate::didFinishLaunchingWithOptions(const std::shared_ptr<UIApplication>& application,
                                                const Json& options) {
    setWindow(UIWindow::initWithFrame(UIScreen::mainScreen()->bounds()));
    // The first use of the shared states: the whole tab structure is built here.
    window_->setRootViewController(SharedStates::shared()->getTabController());
    window_->setBackgroundColor(UIColor::whiteColor());
    // On screen before any outside service is started.
    window_->makeKeyAndVisible();

    auto report = UsageReport::shared();
    report->start(BuildConfig::kAppKey, BuildConfig::kReportPolicy, BuildConfig::kChannelId);
    report->refreshOnlineConfig();

    SocialShare::shared()->setAppKey(BuildConfig::kAppKey);
    return true;
}
