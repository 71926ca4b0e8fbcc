#pragma once
// The application's delegate: launch and the lifecycle events, each optional.
#include "platform/foundation/Json.h"
#include "platform/uikit/UIView.h"
#include <memory>

class UIApplication;

class UIApplicationDelegate : public UIResponder {
public:
    // `options` is null for an ordinary launch. Answering false does not stop the launch.
    virtual bool didFinishLaunchingWithOptions(const std::shared_ptr<UIApplication>& application,
                                               const Json& options) {
        return true;
    }
    virtual void applicationDidBecomeActive(const std::shared_ptr<UIApplication>& application) {}
    virtual void applicationWillResignActive(const std::shared_ptr<UIApplication>& application) {}
    virtual void applicationDidEnterBackground(const std::shared_ptr<UIApplication>& application) {}
    virtual void applicationWillEnterForeground(const std::shared_ptr<UIApplication>& application) {
    }
    virtual void applicationWillTerminate(const std::shared_ptr<UIApplication>& application) {}
};
