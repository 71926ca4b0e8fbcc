#pragma once
// A transient caption: a dark rounded box with one caption over the middle of the view it is
// added to, shown at once and hidden after a while. Each notice is its own overlay, so two in
// quick succession stand one over the other until each goes. Main thread only.
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIView.h"

#include <memory>
#include <string>

class NSTimer;
class NoticeOverlay;

// What the owner of a notice may hear; every operation is optional.
class NoticeOverlayDelegate {
public:
    virtual ~NoticeOverlayDelegate() = default;
    // The overlay has left its superview.
    virtual void noticeOverlayWasHidden(const std::shared_ptr<NoticeOverlay>& overlay) {}
};

enum class NoticeTouches {
    Block,       // the overlay takes every touch over its superview
    PassThrough, // the views below it get the touches; the overlay never answers a hit test
};

class NoticeOverlay : public UIView {
public:
    NoticeOverlay(); // use create
    static std::shared_ptr<NoticeOverlay> create();

    std::shared_ptr<NoticeOverlayDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<NoticeOverlayDelegate> d) { delegate_ = std::move(d); }

    // Alpha of the box's dark background, 0 to 1 (the caption itself stays opaque).
    double opacity() const { return opacity_; }
    void setOpacity(double opacity);
    // Size of the box when it goes away relative to its shown size; 1 means it does not shrink.
    double disappearScaleFactor() const { return disappearScaleFactor_; }
    void setDisappearScaleFactor(double factor) { disappearScaleFactor_ = factor; }
    bool hasShadow() const { return hasShadow_; }
    void setHasShadow(bool shadow);
    NoticeTouches touches() const { return touches_; }
    void setTouches(NoticeTouches touches) { touches_ = touches; }

    const std::string& caption() const { return captionLabel_->text(); }
    void setCaption(const std::string& caption);

    // Covers the superview and shows the box at once; nothing without a superview.
    void show();
    // Hides `seconds` from now; a later call replaces an earlier one.
    void hideAfterDelay(double seconds);
    // Fades the box (shrinking it by the disappear scale), then leaves the superview.
    void hide();
    bool isShowing() const { return showing_; }

    // The pending hide, if any.
    std::shared_ptr<NSTimer> hideTimer() const { return hideTimer_; }
    // The box and its caption.
    std::shared_ptr<UIView> box() const { return box_; }
    std::shared_ptr<UILabel> captionLabel() const { return captionLabel_; }

    std::shared_ptr<UIView> hitTest(CGPoint point) override;
    void layoutSubviews() override;
    std::string className() const override { return "NoticeOverlay"; }

private:
    void layoutBox();
    void applyShadow();

    std::weak_ptr<NoticeOverlayDelegate> delegate_;
    double opacity_ = 0.8;
    double disappearScaleFactor_ = 0.5;
    bool hasShadow_ = false;
    NoticeTouches touches_ = NoticeTouches::Block;
    bool showing_ = false;
    std::shared_ptr<UIView> box_;
    std::shared_ptr<UILabel> captionLabel_;
    std::shared_ptr<NSTimer> hideTimer_;
};
