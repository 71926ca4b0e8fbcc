#include "platform/uikit/UITabBarController.h"

#include "platform/uikit/UINavigationController.h"

#include <algorithm>

UITabBarController::UITabBarController()
    : tabBar_(UITabBar::initWithFrame(CGRectMake(0, screenBounds().size.height - UITabBar::kHeight,
                                                 screenBounds().size.width, UITabBar::kHeight))) {}

std::shared_ptr<UITabBarController> UITabBarController::init() {
    auto tabs = std::make_shared<UITabBarController>();
    tabs->wireBar();
    return tabs;
}

void UITabBarController::wireBar() {
    std::weak_ptr<UITabBarController> weak = self();
    tabBar_->setTapHandler([weak](int index) {
        if (auto t = weak.lock()) {
            t->tabBarItemTapped(index);
        }
    });
}

std::shared_ptr<UITabBarController> UITabBarController::self() {
    return std::static_pointer_cast<UITabBarController>(shared_from_this());
}

void UITabBarController::setViewControllers(
    std::vector<std::shared_ptr<UIViewController>> controllers, bool animated) {
    auto old = selectedViewController();
    bool onScreen = isAppearing();
    for (const auto& vc : controllers_) {
        if (std::find(controllers.begin(), controllers.end(), vc) == controllers.end()) {
            vc->removeFromParentViewController();
        }
    }
    controllers_ = std::move(controllers);
    for (const auto& vc : controllers_) {
        addChildViewController(vc);
    }
    int index = 0;
    if (old) {
        auto it = std::find(controllers_.begin(), controllers_.end(), old);
        if (it != controllers_.end()) {
            index = static_cast<int>(it - controllers_.begin());
        }
    }
    selectedIndex_ = controllers_.empty() ? -1 : index;
    auto now = selectedViewController();
    if (onScreen && old != now) {
        if (old) {
            old->beginAppearanceTransition(false, animated);
        }
        if (now) {
            now->beginAppearanceTransition(true, animated);
        }
    }
    tabBarItemsChanged();
    installSelectedView();
    if (onScreen && old != now) {
        if (old) {
            old->endAppearanceTransition();
        }
        if (now) {
            now->endAppearanceTransition();
        }
    }
}

std::shared_ptr<UIViewController> UITabBarController::selectedViewController() const {
    if (selectedIndex_ < 0 || static_cast<size_t>(selectedIndex_) >= controllers_.size()) {
        return nullptr;
    }
    return controllers_[static_cast<size_t>(selectedIndex_)];
}

void UITabBarController::setSelectedIndex(int index) {
    if (index < 0 || static_cast<size_t>(index) >= controllers_.size()) {
        return;
    }
    select(index);
}

void UITabBarController::setSelectedViewController(const std::shared_ptr<UIViewController>& vc) {
    auto it = std::find(controllers_.begin(), controllers_.end(), vc);
    if (it != controllers_.end()) {
        select(static_cast<int>(it - controllers_.begin()));
    }
}

// Same order as a navigation push: the old screen starts leaving before the new one starts
// coming, and has gone before the new one has come.
void UITabBarController::select(int index) {
    if (index == selectedIndex_) {
        return;
    }
    auto keep = shared_from_this();
    auto from = selectedViewController();
    auto to = controllers_[static_cast<size_t>(index)];
    if (isViewLoaded()) {
        to->view();
    }
    bool onScreen = isAppearing();
    if (onScreen) {
        if (from) {
            from->beginAppearanceTransition(false, false);
        }
        to->beginAppearanceTransition(true, false);
    }
    selectedIndex_ = index;
    tabBar_->setSelectedItem(to->tabBarItem());
    installSelectedView();
    if (onScreen) {
        if (from) {
            from->endAppearanceTransition();
        }
        to->endAppearanceTransition();
    }
}

void UITabBarController::tabBarItemTapped(int index) {
    if (index < 0 || static_cast<size_t>(index) >= controllers_.size()) {
        return;
    }
    auto keep = self();
    auto vc = controllers_[static_cast<size_t>(index)];
    if (auto d = delegate(); d && !d->shouldSelectViewController(keep, vc)) {
        return;
    }
    if (index == selectedIndex_) {
        if (auto nav = std::dynamic_pointer_cast<UINavigationController>(vc)) {
            nav->popToRootViewControllerAnimated(true);
        }
    } else {
        select(index);
    }
    if (auto d = delegate()) {
        d->didSelectViewController(keep, vc);
    }
}

void UITabBarController::tabBarItemsChanged() {
    std::vector<std::shared_ptr<UITabBarItem>> items;
    items.reserve(controllers_.size());
    for (const auto& vc : controllers_) {
        items.push_back(vc->tabBarItem());
    }
    tabBar_->setItems(std::move(items));
    if (auto vc = selectedViewController()) {
        tabBar_->setSelectedItem(vc->tabBarItem());
    }
}

bool UITabBarController::isTabBarHiddenByContent() const {
    auto vc = selectedViewController();
    if (auto nav = std::dynamic_pointer_cast<UINavigationController>(vc)) {
        auto top = nav->topViewController();
        return top && top != nav->viewControllers().front() && top->hidesBottomBarWhenPushed();
    }
    return false;
}

void UITabBarController::loadView() {
    setView(makeContainerView(screenBounds()));
}

void UITabBarController::viewDidLoad() {
    UIViewController::viewDidLoad();
    wireBar();
    view()->addSubview(tabBar_);
    installSelectedView();
}

void UITabBarController::installSelectedView() {
    if (!isViewLoaded()) {
        return;
    }
    auto container = view();
    auto vc = selectedViewController();
    auto shown = vc ? vc->view() : nullptr;
    for (const auto& sub : std::vector<std::shared_ptr<UIView>>(container->subviews())) {
        if (sub != tabBar_ && sub != shown) {
            sub->removeFromSuperview();
        }
    }
    if (shown && shown->superview() != container) {
        container->insertSubviewAtIndex(shown, 0);
    }
    layoutContent();
}

void UITabBarController::layoutContent() {
    if (!isViewLoaded()) {
        return;
    }
    CGRect b = view()->bounds();
    bool hidden = isTabBarHiddenByContent();
    tabBar_->setHidden(hidden);
    tabBar_->setFrame(
        CGRectMake(0, b.size.height - UITabBar::kHeight, b.size.width, UITabBar::kHeight));
    if (auto vc = selectedViewController(); vc && vc->isViewLoaded()) {
        CGFloat h = hidden ? b.size.height : b.size.height - UITabBar::kHeight;
        CGRect frame = CGRectMake(0, 0, b.size.width, std::max<CGFloat>(0, h));
        vc->view()->setFrame(frame);
        if (auto nav = std::dynamic_pointer_cast<UINavigationController>(vc)) {
            // Its layout depends on where it sits on the screen, not only on its size.
            nav->layoutContent();
        }
    }
}
