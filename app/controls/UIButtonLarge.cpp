#include "app/controls/UIButtonLarge.h"

#include "app/controls/UIControlLarge.h"

std::shared_ptr<UIButtonLarge> UIButtonLarge::init() {
    auto button = std::make_shared<UIButtonLarge>(CGRectZero);
    button->setMMarginInsets(UIEdgeInsets{0, 0, 0, 0});
    return button;
}

std::shared_ptr<UIView> UIButtonLarge::hitTest(CGPoint point) {
    if (UIControlLarge::isInsideLargeArea(frame().size, mMarginInsets_, point)) {
        return shared_from_this();
    }
    return nullptr;
}
