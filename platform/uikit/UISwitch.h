#pragma once
// An on/off switch of the device's fixed size; a tap flips it and sends value-changed.
#include "platform/uikit/UIControl.h"

class UISwitch : public UIControl {
public:
    UISwitch() : UISwitch(CGRectZero) {}
    explicit UISwitch(CGRect frame);
    static std::shared_ptr<UISwitch> initWithFrame(CGRect frame) {
        return std::make_shared<UISwitch>(frame);
    }

    bool isOn() const { return on_; }
    // Sends no action: only the user's tap does.
    void setOn(bool on, bool animated = false) { on_ = on; }
    const UIColor& onTintColor() const { return onTint_; }
    void setOnTintColor(const UIColor& c) { onTint_ = c; }

    // The size is fixed, whatever frame is given.
    void setFrame(CGRect frame) override;
    CGSize sizeThatFits(CGSize size) const override;
    void endTrackingWithTouch(UITouch& touch) override;
    void drawRect(render::Canvas& canvas, CGRect rect) const override;
    std::string className() const override { return "UISwitch"; }
    void describe(Json::Members& out) const override;

private:
    bool on_ = false;
    UIColor onTint_ = UIColor::colorWithRed(76 / 255.0, 217 / 255.0, 100 / 255.0, 1);
};
