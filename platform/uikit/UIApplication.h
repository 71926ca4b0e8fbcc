#pragma once
// The running application: its delegate, its key window, the active state and the system's
// URL opener. One per process, main thread only.
#include "platform/foundation/NSURL.h"
#include "platform/uikit/UIApplicationDelegate.h"
#include <functional>
#include <memory>
#include <optional>
#include <string>

class UIWindow;

enum UIApplicationState : int {
    UIApplicationStateActive = 0,
    UIApplicationStateInactive = 1,
    UIApplicationStateBackground = 2,
};

class UIApplication : public UIResponder, public std::enable_shared_from_this<UIApplication> {
public:
    static std::shared_ptr<UIApplication> sharedApplication();

    // The application keeps its delegate alive, like the application loop on the device.
    std::shared_ptr<UIApplicationDelegate> delegate() const { return delegate_; }
    void setDelegate(std::shared_ptr<UIApplicationDelegate> delegate);

    std::shared_ptr<UIWindow> keyWindow() const;
    UIApplicationState applicationState() const { return state_; }

    // Hands the URL to the system (recorded by the host); false for no URL.
    bool openURL(const std::optional<NSURL>& url);
    // Whether some application would take the URL: any URL with a scheme.
    bool canOpenURL(const std::optional<NSURL>& url) const;

    // Launch: the delegate's didFinishLaunchingWithOptions, then becoming active. Does not run
    // the loop; the caller (UIApplicationMain or a driving host) does.
    void launch(std::shared_ptr<UIApplicationDelegate> delegate);
    // The delegate first, then the notification; nothing when already in that state.
    void becomeActive();
    void resignActive();

    UIResponder* nextResponder() const override { return delegate_.get(); }

    // Back to a fresh, unlaunched application (tests).
    void resetForTesting();

private:
    std::shared_ptr<UIApplicationDelegate> delegate_;
    UIApplicationState state_ = UIApplicationStateInactive;
};

// Creates the application and its delegate, launches, and runs the main loop until stopped.
int UIApplicationMain(int argc, char** argv, const std::string& principalClassName,
                      const std::function<std::shared_ptr<UIApplicationDelegate>()>& makeDelegate);
