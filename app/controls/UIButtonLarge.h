#pragma once
// A button with the touch area of UIControlLarge: its frame widened by four margins.
#include "platform/uikit/UIButton.h"

#include <memory>

class UIButtonLarge : public UIButton {
public:
    using UIButton::UIButton;
    static std::shared_ptr<UIButtonLarge> init();
    static std::shared_ptr<UIButtonLarge> initWithFrame(CGRect frame) {
        return std::make_shared<UIButtonLarge>(frame);
    }

    UIEdgeInsets mMarginInsets() const { return mMarginInsets_; }
    void setMMarginInsets(UIEdgeInsets insets) { mMarginInsets_ = insets; }

    std::shared_ptr<UIView> hitTest(CGPoint point) override;
    std::string className() const override { return "UIButtonLarge"; }

private:
    UIEdgeInsets mMarginInsets_{};
};
