#include "platform/uikit/UINavigationController.h"

#include "platform/uikit/UITabBarController.h"

#include <algorithm>

UINavigationController::UINavigationController()
    : bar_(UINavigationBar::initWithFrame(
          CGRectMake(0, 0, screenBounds().size.width, UINavigationBar::kHeight))) {}

std::shared_ptr<UINavigationController>
UINavigationController::initWithRootViewController(const std::shared_ptr<UIViewController>& root) {
    auto nav = std::make_shared<UINavigationController>();
    if (root) {
        nav->addChildViewController(root);
        nav->stack_.push_back(root);
    }
    nav->wireBar();
    nav->updateBar();
    return nav;
}

void UINavigationController::wireBar() {
    std::weak_ptr<UINavigationController> weak = self();
    bar_->setBackHandler([weak] {
        if (auto n = weak.lock()) {
            n->popViewControllerAnimated(true);
        }
    });
}

std::shared_ptr<UINavigationController> UINavigationController::self() {
    return std::static_pointer_cast<UINavigationController>(shared_from_this());
}

std::shared_ptr<UIViewController> UINavigationController::topViewController() const {
    return stack_.empty() ? nullptr : stack_.back();
}

void UINavigationController::pushViewController(const std::shared_ptr<UIViewController>& vc,
                                                bool animated) {
    if (!vc || std::find(stack_.begin(), stack_.end(), vc) != stack_.end()) {
        return;
    }
    auto from = topViewController();
    addChildViewController(vc);
    stack_.push_back(vc);
    show(from, vc, animated);
}

std::shared_ptr<UIViewController> UINavigationController::popViewControllerAnimated(bool animated) {
    if (stack_.size() < 2) {
        return nullptr;
    }
    auto popped = stack_.back();
    stack_.pop_back();
    show(popped, topViewController(), animated);
    popped->removeFromParentViewController();
    return popped;
}

std::vector<std::shared_ptr<UIViewController>>
UINavigationController::popToRootViewControllerAnimated(bool animated) {
    if (stack_.size() < 2) {
        return {};
    }
    std::vector<std::shared_ptr<UIViewController>> popped(stack_.begin() + 1, stack_.end());
    auto from = stack_.back();
    stack_.resize(1);
    show(from, stack_.front(), animated);
    for (const auto& vc : popped) {
        vc->removeFromParentViewController();
    }
    return popped;
}

// The device's order: the old screen is told it will go before the new one is told it will
// come, and the old one has gone before the new one has come.
void UINavigationController::show(const std::shared_ptr<UIViewController>& from,
                                  const std::shared_ptr<UIViewController>& to, bool animated) {
    auto keep = self();
    if (auto d = delegate()) {
        d->willShowViewController(keep, to, animated);
    }
    if (isViewLoaded()) {
        to->view();
    }
    bool onScreen = isAppearing();
    if (onScreen) {
        if (from) {
            from->beginAppearanceTransition(false, animated);
        }
        to->beginAppearanceTransition(true, animated);
    }
    updateBar();
    installTopView();
    if (auto tabs = tabBarController()) {
        tabs->layoutContent();
    }
    if (onScreen) {
        if (from) {
            from->endAppearanceTransition();
        }
        to->endAppearanceTransition();
    }
    if (auto d = delegate()) {
        d->didShowViewController(keep, to, animated);
    }
}

void UINavigationController::updateBar() {
    std::vector<std::shared_ptr<UINavigationItem>> items;
    items.reserve(stack_.size());
    for (const auto& vc : stack_) {
        items.push_back(vc->navigationItem());
    }
    bar_->setItems(std::move(items));
}

void UINavigationController::setNavigationBarHidden(bool hidden, bool animated) {
    barHidden_ = hidden;
    bar_->setHidden(hidden);
    if (isViewLoaded()) {
        layoutContainer();
    }
}

void UINavigationController::loadView() {
    setView(makeContainerView(screenBounds()));
}

void UINavigationController::viewDidLoad() {
    UIViewController::viewDidLoad();
    wireBar();
    view()->addSubview(bar_);
    bar_->setHidden(barHidden_);
    installTopView();
}

CGRect UINavigationController::contentFrame() const {
    if (!isViewLoaded()) {
        return CGRectZero;
    }
    // view() is non-const; the view exists here.
    auto* self = const_cast<UINavigationController*>(this);
    CGRect b = self->view()->bounds();
    CGFloat top = barHidden_ ? 0 : statusBarOverlap() + UINavigationBar::kHeight;
    return CGRectMake(0, top, b.size.width, std::max<CGFloat>(0, b.size.height - top));
}

void UINavigationController::installTopView() {
    if (!isViewLoaded()) {
        return;
    }
    auto container = view();
    auto top = topViewController();
    auto topView = top ? top->view() : nullptr;
    for (const auto& sub : std::vector<std::shared_ptr<UIView>>(container->subviews())) {
        if (sub != bar_ && sub != topView) {
            sub->removeFromSuperview();
        }
    }
    if (topView && topView->superview() != container) {
        container->insertSubviewAtIndex(topView, 0);
    }
    layoutContainer();
}

void UINavigationController::layoutContainer() {
    if (!isViewLoaded()) {
        return;
    }
    CGRect b = view()->bounds();
    bar_->setFrame(CGRectMake(0, statusBarOverlap(), b.size.width, UINavigationBar::kHeight));
    if (auto top = topViewController(); top && top->isViewLoaded()) {
        top->view()->setFrame(contentFrame());
        top->viewDidLayoutSubviews();
    }
}
