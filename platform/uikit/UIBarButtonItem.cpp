#include "platform/uikit/UIBarButtonItem.h"

namespace {

// The titles the device shows for the system items that are text.
std::string systemItemTitle(int item) {
    switch (item) {
    case UIBarButtonSystemItemDone:
        return "Done";
    case UIBarButtonSystemItemCancel:
        return "Cancel";
    case UIBarButtonSystemItemEdit:
        return "Edit";
    case UIBarButtonSystemItemSave:
        return "Save";
    default:
        return "";
    }
}

} // namespace

std::shared_ptr<UIBarButtonItem> UIBarButtonItem::initWithTitle(std::string title, int style) {
    auto item = std::make_shared<UIBarButtonItem>();
    item->title_ = std::move(title);
    item->style_ = style;
    return item;
}

std::shared_ptr<UIBarButtonItem> UIBarButtonItem::initWithBarButtonSystemItem(int systemItem) {
    auto item = std::make_shared<UIBarButtonItem>();
    item->systemItem_ = systemItem;
    item->title_ = systemItemTitle(systemItem);
    item->style_ = systemItem == UIBarButtonSystemItemDone ? UIBarButtonItemStyleDone
                                                           : UIBarButtonItemStyleBordered;
    return item;
}

void UIBarButtonItem::setTitle(std::string title) {
    title_ = std::move(title);
    changed();
}

void UIBarButtonItem::setStyle(int style) {
    style_ = style;
    changed();
}

void UIBarButtonItem::setTintColor(std::optional<UIColor> color) {
    tintColor_ = color;
    changed();
}

void UIBarButtonItem::setEnabled(bool enabled) {
    enabled_ = enabled;
    changed();
}

void UIBarButtonItem::sendAction() {
    if (enabled_ && action_) {
        // The action may drop the last reference to the item (a screen that goes away).
        auto self = shared_from_this();
        auto action = action_;
        action(self);
    }
}
