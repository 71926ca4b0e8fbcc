#pragma once
// What a navigation bar shows for one screen: its title (or a title view), the back item
// that the next screen's bar shows, and the left and right buttons.
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UIView.h"
#include <functional>
#include <memory>
#include <string>

class UINavigationItem {
public:
    UINavigationItem() = default;
    static std::shared_ptr<UINavigationItem> initWithTitle(std::string title) {
        auto item = std::make_shared<UINavigationItem>();
        item->title_ = std::move(title);
        return item;
    }

    const std::string& title() const { return title_; }
    void setTitle(std::string t) { title_ = std::move(t), changed(); }
    const std::shared_ptr<UIView>& titleView() const { return titleView_; }
    void setTitleView(std::shared_ptr<UIView> v) { titleView_ = std::move(v), changed(); }
    // Shown on the bar of the screen pushed above this one.
    const std::shared_ptr<UIBarButtonItem>& backBarButtonItem() const { return back_; }
    void setBackBarButtonItem(std::shared_ptr<UIBarButtonItem> b) {
        back_ = std::move(b), changed();
    }
    const std::shared_ptr<UIBarButtonItem>& leftBarButtonItem() const { return left_; }
    void setLeftBarButtonItem(std::shared_ptr<UIBarButtonItem> b) {
        left_ = std::move(b), changed();
    }
    const std::shared_ptr<UIBarButtonItem>& rightBarButtonItem() const { return right_; }
    void setRightBarButtonItem(std::shared_ptr<UIBarButtonItem> b) {
        right_ = std::move(b), changed();
    }
    bool hidesBackButton() const { return hidesBackButton_; }
    void setHidesBackButton(bool h) { hidesBackButton_ = h, changed(); }

    // The bar showing the item redraws when it changes.
    void setChangeHandler(std::function<void()> handler) { changed_ = std::move(handler); }

private:
    void changed() const {
        if (changed_) {
            changed_();
        }
    }
    std::string title_;
    std::shared_ptr<UIView> titleView_;
    std::shared_ptr<UIBarButtonItem> back_, left_, right_;
    bool hidesBackButton_ = false;
    std::function<void()> changed_;
};
