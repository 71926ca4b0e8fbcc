#include "app/core/SharedStates.h"

#include "BuildConfig.h"
#include "app/core/LangSetting.h"
#include "app/screens/CategoryViewController.h"
#include "app/screens/MainViewController.h"
#include "app/screens/MyTonesController.h"
#include "app/screens/SettingViewController.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSUserDefaults.h"
#include "platform/foundation/UIDevice.h"
#include "platform/kits/UsageReport.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UITabBarController.h"
#include "platform/uikit/UITabBarItem.h"

#include <mutex>
#include <vector>

namespace {

std::string localized(const std::string& key) {
    return NSBundle::mainBundle()->localizedStringForKey(key, "", "");
}

// The key of the user's language: Simplified first, then Traditional, then the other one.
const char* keyForLanguage(const char* hans, const char* hant, const char* other) {
    if (LangSetting::isInitLanguageHans()) {
        return hans;
    }
    if (LangSetting::isInitLanguageHant()) {
        return hant;
    }
    return other;
}

std::optional<std::string> configParam(const std::string& key) {
    return UsageReport::shared()->configParam(key);
}

std::string nonEmptyOr(const std::optional<std::string>& value, const std::string& fallback) {
    return value && !value->empty() ? *value : fallback;
}

} // namespace

std::shared_ptr<SharedStates> SharedStates::shared() {
    static std::once_flag once;
    static std::shared_ptr<SharedStates> states;
    std::call_once(once, [] { states = std::make_shared<SharedStates>(); });
    return states;
}

std::shared_ptr<UITabBarController> SharedStates::getTabController() {
    if (tabController_) {
        return tabController_;
    }
    tabController_ = UITabBarController::init();

    struct Tab {
        std::string itemTitle;
        const char* image;
        std::shared_ptr<UIViewController> root;
        bool blackBar;
    };
    std::string home = localized("Home");
    std::string categories = localized("Categories");
    std::string setting = localized("Setting");
    std::vector<Tab> tabs;
    tabs.push_back({home, "home32", MainViewController::sharedWithTitle(home), false});
    tabs.push_back(
        {categories, "category32", CategoryViewController::initWithTitle(categories), true});
    // The tab reads "My" while its screen is titled "My Tones".
    tabs.push_back(
        {localized("My"), "my32", MyTonesController::initWithTitle(localized("My Tones")), true});
    tabs.push_back({setting, "setting32", SettingViewController::initWithTitle(setting), true});

    std::vector<std::shared_ptr<UIViewController>> stacks;
    for (auto& tab : tabs) {
        auto nav = UINavigationController::initWithRootViewController(tab.root);
        if (tab.blackBar) {
            nav->navigationBar()->setBarStyle(UIBarStyleBlack);
        }
        auto item = UITabBarItem::initWithTitle(tab.itemTitle, nullptr, 0);
        // A missing image leaves the item with its title alone.
        item->setImage(UIImage::imageNamed(tab.image));
        nav->setTabBarItem(item);
        stacks.push_back(nav);
    }
    tabController_->setViewControllers(std::move(stacks));
    tabController_->setSelectedIndex(0);
    configApperance(tabController_);
    return tabController_;
}

void SharedStates::configApperance(const std::shared_ptr<UITabBarController>& tabController) {
    if (!tabController) {
        return;
    }
    bool system7 = UIDevice::currentDevice()->systemVersionFloat() >= 7.0f;
    for (const auto& controller : tabController->viewControllers()) {
        auto nav = std::dynamic_pointer_cast<UINavigationController>(controller);
        if (!nav) {
            continue;
        }
        const auto& bar = nav->navigationBar();
        if (system7) {
            bar->setTintColor(UIColor::whiteColor());
            bar->setBarTintColor(darkBarColor());
            bar->setBarStyle(UIBarStyleBlack);
        } else {
            bar->setTintColor(darkBarColor());
        }
    }
    const auto& tabBar = tabController->tabBar();
    if (system7) {
        tabBar->setBarTintColor(darkBarColor());
        tabBar->setTintColor(tabHighlightColor());
    } else {
        tabBar->setTintColor(darkBarColor());
    }
}

std::string SharedStates::getSharingText() {
    auto value = configParam(
        keyForLanguage("UPID_SHARE_TEXT_HANS", "UPID_SHARE_TEXT_HANT", "UPID_SHARE_TEXT_EN"));
    return nonEmptyOr(value, localized("I am using Chimora to personalize the ringtones of my "
                                       "WeChat. You should also try it."));
}

std::optional<std::string> SharedStates::getBBSURLStr() {
    auto value =
        configParam(keyForLanguage("UPID_BBS_URL_Hans", "UPID_BBS_URL_Hant", "UPID_BBS_URL_En"));
    if (value && *value == "null") {
        return std::nullopt;
    }
    return value;
}

std::string SharedStates::getRecommandedAppName() {
    auto value = configParam(keyForLanguage("UPID_RECOMMANDED_APP_Name_Hans",
                                            "UPID_RECOMMANDED_APP_Name_Hant",
                                            "UPID_RECOMMANDED_APP_Name_En"));
    return nonEmptyOr(value, localized(BuildConfig::kRecommendedAppName));
}

std::string SharedStates::getRecommandedAppDesc() {
    auto value = configParam(keyForLanguage("UPID_RECOMMANDED_APP_DESC_Hans",
                                            "UPID_RECOMMANDED_APP_DESC_Hant",
                                            "UPID_RECOMMANDED_APP_DESC_En"));
    return nonEmptyOr(value, localized(BuildConfig::kRecommendedAppDesc));
}

std::optional<std::string> SharedStates::getRecommandedAppIconURL() {
    return configParam("UPID_RECOMMANDED_APP_ICON_URL");
}

std::string SharedStates::getRecommandedAppURL() {
    return nonEmptyOr(configParam("UPID_RECOMMANDED_APP_URL"), BuildConfig::kRecommendedAppURL);
}

void SharedStates::enablePrefetch(bool enabled) {
    auto defaults = NSUserDefaults::standardUserDefaults();
    defaults->setBool(!enabled, kPrefetchToggleOffKey);
    defaults->synchronize();
}

bool SharedStates::prefetchEnabled() {
    return !NSUserDefaults::standardUserDefaults()->boolForKey(kPrefetchToggleOffKey);
}

void SharedStates::forgetTabControllerForTesting() {
    tabController_.reset();
}
