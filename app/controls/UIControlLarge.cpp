#include "app/controls/UIControlLarge.h"

std::shared_ptr<UIControlLarge> UIControlLarge::init() {
    auto control = std::make_shared<UIControlLarge>(CGRectZero);
    control->setMMarginInsets(UIEdgeInsets{0, 0, 0, 0});
    return control;
}

bool UIControlLarge::isInsideLargeArea(CGSize size, UIEdgeInsets margins, CGPoint point) {
    const CGFloat minX = -margins.left;
    const CGFloat minY = -margins.top;
    const CGFloat maxX = minX + size.width + margins.left + margins.right;
    const CGFloat maxY = minY + size.height + margins.top + margins.bottom;
    return point.x >= minX && point.x < maxX && point.y >= minY && point.y < maxY;
}

std::shared_ptr<UIView> UIControlLarge::hitTest(CGPoint point) {
    if (isInsideLargeArea(frame().size, mMarginInsets_, point)) {
        return shared_from_this();
    }
    return nullptr;
}
