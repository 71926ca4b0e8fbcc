#include "platform/uikit/UIActivityIndicatorView.h"

#include "platform/render/Canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

UIColor styleColor(UIActivityIndicatorViewStyle style) {
    return style == UIActivityIndicatorViewStyleGray ? UIColor::grayColor() : UIColor::whiteColor();
}

double styleSide(UIActivityIndicatorViewStyle style) {
    return style == UIActivityIndicatorViewStyleWhiteLarge ? 37 : 20;
}

} // namespace

UIActivityIndicatorView::UIActivityIndicatorView(CGRect frame, UIActivityIndicatorViewStyle style)
    : UIView(frame), style_(style), color_(styleColor(style)) {
    setUserInteractionEnabled(false);
    setHidden(true);
}

std::shared_ptr<UIActivityIndicatorView>
UIActivityIndicatorView::initWithActivityIndicatorStyle(UIActivityIndicatorViewStyle style) {
    double side = styleSide(style);
    return std::make_shared<UIActivityIndicatorView>(CGRectMake(0, 0, side, side), style);
}

void UIActivityIndicatorView::setActivityIndicatorViewStyle(UIActivityIndicatorViewStyle style) {
    style_ = style;
    color_ = styleColor(style);
}

void UIActivityIndicatorView::setHidesWhenStopped(bool h) {
    hidesWhenStopped_ = h;
    if (!animating_) {
        setHidden(h);
    }
}

void UIActivityIndicatorView::startAnimating() {
    animating_ = true;
    setHidden(false);
}

void UIActivityIndicatorView::stopAnimating() {
    animating_ = false;
    if (hidesWhenStopped_) {
        setHidden(true);
    }
}

CGSize UIActivityIndicatorView::sizeThatFits(CGSize) const {
    double side = styleSide(style_);
    return CGSizeMake(side, side);
}

void UIActivityIndicatorView::drawRect(render::Canvas& canvas, CGRect rect) const {
    // Twelve spokes fading round the circle, the look of one frame of the spin.
    double side = std::min(styleSide(style_), std::min(rect.size.width, rect.size.height));
    double cx = rect.midX();
    double cy = rect.midY();
    double outer = side / 2;
    double inner = outer * 0.45;
    double width = style_ == UIActivityIndicatorViewStyleWhiteLarge ? 3.5 : 2;
    for (int i = 0; i < 12; ++i) {
        double angle = i * std::numbers::pi / 6 - std::numbers::pi / 2;
        double alpha = color_.alpha * (0.25 + 0.75 * (12 - i) / 12.0);
        canvas.drawLine(cx + inner * std::cos(angle), cy + inner * std::sin(angle),
                        cx + outer * std::cos(angle), cy + outer * std::sin(angle),
                        {color_.red, color_.green, color_.blue, alpha}, width);
    }
}

void UIActivityIndicatorView::describe(Json::Members& out) const {
    out.emplace_back("animating", Json::boolean(animating_));
}
