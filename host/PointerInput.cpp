#include "host/PointerInput.h"

#include "platform/uikit/UIScrollView.h"

namespace host {

void fingerTouch(UITouchPhase phase, CGPoint point) {
    if (auto window = UIWindow::keyWindow()) {
        window->sendTouch(phase, point);
    }
}

bool wheelScroll(CGPoint point, double dy) {
    auto window = UIWindow::keyWindow();
    if (!window || window->isTracking()) {
        return false;
    }
    window->layoutIfNeeded();
    for (auto v = window->hitTest(point); v; v = v->superview()) {
        if (auto* scroll = dynamic_cast<UIScrollView*>(v.get());
            scroll && scroll->isScrollEnabled()) {
            scroll->scrollBy(dy);
            return true;
        }
    }
    return false;
}

} // namespace host
