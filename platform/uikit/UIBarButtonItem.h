#pragma once
// A button on a navigation bar. A tap sends the action to the target (held weakly) with the
// item as the sender.
#include "platform/uikit/UIColor.h"
#include <functional>
#include <memory>
#include <optional>
#include <string>

enum UIBarButtonItemStyle : int {
    UIBarButtonItemStylePlain = 0,
    UIBarButtonItemStyleBordered = 1,
    UIBarButtonItemStyleDone = 2,
};

enum UIBarButtonSystemItem : int {
    UIBarButtonSystemItemDone = 0,
    UIBarButtonSystemItemCancel = 1,
    UIBarButtonSystemItemEdit = 2,
    UIBarButtonSystemItemSave = 3,
    UIBarButtonSystemItemAdd = 4,
    UIBarButtonSystemItemFlexibleSpace = 5,
    UIBarButtonSystemItemFixedSpace = 6,
    UIBarButtonSystemItemCompose = 7,
    UIBarButtonSystemItemReply = 8,
    UIBarButtonSystemItemAction = 9,
};

class UIBarButtonItem : public std::enable_shared_from_this<UIBarButtonItem> {
public:
    using Action = std::function<void(const std::shared_ptr<UIBarButtonItem>&)>;

    UIBarButtonItem() = default;

    // No target and no action (a back item, for instance).
    static std::shared_ptr<UIBarButtonItem> initWithTitle(std::string title, int style);
    template <class T, class Target>
    static std::shared_ptr<UIBarButtonItem>
    initWithTitle(std::string title, int style, Target target,
                  void (T::*action)(std::shared_ptr<UIBarButtonItem>)) {
        auto item = initWithTitle(std::move(title), style);
        item->setAction(bind<T>(std::move(target), action));
        return item;
    }
    template <class T, class Target>
    static std::shared_ptr<UIBarButtonItem> initWithTitle(std::string title, int style,
                                                          Target target, void (T::*action)()) {
        auto item = initWithTitle(std::move(title), style);
        item->setAction(bind<T>(std::move(target), action));
        return item;
    }
    static std::shared_ptr<UIBarButtonItem> initWithBarButtonSystemItem(int systemItem);
    template <class T, class Target>
    static std::shared_ptr<UIBarButtonItem>
    initWithBarButtonSystemItem(int systemItem, Target target,
                                void (T::*action)(std::shared_ptr<UIBarButtonItem>)) {
        auto item = initWithBarButtonSystemItem(systemItem);
        item->setAction(bind<T>(std::move(target), action));
        return item;
    }
    template <class T, class Target>
    static std::shared_ptr<UIBarButtonItem>
    initWithBarButtonSystemItem(int systemItem, Target target, void (T::*action)()) {
        auto item = initWithBarButtonSystemItem(systemItem);
        item->setAction(bind<T>(std::move(target), action));
        return item;
    }

    const std::string& title() const { return title_; }
    void setTitle(std::string title);
    int style() const { return style_; }
    void setStyle(int style);
    // The system item this was made from, if any.
    std::optional<int> systemItem() const { return systemItem_; }
    std::optional<UIColor> tintColor() const { return tintColor_; }
    void setTintColor(std::optional<UIColor> color);
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

    bool hasAction() const { return static_cast<bool>(action_); }
    void setAction(Action action) { action_ = std::move(action); }
    // What a tap does: the action to the target, when the item is enabled.
    void sendAction();

    // The bar showing the item redraws when it changes.
    void setChangeHandler(std::function<void()> handler) { changed_ = std::move(handler); }

private:
    template <class T, class Target>
    static Action bind(Target target, void (T::*action)(std::shared_ptr<UIBarButtonItem>)) {
        std::weak_ptr<T> weak = target;
        return [weak, action](const std::shared_ptr<UIBarButtonItem>& sender) {
            if (auto t = weak.lock()) {
                ((*t).*action)(sender);
            }
        };
    }
    template <class T, class Target> static Action bind(Target target, void (T::*action)()) {
        std::weak_ptr<T> weak = target;
        return [weak, action](const std::shared_ptr<UIBarButtonItem>&) {
            if (auto t = weak.lock()) {
                ((*t).*action)();
            }
        };
    }
    void changed() const {
        if (changed_) {
            changed_();
        }
    }

    std::string title_;
    int style_ = UIBarButtonItemStylePlain;
    std::optional<int> systemItem_;
    std::optional<UIColor> tintColor_;
    bool enabled_ = true;
    int tag_ = 0;
    Action action_;
    std::function<void()> changed_;
};
