#pragma once
// A control that answers touches in its frame widened by four margins (a negative margin
// pulls that edge in). The touch goes to the control itself, never to a subview.
#include "platform/uikit/UIControl.h"

#include <memory>

class UIControlLarge : public UIControl {
public:
    using UIControl::UIControl;
    static std::shared_ptr<UIControlLarge> init();
    static std::shared_ptr<UIControlLarge> initWithFrame(CGRect frame) {
        return std::make_shared<UIControlLarge>(frame);
    }

    UIEdgeInsets mMarginInsets() const { return mMarginInsets_; }
    void setMMarginInsets(UIEdgeInsets insets) { mMarginInsets_ = insets; }

    // Left and top edges of the widened area belong to it, right and bottom ones do not.
    // Hidden, disabled or transparent controls answer the same way.
    static bool isInsideLargeArea(CGSize size, UIEdgeInsets margins, CGPoint point);

    std::shared_ptr<UIView> hitTest(CGPoint point) override;
    std::string className() const override { return "UIControlLarge"; }

private:
    UIEdgeInsets mMarginInsets_{};
};
