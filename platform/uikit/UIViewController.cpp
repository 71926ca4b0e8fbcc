#include "platform/uikit/UIViewController.h"

#include "platform/foundation/DeviceHost.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UITabBarController.h"
#include "platform/uikit/UITabBarItem.h"

#include <algorithm>

namespace {

class UILayoutContainerView : public UIView {
public:
    UILayoutContainerView(CGRect frame, std::weak_ptr<UIViewController> owner,
                          std::function<void()> layout)
        : UIView(frame), owner_(std::move(owner)), layout_(std::move(layout)) {}

    void layoutSubviews() override { layout_(); }
    void didMoveToWindow() override {
        auto owner = owner_.lock();
        if (!owner || owner->parentViewController()) {
            return;
        }
        if (window() && !owner->isAppearing()) {
            owner->beginAppearanceTransition(true, false);
            owner->endAppearanceTransition();
        } else if (!window() && owner->isAppearing()) {
            owner->beginAppearanceTransition(false, false);
            owner->endAppearanceTransition();
        }
    }
    std::string className() const override { return "UILayoutContainerView"; }

private:
    std::weak_ptr<UIViewController> owner_;
    std::function<void()> layout_;
};

} // namespace

UIViewController::UIViewController() = default;

UIViewController::~UIViewController() {
    if (view_) {
        view_->setViewDelegate({});
    }
}

std::shared_ptr<UIView> UIViewController::view() {
    // A view asked for during loadView (by the subclass itself) must not recurse.
    if (!view_ && !loadingView_) {
        loadingView_ = true;
        loadView();
        loadingView_ = false;
        if (!view_) {
            setView(std::make_shared<UIView>(applicationFrame()));
        }
        viewDidLoad();
    }
    return view_;
}

void UIViewController::setView(std::shared_ptr<UIView> view) {
    if (view_) {
        view_->setViewDelegate({});
    }
    view_ = std::move(view);
    if (view_) {
        view_->setViewDelegate(weak_from_this());
    }
}

void UIViewController::loadView() {
    setView(std::make_shared<UIView>(applicationFrame()));
}

void UIViewController::setTitle(const std::string& title) {
    title_ = title;
    navigationItem()->setTitle(title);
    if (tabBarItem_) {
        tabBarItem_->setTitle(title);
    }
}

std::shared_ptr<UINavigationItem> UIViewController::navigationItem() {
    if (!navigationItem_) {
        navigationItem_ = UINavigationItem::initWithTitle(title_);
    }
    return navigationItem_;
}

std::shared_ptr<UITabBarItem> UIViewController::tabBarItem() {
    if (!tabBarItem_) {
        tabBarItem_ = UITabBarItem::initWithTitle(title_, nullptr, 0);
    }
    return tabBarItem_;
}

void UIViewController::setTabBarItem(std::shared_ptr<UITabBarItem> item) {
    tabBarItem_ = std::move(item);
    if (auto tabs = tabBarController()) {
        tabs->tabBarItemsChanged();
    }
}

std::shared_ptr<UINavigationController> UIViewController::navigationController() const {
    for (auto p = parent_.lock(); p; p = p->parent_.lock()) {
        if (auto nav = std::dynamic_pointer_cast<UINavigationController>(p)) {
            return nav;
        }
    }
    return nullptr;
}

std::shared_ptr<UITabBarController> UIViewController::tabBarController() const {
    for (auto p = parent_.lock(); p; p = p->parent_.lock()) {
        if (auto tabs = std::dynamic_pointer_cast<UITabBarController>(p)) {
            return tabs;
        }
    }
    return nullptr;
}

void UIViewController::addChildViewController(const std::shared_ptr<UIViewController>& child) {
    if (!child || child.get() == this) {
        return;
    }
    if (auto old = child->parent_.lock(); old && old.get() != this) {
        child->removeFromParentViewController();
    }
    if (std::find(children_.begin(), children_.end(), child) == children_.end()) {
        children_.push_back(child);
    }
    child->parent_ = weak_from_this();
}

void UIViewController::removeFromParentViewController() {
    auto parent = parent_.lock();
    parent_.reset();
    if (!parent) {
        return;
    }
    auto& siblings = parent->children_;
    // Hold ourselves: the parent's list may have been the last owner.
    auto keep = shared_from_this();
    siblings.erase(std::remove(siblings.begin(), siblings.end(), keep), siblings.end());
}

void UIViewController::beginAppearanceTransition(bool isAppearing, bool animated) {
    if (isAppearing == this->isAppearing()) {
        return;
    }
    state_ = isAppearing ? State::Appearing : State::Disappearing;
    animatedTransition_ = animated;
    if (isAppearing) {
        viewWillAppear(animated);
    } else {
        viewWillDisappear(animated);
    }
    if (auto child = appearanceChild()) {
        child->beginAppearanceTransition(isAppearing, animated);
    }
}

void UIViewController::endAppearanceTransition() {
    if (state_ == State::Appearing) {
        state_ = State::Appeared;
        viewDidAppear(animatedTransition_);
    } else if (state_ == State::Disappearing) {
        state_ = State::Disappeared;
        viewDidDisappear(animatedTransition_);
    } else {
        return;
    }
    if (auto child = appearanceChild()) {
        child->endAppearanceTransition();
    }
}

UIResponder* UIViewController::nextResponder() const {
    if (view_) {
        if (auto super = view_->superview()) {
            return super.get();
        }
    }
    return parent_.lock().get();
}

std::shared_ptr<UIView> UIViewController::makeContainerView(CGRect frame) {
    std::weak_ptr<UIViewController> weak = weak_from_this();
    return std::make_shared<UILayoutContainerView>(frame, weak, [weak] {
        if (auto owner = weak.lock()) {
            owner->layoutContainer();
        }
    });
}

CGFloat UIViewController::statusBarOverlap() const {
    if (!view_) {
        return 0;
    }
    CGFloat top = view_->convertPointToView(view_->bounds().origin, nullptr).y;
    if (!view_->superview()) {
        top = view_->frame().origin.y;
    }
    CGFloat status = applicationFrame().origin.y;
    return std::clamp<CGFloat>(status - top, 0, status);
}

CGRect UIViewController::screenBounds() {
    platform::DeviceSettings defaults;
    const auto& s = platform::hasDeviceHost() ? platform::deviceHost().settings() : defaults;
    return CGRectMake(0, 0, s.screenWidth, s.screenHeight);
}

CGRect UIViewController::applicationFrame() {
    platform::DeviceSettings defaults;
    const auto& s = platform::hasDeviceHost() ? platform::deviceHost().settings() : defaults;
    return CGRectMake(0, s.statusBarHeight, s.screenWidth, s.screenHeight - s.statusBarHeight);
}
