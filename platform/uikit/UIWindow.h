#pragma once
// The window: the root of a view tree on the screen. It owns the root view controller's view,
// the modal overlays (alerts, action sheets) above it, and turns the host's touches into
// responder events. Main thread only.
#include "platform/uikit/UIView.h"
#include <memory>
#include <vector>

class UIViewController;

enum UITouchPhase : int {
    UITouchPhaseBegan = 0,
    UITouchPhaseMoved = 1,
    UITouchPhaseStationary = 2,
    UITouchPhaseEnded = 3,
    UITouchPhaseCancelled = 4,
};

class UIWindow : public UIView {
public:
    UIWindow() : UIWindow(CGRectZero) {}
    explicit UIWindow(CGRect frame) : UIView(frame) {}
    static std::shared_ptr<UIWindow> initWithFrame(CGRect frame) {
        return std::make_shared<UIWindow>(frame);
    }

    std::shared_ptr<UIViewController> rootViewController() const { return rootViewController_; }
    // Puts the controller's view under the overlays, filling the window.
    void setRootViewController(std::shared_ptr<UIViewController> controller);

    void makeKeyAndVisible();
    void makeKeyWindow();
    bool isKeyWindow() const;
    static std::shared_ptr<UIWindow> keyWindow();
    // Visible windows, back to front.
    static std::vector<std::shared_ptr<UIWindow>> windows();

    // Modal overlays stand above everything else in the window; the topmost one receives
    // every touch (a touch outside its subviews lands on the overlay itself).
    void presentOverlay(const std::shared_ptr<UIView>& overlay);
    void dismissOverlay(const std::shared_ptr<UIView>& overlay);
    const std::vector<std::shared_ptr<UIView>>& overlays() const { return overlays_; }

    // A finger on the screen at `point` (window coordinates). Began hit-tests; moved and ended
    // go to the view the touch began in, unless a panning view took the gesture over.
    void sendTouch(UITouchPhase phase, CGPoint point);
    bool isTracking() const { return tracking_; }

    // The layout pass, then the tree.
    void render(render::Canvas& canvas);

    UIWindow* window() const override { return const_cast<UIWindow*>(this); }
    std::shared_ptr<UIView> hitTest(CGPoint point) override;
    std::string className() const override { return "UIWindow"; }
    UIResponder* nextResponder() const override;
    void didAddSubview(const std::shared_ptr<UIView>& subview) override;

private:
    void keepOverlaysOnTop();

    std::shared_ptr<UIViewController> rootViewController_;
    std::vector<std::shared_ptr<UIView>> overlays_;
    bool tracking_ = false;
    UITouch touch_;
    std::shared_ptr<UIView> touchView_;
    std::weak_ptr<UIView> panCandidate_;
    std::shared_ptr<UIView> panView_;
    CGPoint touchStart_{};
};
