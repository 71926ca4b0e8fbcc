#include "platform/uikit/UIApplication.h"

#include "platform/foundation/DeviceHost.h"
#include "platform/foundation/NSNotificationCenter.h"
#include "platform/foundation/RunLoop.h"
#include "platform/uikit/UIWindow.h"

#include <mutex>

std::shared_ptr<UIApplication> UIApplication::sharedApplication() {
    static std::shared_ptr<UIApplication> app;
    static std::once_flag once;
    std::call_once(once, [] { app = std::make_shared<UIApplication>(); });
    return app;
}

void UIApplication::setDelegate(std::shared_ptr<UIApplicationDelegate> delegate) {
    delegate_ = std::move(delegate);
}

std::shared_ptr<UIWindow> UIApplication::keyWindow() const {
    return UIWindow::keyWindow();
}

bool UIApplication::openURL(const std::optional<NSURL>& url) {
    if (!url || url->absoluteString().empty() || !platform::hasDeviceHost()) {
        return false;
    }
    platform::deviceHost().openURL(url->absoluteString());
    return true;
}

bool UIApplication::canOpenURL(const std::optional<NSURL>& url) const {
    return url && !url->scheme().empty();
}

void UIApplication::launch(std::shared_ptr<UIApplicationDelegate> delegate) {
    setDelegate(std::move(delegate));
    auto self = shared_from_this();
    if (delegate_) {
        delegate_->didFinishLaunchingWithOptions(self, Json::null());
    }
    becomeActive();
}

void UIApplication::becomeActive() {
    if (state_ == UIApplicationStateActive) {
        return;
    }
    state_ = UIApplicationStateActive;
    auto self = shared_from_this();
    if (delegate_) {
        delegate_->applicationDidBecomeActive(self);
    }
    NSNotificationCenter::defaultCenter().postNotificationName(
        UIApplicationDidBecomeActiveNotification, self);
    if (auto window = keyWindow()) {
        window->layoutIfNeeded();
    }
}

void UIApplication::resignActive() {
    if (state_ != UIApplicationStateActive) {
        return;
    }
    state_ = UIApplicationStateInactive;
    auto self = shared_from_this();
    if (delegate_) {
        delegate_->applicationWillResignActive(self);
    }
    NSNotificationCenter::defaultCenter().postNotificationName(
        UIApplicationWillResignActiveNotification, self);
}

void UIApplication::resetForTesting() {
    delegate_.reset();
    state_ = UIApplicationStateInactive;
}

int UIApplicationMain(int argc, char** argv, const std::string& principalClassName,
                      const std::function<std::shared_ptr<UIApplicationDelegate>()>& makeDelegate) {
    auto app = UIApplication::sharedApplication();
    app->launch(makeDelegate ? makeDelegate() : nullptr);
    RunLoop::main().run();
    return 0;
}
