#pragma once
// What an alert tells its delegate; every operation is optional.
#include <memory>

class UIAlertView;

class UIAlertViewDelegate {
public:
    virtual ~UIAlertViewDelegate() = default;
    virtual void clickedButtonAtIndex(const std::shared_ptr<UIAlertView>& alertView,
                                      int buttonIndex) {}
    virtual void willDismissWithButtonIndex(const std::shared_ptr<UIAlertView>& alertView,
                                            int buttonIndex) {}
    virtual void didDismissWithButtonIndex(const std::shared_ptr<UIAlertView>& alertView,
                                           int buttonIndex) {}
};
