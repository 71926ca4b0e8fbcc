#include "platform/kits/GlossyButton.h"

#include <algorithm>

namespace {

UIColor mix(const UIColor& color, double toward, double amount) {
    auto channel = [&](double v) { return std::clamp(v + (toward - v) * amount, 0.0, 1.0); };
    return UIColor::colorWithRed(channel(color.red), channel(color.green), channel(color.blue),
                                 color.alpha);
}

} // namespace

GlossyButton::GlossyButton(CGRect frame)
    : UIButton(frame, UIButtonTypeCustom), gradient_(CAGradientLayer::layer()) {
    gradient_->setCornerRadius(kCornerRadius);
    layer()->insertSublayer(gradient_, 0);
    fitGradient();
}

UIColor GlossyButton::glossTopColor(const UIColor& color) {
    return mix(color, 1.0, 0.35);
}

UIColor GlossyButton::glossBottomColor(const UIColor& color) {
    return mix(color, 0.0, 0.12);
}

UIColor GlossyButton::borderColorFor(const UIColor& color) {
    return mix(color, 0.0, 0.35);
}

void GlossyButton::setNavigationButtonWithColor(const UIColor& color) {
    tintColor_ = color;
    auto l = layer();
    l->setCornerRadius(kCornerRadius);
    l->setBorderWidth(kBorderWidth);
    l->setBorderColor(borderColorFor(color));
    titleLabel()->setFont(UIFont::boldSystemFontOfSize(kTitleFontSize));
    setTitleColor(UIColor::whiteColor(), UIControlStateNormal);
    applyColors();
}

void GlossyButton::applyColors() {
    if (!tintColor_) {
        gradient_->setColors({});
        return;
    }
    // Pressed, the light sinks: the same fill a shade darker and flatter.
    const UIColor base = isHighlighted() ? mix(*tintColor_, 0.0, 0.2) : *tintColor_;
    gradient_->setColors({glossTopColor(base), glossBottomColor(base)});
}

void GlossyButton::fitGradient() {
    const CGRect b = bounds();
    gradient_->setBounds(CGRectMake(0, 0, b.size.width, b.size.height));
    gradient_->setPosition(
        CGPointMake(b.origin.x + b.size.width / 2, b.origin.y + b.size.height / 2));
}

void GlossyButton::setFrame(CGRect frame) {
    UIButton::setFrame(frame);
    fitGradient();
}

void GlossyButton::setBounds(CGRect bounds) {
    UIButton::setBounds(bounds);
    fitGradient();
}

void GlossyButton::layoutSubviews() {
    UIButton::layoutSubviews();
    fitGradient();
}

void GlossyButton::stateDidChange() {
    UIButton::stateDidChange();
    applyColors();
}
