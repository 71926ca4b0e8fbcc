#pragma once
// A button drawn as a small glossy pill: its colour as a top-lit gradient under a bold white
// title, with rounded corners and a thin darker border. Main thread only.
#include "platform/uikit/CALayer.h"
#include "platform/uikit/UIButton.h"

#include <memory>
#include <optional>

class GlossyButton : public UIButton {
public:
    static constexpr CGFloat kCornerRadius = 4;
    static constexpr CGFloat kBorderWidth = 1;
    static constexpr double kTitleFontSize = 12;

    explicit GlossyButton(CGRect frame = CGRectZero);
    static std::shared_ptr<GlossyButton> initWithFrame(CGRect frame) {
        return std::make_shared<GlossyButton>(frame);
    }

    // The navigation-bar button look filled with `color`; calling it again recolours.
    void setNavigationButtonWithColor(const UIColor& color);
    // The fill given last; absent before the first.
    const std::optional<UIColor>& tintColor() const { return tintColor_; }
    // The two ends of the gradient now drawn (darker while pressed).
    const std::shared_ptr<CAGradientLayer>& gradientLayer() const { return gradient_; }

    static UIColor glossTopColor(const UIColor& color);
    static UIColor glossBottomColor(const UIColor& color);
    static UIColor borderColorFor(const UIColor& color);

    void setFrame(CGRect frame) override;
    void setBounds(CGRect bounds) override;
    void layoutSubviews() override;
    std::string className() const override { return "GlossyButton"; }

protected:
    void stateDidChange() override;

private:
    void fitGradient();
    void applyColors();

    std::shared_ptr<CAGradientLayer> gradient_;
    std::optional<UIColor> tintColor_;
};
