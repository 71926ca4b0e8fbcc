#pragma once
// The application's delegate: builds the one window around the root tab bar controller and
// starts the outside services for the whole run.
#include "platform/uikit/UIApplicationDelegate.h"

#include <memory>

class UIWindow;

class AppDelegate : public UIApplicationDelegate {
public:
    std::shared_ptr<UIWindow> window() const { return window_; }
    void setWindow(std::shared_ptr<UIWindow> window) { window_ = std::move(window); }

    bool didFinishLaunchingWithOptions(const std::shared_ptr<UIApplication>& application,
                                       const Json& options) override;
    // Each tone list listens for becoming active itself; the delegate has nothing to do.
    void applicationWillResignActive(const std::shared_ptr<UIApplication>& application) override {}
    void applicationDidEnterBackground(const std::shared_ptr<UIApplication>& application) override {
    }
    void
    applicationWillEnterForeground(const std::shared_ptr<UIApplication>& application) override {}
    void applicationDidBecomeActive(const std::shared_ptr<UIApplication>& application) override {}
    void applicationWillTerminate(const std::shared_ptr<UIApplication>& application) override {}

private:
    std::shared_ptr<UIWindow> window_;
};
