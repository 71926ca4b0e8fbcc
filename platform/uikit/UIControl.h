#pragma once
// A view that tracks a touch and sends actions to targets for control events.
#include "platform/uikit/UIView.h"
#include <functional>
#include <memory>
#include <type_traits>
#include <vector>

using UIControlState = unsigned;
inline constexpr UIControlState UIControlStateNormal = 0;
inline constexpr UIControlState UIControlStateHighlighted = 1;
inline constexpr UIControlState UIControlStateDisabled = 2;
inline constexpr UIControlState UIControlStateSelected = 4;

using UIControlEvents = unsigned;
inline constexpr UIControlEvents UIControlEventTouchDown = 1;
inline constexpr UIControlEvents UIControlEventTouchDownRepeat = 2;
inline constexpr UIControlEvents UIControlEventTouchDragInside = 4;
inline constexpr UIControlEvents UIControlEventTouchDragOutside = 8;
inline constexpr UIControlEvents UIControlEventTouchDragEnter = 16;
inline constexpr UIControlEvents UIControlEventTouchDragExit = 32;
inline constexpr UIControlEvents UIControlEventTouchUpInside = 64;
inline constexpr UIControlEvents UIControlEventTouchUpOutside = 128;
inline constexpr UIControlEvents UIControlEventTouchCancel = 256;
inline constexpr UIControlEvents UIControlEventValueChanged = 4096;
inline constexpr UIControlEvents UIControlEventAllTouchEvents = 0x0FFF;
inline constexpr UIControlEvents UIControlEventAllEvents = 0xFFFFFFFF;

class UIControl : public UIView {
public:
    using UIView::UIView;
    static std::shared_ptr<UIControl> initWithFrame(CGRect frame) {
        return std::make_shared<UIControl>(frame);
    }

    bool isEnabled() const { return enabled_; }
    virtual void setEnabled(bool e);
    bool isSelected() const { return selected_; }
    virtual void setSelected(bool s);
    bool isHighlighted() const { return highlighted_; }
    virtual void setHighlighted(bool h);
    bool isTracking() const { return tracking_; }
    bool isTouchInside() const { return touchInside_; }
    UIControlState state() const;

    // The target is held weakly; an action whose target is gone is skipped. The action is a
    // member taking the sender (any control type the sender is) or nothing.
    template <class T, class M>
    void addTarget(const std::weak_ptr<T>& target, M action, UIControlEvents events);
    template <class T, class M>
    void addTarget(const std::shared_ptr<T>& target, M action, UIControlEvents events) {
        addTarget(std::weak_ptr<T>(target), action, events);
    }
    // Drops the target's actions for those events (all targets when target is empty).
    void removeTarget(const std::weak_ptr<void>& target, UIControlEvents events);
    size_t actionCount(UIControlEvents events) const;

    // Runs the actions registered for any of `events`, in the order they were added.
    void sendActionsForControlEvents(UIControlEvents events);

    // Tracking hooks: answering false from begin/continue ends the tracking.
    virtual bool beginTrackingWithTouch(UITouch& touch) { return true; }
    virtual bool continueTrackingWithTouch(UITouch& touch) { return true; }
    virtual void endTrackingWithTouch(UITouch& touch) {}
    virtual void cancelTrackingWithTouch(UITouch& touch) {}

    void touchesBegan(UITouch& touch) override;
    void touchesMoved(UITouch& touch) override;
    void touchesEnded(UITouch& touch) override;
    void touchesCancelled(UITouch& touch) override;

    std::string className() const override { return "UIControl"; }
    void describe(Json::Members& out) const override;

protected:
    // Any of these changed; subclasses refresh their look.
    virtual void stateDidChange() {}
    // Inside the touch area widened by the platform's slop around the bounds.
    bool isInsideWithSlop(CGPoint point) const;

private:
    struct Action {
        std::weak_ptr<void> target;
        std::function<void(const std::shared_ptr<UIControl>&)> call;
        UIControlEvents events;
    };
    void addAction(std::weak_ptr<void> target,
                   std::function<void(const std::shared_ptr<UIControl>&)> call,
                   UIControlEvents events);

    std::vector<Action> actions_;
    bool enabled_ = true;
    bool selected_ = false;
    bool highlighted_ = false;
    bool tracking_ = false;
    bool touchInside_ = false;
};

namespace uikit_detail {
template <class M> struct ActionTraits;
template <class C> struct ActionTraits<void (C::*)()> {
    using Class = C;
    using Sender = void;
};
template <class C, class A> struct ActionTraits<void (C::*)(A)> {
    using Class = C;
    using Sender = typename std::remove_cvref_t<A>::element_type;
};
} // namespace uikit_detail

template <class T, class M>
void UIControl::addTarget(const std::weak_ptr<T>& target, M action, UIControlEvents events) {
    using Traits = uikit_detail::ActionTraits<M>;
    static_assert(std::is_base_of_v<typename Traits::Class, T>, "action of another class");
    addAction(
        target,
        [target, action](const std::shared_ptr<UIControl>& sender) {
            auto t = target.lock();
            if (!t) {
                return;
            }
            if constexpr (std::is_void_v<typename Traits::Sender>) {
                ((*t).*action)();
            } else {
                ((*t).*action)(std::dynamic_pointer_cast<typename Traits::Sender>(sender));
            }
        },
        events);
}
