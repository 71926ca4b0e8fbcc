#pragma once
// What an action sheet tells its delegate; every operation is optional.
#include <memory>

class UIActionSheet;

class UIActionSheetDelegate {
public:
    virtual ~UIActionSheetDelegate() = default;
    virtual void clickedButtonAtIndex(const std::shared_ptr<UIActionSheet>& actionSheet,
                                      int buttonIndex) {}
    virtual void willDismissWithButtonIndex(const std::shared_ptr<UIActionSheet>& actionSheet,
                                            int buttonIndex) {}
    virtual void didDismissWithButtonIndex(const std::shared_ptr<UIActionSheet>& actionSheet,
                                           int buttonIndex) {}
};
