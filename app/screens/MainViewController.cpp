#include "app/screens/MainViewController.h"

#include "app/catalogue/ToneListController.h"

#include <mutex>

std::shared_ptr<MainViewController> MainViewController::sharedWithTitle(const std::string& title) {
    static std::once_flag once;
    static std::shared_ptr<MainViewController> page;
    std::call_once(once, [&] {
        page = std::make_shared<MainViewController>();
        page->setTitle(title);
        page->newestList_ = ToneListController::initWithType(0);
        page->addChildViewController(page->newestList_);
    });
    return page;
}

void MainViewController::loadView() {
    setView(makeContainerView(applicationFrame()));
}

void MainViewController::viewDidLoad() {
    UIViewController::viewDidLoad();
    if (newestList_) {
        view()->addSubview(newestList_->view());
        layoutContainer();
    }
}

std::shared_ptr<UIViewController> MainViewController::appearanceChild() const {
    return newestList_;
}

void MainViewController::layoutContainer() {
    if (!isViewLoaded() || !newestList_ || !newestList_->isViewLoaded()) {
        return;
    }
    newestList_->view()->setFrame(view()->bounds());
    newestList_->viewDidLayoutSubviews();
}
