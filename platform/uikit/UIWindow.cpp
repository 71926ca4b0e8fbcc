#include "platform/uikit/UIWindow.h"

#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIViewController.h"

#include <algorithm>
#include <cmath>

namespace {

// Main-thread state of the screen.
std::weak_ptr<UIWindow>& keyWindowRef() {
    static std::weak_ptr<UIWindow> key;
    return key;
}

std::vector<std::weak_ptr<UIWindow>>& visibleWindows() {
    static std::vector<std::weak_ptr<UIWindow>> list;
    return list;
}

constexpr double kPanThreshold = 10;

} // namespace

void UIWindow::setRootViewController(std::shared_ptr<UIViewController> controller) {
    if (controller == rootViewController_) {
        return;
    }
    if (rootViewController_ && rootViewController_->isViewLoaded()) {
        bool shown = rootViewController_->isAppearing();
        if (shown) {
            rootViewController_->beginAppearanceTransition(false, false);
        }
        rootViewController_->view()->removeFromSuperview();
        if (shown) {
            rootViewController_->endAppearanceTransition();
        }
    }
    rootViewController_ = std::move(controller);
    if (!rootViewController_) {
        return;
    }
    auto view = rootViewController_->view();
    view->setFrame(bounds());
    insertSubviewAtIndex(view, 0);
    if (!isHidden() && isKeyWindow()) {
        rootViewController_->beginAppearanceTransition(true, false);
        rootViewController_->endAppearanceTransition();
    }
    keepOverlaysOnTop();
}

void UIWindow::makeKeyAndVisible() {
    setHidden(false);
    auto self = std::static_pointer_cast<UIWindow>(shared_from_this());
    auto& list = visibleWindows();
    std::erase_if(list, [&](auto& w) { return w.expired() || w.lock() == self; });
    list.push_back(self);
    bool wasKey = isKeyWindow();
    makeKeyWindow();
    if (!wasKey && rootViewController_) {
        rootViewController_->beginAppearanceTransition(true, false);
        rootViewController_->endAppearanceTransition();
    }
    layoutIfNeeded();
}

void UIWindow::makeKeyWindow() {
    keyWindowRef() = std::static_pointer_cast<UIWindow>(shared_from_this());
}

bool UIWindow::isKeyWindow() const {
    return keyWindowRef().lock().get() == this;
}

std::shared_ptr<UIWindow> UIWindow::keyWindow() {
    return keyWindowRef().lock();
}

std::vector<std::shared_ptr<UIWindow>> UIWindow::windows() {
    std::vector<std::shared_ptr<UIWindow>> out;
    for (const auto& w : visibleWindows()) {
        if (auto strong = w.lock(); strong && !strong->isHidden()) {
            out.push_back(strong);
        }
    }
    return out;
}

void UIWindow::presentOverlay(const std::shared_ptr<UIView>& overlay) {
    if (!overlay) {
        return;
    }
    std::erase(overlays_, overlay);
    overlays_.push_back(overlay);
    addSubview(overlay);
    keepOverlaysOnTop();
}

void UIWindow::dismissOverlay(const std::shared_ptr<UIView>& overlay) {
    auto keep = overlay;
    std::erase(overlays_, overlay);
    if (overlay && overlay->superview().get() == this) {
        overlay->removeFromSuperview();
    }
}

void UIWindow::didAddSubview(const std::shared_ptr<UIView>& subview) {
    keepOverlaysOnTop();
}

void UIWindow::keepOverlaysOnTop() {
    for (const auto& o : overlays_) {
        if (o->superview().get() == this) {
            bringSubviewToFront(o);
        }
    }
}

std::shared_ptr<UIView> UIWindow::hitTest(CGPoint point) {
    if (!overlays_.empty()) {
        // A modal overlay takes every touch, even outside its own bounds.
        auto top = overlays_.back();
        CGPoint p = top->convertPointFromView(point, this);
        if (auto hit = top->hitTest(p)) {
            return hit;
        }
        return top;
    }
    return UIView::hitTest(point);
}

void UIWindow::sendTouch(UITouchPhase phase, CGPoint point) {
    auto keep = shared_from_this();
    keepOverlaysOnTop();
    switch (phase) {
    case UITouchPhaseBegan: {
        if (tracking_) {
            sendTouch(UITouchPhaseCancelled, touch_.windowLocation);
        }
        layoutIfNeeded();
        auto hit = hitTest(point);
        if (!hit) {
            return;
        }
        tracking_ = true;
        touchStart_ = point;
        touch_ = UITouch{point, hit, true};
        touchView_ = hit;
        panView_.reset();
        panCandidate_.reset();
        for (auto v = hit; v; v = v->superview()) {
            if (v->handlesPan()) {
                panCandidate_ = v;
                break;
            }
        }
        hit->touchesBegan(touch_);
        break;
    }
    case UITouchPhaseMoved:
    case UITouchPhaseStationary: {
        if (!tracking_) {
            return;
        }
        touch_.windowLocation = point;
        if (panView_) {
            panView_->panMoved(point);
            break;
        }
        auto candidate = panCandidate_.lock();
        if (candidate && (std::abs(point.x - touchStart_.x) > kPanThreshold ||
                          std::abs(point.y - touchStart_.y) > kPanThreshold)) {
            panView_ = candidate;
            touchView_->touchesCancelled(touch_);
            panView_->panBegan(touchStart_, point);
            break;
        }
        touchView_->touchesMoved(touch_);
        break;
    }
    case UITouchPhaseEnded:
    case UITouchPhaseCancelled: {
        if (!tracking_) {
            return;
        }
        tracking_ = false;
        touch_.windowLocation = point;
        auto view = std::move(touchView_);
        auto pan = std::move(panView_);
        if (pan) {
            pan->panEnded(point);
        } else if (phase == UITouchPhaseEnded) {
            view->touchesEnded(touch_);
        } else {
            view->touchesCancelled(touch_);
        }
        break;
    }
    }
    // Events change state; the layout pass settles it before anything is drawn or dumped.
    layoutIfNeeded();
}

void UIWindow::render(render::Canvas& canvas) {
    layoutIfNeeded();
    renderTree(canvas);
}

UIResponder* UIWindow::nextResponder() const {
    if (isKeyWindow()) {
        return UIApplication::sharedApplication().get();
    }
    return nullptr;
}
