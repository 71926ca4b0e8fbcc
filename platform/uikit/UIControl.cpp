#include "platform/uikit/UIControl.h"

namespace {
// How far outside its bounds a tracked touch still counts as inside, like the device.
constexpr double kTouchSlop = 70;
} // namespace

void UIControl::setEnabled(bool e) {
    if (enabled_ == e) {
        return;
    }
    enabled_ = e;
    if (!e) {
        highlighted_ = false;
    }
    stateDidChange();
}

void UIControl::setSelected(bool s) {
    if (selected_ == s) {
        return;
    }
    selected_ = s;
    stateDidChange();
}

void UIControl::setHighlighted(bool h) {
    if (highlighted_ == h) {
        return;
    }
    highlighted_ = h;
    stateDidChange();
}

UIControlState UIControl::state() const {
    UIControlState s = UIControlStateNormal;
    if (highlighted_) {
        s |= UIControlStateHighlighted;
    }
    if (!enabled_) {
        s |= UIControlStateDisabled;
    }
    if (selected_) {
        s |= UIControlStateSelected;
    }
    return s;
}

void UIControl::addAction(std::weak_ptr<void> target,
                          std::function<void(const std::shared_ptr<UIControl>&)> call,
                          UIControlEvents events) {
    actions_.push_back(Action{std::move(target), std::move(call), events});
}

void UIControl::removeTarget(const std::weak_ptr<void>& target, UIControlEvents events) {
    bool any = target.owner_before(std::weak_ptr<void>{}) == false &&
               std::weak_ptr<void>{}.owner_before(target) == false;
    for (auto it = actions_.begin(); it != actions_.end();) {
        bool sameTarget =
            any || (!it->target.owner_before(target) && !target.owner_before(it->target));
        if (sameTarget) {
            it->events &= ~events;
        }
        it = it->events == 0 ? actions_.erase(it) : it + 1;
    }
}

size_t UIControl::actionCount(UIControlEvents events) const {
    size_t n = 0;
    for (const auto& a : actions_) {
        if (a.events & events) {
            ++n;
        }
    }
    return n;
}

void UIControl::sendActionsForControlEvents(UIControlEvents events) {
    auto sender = std::static_pointer_cast<UIControl>(shared_from_this());
    // An action may add or remove actions: run the ones registered now.
    auto snapshot = actions_;
    for (const auto& a : snapshot) {
        if (a.events & events) {
            a.call(sender);
        }
    }
}

bool UIControl::isInsideWithSlop(CGPoint p) const {
    CGRect b = bounds();
    CGRect area = CGRectMake(b.minX() - kTouchSlop, b.minY() - kTouchSlop,
                             b.size.width + 2 * kTouchSlop, b.size.height + 2 * kTouchSlop);
    return CGRectContainsPoint(area, p);
}

void UIControl::touchesBegan(UITouch& touch) {
    if (!enabled_) {
        UIView::touchesBegan(touch);
        return;
    }
    auto keep = shared_from_this();
    tracking_ = true;
    touchInside_ = true;
    touch.inside = true;
    setHighlighted(true);
    tracking_ = beginTrackingWithTouch(touch);
    sendActionsForControlEvents(UIControlEventTouchDown);
}

void UIControl::touchesMoved(UITouch& touch) {
    if (!tracking_) {
        if (!enabled_) {
            UIView::touchesMoved(touch);
        }
        return;
    }
    auto keep = shared_from_this();
    bool inside = isInsideWithSlop(touch.locationInView(*this));
    bool was = touchInside_;
    touchInside_ = inside;
    touch.inside = inside;
    setHighlighted(inside);
    tracking_ = continueTrackingWithTouch(touch);
    if (inside != was) {
        sendActionsForControlEvents(inside ? UIControlEventTouchDragEnter
                                           : UIControlEventTouchDragExit);
    }
    sendActionsForControlEvents(inside ? UIControlEventTouchDragInside
                                       : UIControlEventTouchDragOutside);
}

void UIControl::touchesEnded(UITouch& touch) {
    if (!tracking_) {
        if (!enabled_) {
            UIView::touchesEnded(touch);
        }
        return;
    }
    auto keep = shared_from_this();
    bool inside = isInsideWithSlop(touch.locationInView(*this));
    touchInside_ = inside;
    touch.inside = inside;
    tracking_ = false;
    setHighlighted(false);
    endTrackingWithTouch(touch);
    sendActionsForControlEvents(inside ? UIControlEventTouchUpInside
                                       : UIControlEventTouchUpOutside);
    touchInside_ = false;
}

void UIControl::touchesCancelled(UITouch& touch) {
    if (!tracking_) {
        if (!enabled_) {
            UIView::touchesCancelled(touch);
        }
        return;
    }
    auto keep = shared_from_this();
    tracking_ = false;
    touchInside_ = false;
    setHighlighted(false);
    cancelTrackingWithTouch(touch);
    sendActionsForControlEvents(UIControlEventTouchCancel);
}

void UIControl::describe(Json::Members& out) const {
    out.emplace_back("enabled", Json::boolean(enabled_));
    out.emplace_back("selected", Json::boolean(selected_));
}
