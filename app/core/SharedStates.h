#pragma once
// The state the screens share: the root tab bar controller, the online configuration values
// the settings screen shows, and the prefetch switch. One object for the whole run.
#include "platform/uikit/UIAlertViewDelegate.h"
#include "platform/uikit/UIColor.h"

#include <memory>
#include <optional>
#include <string>

class UITabBarController;

class SharedStates : public std::enable_shared_from_this<SharedStates>, public UIAlertViewDelegate {
public:
    static constexpr const char* kPrefetchToggleOffKey = "prefetch_toggle_off";

    static std::shared_ptr<SharedStates> shared();

    static UIColor darkBarColor() {
        return UIColor::colorWithRed(23 / 255.0, 23 / 255.0, 34 / 255.0, 1);
    }
    static UIColor tabHighlightColor() {
        return UIColor::colorWithRed(88 / 255.0, 162 / 255.0, 48 / 255.0, 1);
    }

    // Built on the first call: Home, Categories, My Tones, Setting. Main thread only.
    std::shared_ptr<UITabBarController> getTabController();
    void configApperance(const std::shared_ptr<UITabBarController>& tabController);

    std::string getSharingText();
    std::optional<std::string> getBBSURLStr();
    std::string getRecommandedAppName();
    std::string getRecommandedAppDesc();
    std::optional<std::string> getRecommandedAppIconURL();
    std::string getRecommandedAppURL();

    void enablePrefetch(bool enabled);
    bool prefetchEnabled();

    // The alert offering a respring after an installation; this object is its delegate.
    void showRespringNotice(const std::string& message);
    void clickedButtonAtIndex(const std::shared_ptr<UIAlertView>& alertView,
                              int buttonIndex) override;

    // Tests only: the next getTabController assembles a new root (on the device it is made
    // once per run).
    void forgetTabControllerForTesting();

    SharedStates() = default; // use shared

private:
    std::shared_ptr<UITabBarController> tabController_;
};
