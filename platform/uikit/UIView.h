#pragma once
// The view tree. Views are shared objects; a superview owns its subviews, a subview sees its
// superview weakly. Everything here is main-thread only.
#include "platform/foundation/Json.h"
#include "platform/uikit/CALayer.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UIGeometry.h"
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace render {
class Canvas;
}
class UIView;
class UIWindow;

// One finger. Single-touch is all the app needs.
struct UITouch {
    CGPoint windowLocation;     // in window (screen) coordinates
    std::weak_ptr<UIView> view; // the hit-tested view the touch began in
    CGPoint locationInView(const UIView& v) const;
    bool inside = true; // still inside the tracked view (with slop)
};

class UIResponder {
public:
    virtual ~UIResponder() = default;
    // Default: pass to the next responder.
    virtual void touchesBegan(UITouch& touch);
    virtual void touchesMoved(UITouch& touch);
    virtual void touchesEnded(UITouch& touch);
    virtual void touchesCancelled(UITouch& touch);
    virtual UIResponder* nextResponder() const { return nullptr; }
};

class UIView : public UIResponder, public std::enable_shared_from_this<UIView> {
public:
    UIView() : UIView(CGRectZero) {}
    explicit UIView(CGRect frame);
    ~UIView() override;
    static std::shared_ptr<UIView> initWithFrame(CGRect frame) {
        return std::make_shared<UIView>(frame);
    }

    // Geometry
    CGRect frame() const { return frame_; }
    virtual void setFrame(CGRect frame);
    CGRect bounds() const { return bounds_; }
    virtual void setBounds(CGRect bounds);
    CGPoint center() const;
    void setCenter(CGPoint c);
    CGPoint convertPointToView(CGPoint p, const UIView* view) const;   // nullptr = window
    CGPoint convertPointFromView(CGPoint p, const UIView* view) const; // nullptr = window
    CGRect convertRectToView(CGRect r, const UIView* view) const;

    // Hierarchy
    std::shared_ptr<UIView> superview() const { return superview_.lock(); }
    const std::vector<std::shared_ptr<UIView>>& subviews() const { return subviews_; }
    void addSubview(std::shared_ptr<UIView> view);
    void insertSubviewAtIndex(std::shared_ptr<UIView> view, size_t index);
    void removeFromSuperview();
    void bringSubviewToFront(const std::shared_ptr<UIView>& view);
    void sendSubviewToBack(const std::shared_ptr<UIView>& view);
    bool isDescendantOfView(const UIView* view) const;
    virtual UIWindow* window() const;
    // Depth-first search of self and descendants.
    std::shared_ptr<UIView> viewWithTag(int tag);

    // Appearance
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    bool isHidden() const { return hidden_; }
    void setHidden(bool h);
    double alpha() const { return alpha_; }
    void setAlpha(double a);
    std::optional<UIColor> backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(std::optional<UIColor> c);
    bool isUserInteractionEnabled() const { return userInteractionEnabled_; }
    void setUserInteractionEnabled(bool e) { userInteractionEnabled_ = e; }
    bool clipsToBounds() const { return clipsToBounds_; }
    void setClipsToBounds(bool c) { clipsToBounds_ = c; }
    const std::shared_ptr<CALayer>& layer() const { return layer_; }

    // Layout
    virtual void layoutSubviews() {}
    void setNeedsLayout();
    void layoutIfNeeded();
    void setNeedsDisplay();
    virtual CGSize sizeThatFits(CGSize size) const { return bounds_.size; }
    void sizeToFit();

    // Hit testing with the platform's default rules: hidden, alpha < 0.01 and
    // non-interactive views are skipped; subviews front to back; point in own bounds.
    virtual std::shared_ptr<UIView> hitTest(CGPoint point);
    virtual bool pointInside(CGPoint point) const;

    // State changes apply at once; the completion runs on the main queue afterwards.
    static void animateWithDuration(double duration, const std::function<void()>& animations,
                                    const std::function<void(bool)>& completion = nullptr);

    UIResponder* nextResponder() const override;
    // The view controller whose root view this is (responder chain), if any.
    void setViewDelegate(std::weak_ptr<UIResponder> controller) {
        viewDelegate_ = std::move(controller);
    }

    // Drawing: own content in bounds coordinates; the tree walk lives in UIView.cpp.
    virtual void drawRect(render::Canvas& canvas, CGRect rect) const {}
    // Draws this view and its subviews (layer, background, content, children).
    void renderTree(render::Canvas& canvas) const;

    // Automation dump: class name and the keys that apply to the class.
    virtual std::string className() const { return "UIView"; }
    virtual void describe(Json::Members& out) const {}
    Json dumpTree(CGPoint screenOrigin = {}) const;
    // Dump values: [r, g, b, a] with r, g, b in 0-255; {"size", "bold", "italic"}.
    static Json colorJson(const UIColor& c);
    static Json fontJson(const UIFont& f);

    // Dragging. A touch that travels more than 10 pt is taken over by the nearest view that
    // handles pans, from the touched view up its superviews: the window cancels the touched
    // view's touch (touchesCancelled) and sends the rest of the gesture there. Points are in
    // window coordinates; `start` is where the finger went down.
    virtual bool handlesPan() const { return false; }
    virtual void panBegan(CGPoint start, CGPoint current) {}
    virtual void panMoved(CGPoint current) {}
    virtual void panEnded(CGPoint current) {}

    // Called when a view moves to or from a window (for appearance-driven subclasses).
    virtual void didMoveToSuperview() {}
    virtual void didAddSubview(const std::shared_ptr<UIView>& subview) {}
    virtual void didMoveToWindow() {}

protected:
    std::shared_ptr<UIView> self() { return shared_from_this(); }

private:
    CGRect frame_{};
    CGRect bounds_{};
    std::weak_ptr<UIView> superview_;
    std::vector<std::shared_ptr<UIView>> subviews_;
    int tag_ = 0;
    bool hidden_ = false;
    double alpha_ = 1;
    std::optional<UIColor> backgroundColor_;
    bool userInteractionEnabled_ = true;
    bool clipsToBounds_ = false;
    bool needsLayout_ = true;
    std::shared_ptr<CALayer> layer_;
    std::weak_ptr<UIResponder> viewDelegate_;
};
