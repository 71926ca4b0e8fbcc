#include "platform/uikit/UISwitch.h"

#include "platform/render/Canvas.h"

namespace {
constexpr double kWidth = 51;
constexpr double kHeight = 31;
} // namespace

UISwitch::UISwitch(CGRect frame) : UIControl(frame) {
    UISwitch::setFrame(frame);
}

void UISwitch::setFrame(CGRect frame) {
    frame.size = CGSizeMake(kWidth, kHeight);
    UIControl::setFrame(frame);
}

CGSize UISwitch::sizeThatFits(CGSize) const {
    return CGSizeMake(kWidth, kHeight);
}

void UISwitch::endTrackingWithTouch(UITouch& touch) {
    if (!touch.inside) {
        return;
    }
    on_ = !on_;
    sendActionsForControlEvents(UIControlEventValueChanged);
}

void UISwitch::drawRect(render::Canvas& canvas, CGRect rect) const {
    const double r = kHeight / 2;
    const render::Rect track{rect.origin.x, rect.origin.y, kWidth, kHeight};
    const render::Color border{0.9, 0.9, 0.9, 1};
    if (on_) {
        canvas.fillRect(track, {onTint_.red, onTint_.green, onTint_.blue, onTint_.alpha}, r);
    } else {
        canvas.fillRect(track, {1, 1, 1, 1}, r);
        canvas.strokeRect({track.x + 1, track.y + 1, track.w - 2, track.h - 2}, border, 2, r - 1);
    }
    double knobX = on_ ? track.x + kWidth - r : track.x + r;
    canvas.fillCircle(knobX, track.y + r, r - 1.5, {1, 1, 1, 1});
    if (!on_ || isHighlighted()) {
        canvas.drawLine(knobX - r + 2, track.y + kHeight - 1, knobX + r - 2, track.y + kHeight - 1,
                        {0, 0, 0, 0.1}, 1);
    }
    if (!isEnabled()) {
        canvas.fillRect(track, {1, 1, 1, 0.5}, r);
    }
}

void UISwitch::describe(Json::Members& out) const {
    UIControl::describe(out);
    out.emplace_back("on", Json::boolean(on_));
}
