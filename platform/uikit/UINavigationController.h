#pragma once
// A stack of screens under a navigation bar. Pushing shows a new screen with a back button
// to the one below; popping returns. The bar sits under the status bar, the top screen's
// view fills the rest of the controller's view.
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UIViewController.h"
#include <memory>
#include <vector>

class UINavigationController;

class UINavigationControllerDelegate {
public:
    virtual ~UINavigationControllerDelegate() = default;
    virtual void willShowViewController(const std::shared_ptr<UINavigationController>& nav,
                                        const std::shared_ptr<UIViewController>& vc,
                                        bool animated) {}
    virtual void didShowViewController(const std::shared_ptr<UINavigationController>& nav,
                                       const std::shared_ptr<UIViewController>& vc, bool animated) {
    }
};

// A navigation controller may be its own delegate (the app's extensions make it one), so it
// adopts the protocol with the empty defaults.
class UINavigationController : public UIViewController, public UINavigationControllerDelegate {
public:
    UINavigationController();
    static std::shared_ptr<UINavigationController>
    initWithRootViewController(const std::shared_ptr<UIViewController>& root);

    void pushViewController(const std::shared_ptr<UIViewController>& vc, bool animated);
    // Answers the popped screen, or null when only the root is left.
    std::shared_ptr<UIViewController> popViewControllerAnimated(bool animated);
    // Answers the popped screens, bottom first.
    std::vector<std::shared_ptr<UIViewController>> popToRootViewControllerAnimated(bool animated);

    const std::vector<std::shared_ptr<UIViewController>>& viewControllers() const { return stack_; }
    std::shared_ptr<UIViewController> topViewController() const;
    // No modal presentation here: the top screen is the visible one.
    std::shared_ptr<UIViewController> visibleViewController() const { return topViewController(); }

    const std::shared_ptr<UINavigationBar>& navigationBar() const { return bar_; }
    bool isNavigationBarHidden() const { return barHidden_; }
    void setNavigationBarHidden(bool hidden, bool animated = false);

    std::shared_ptr<UINavigationControllerDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<UINavigationControllerDelegate> d) { delegate_ = std::move(d); }

    void loadView() override;
    void viewDidLoad() override;

    // Lays the bar and the top screen out again.
    void layoutContent() { layoutContainer(); }
    // The rectangle of the controller's view that the top screen's view fills.
    CGRect contentFrame() const;

protected:
    std::shared_ptr<UIViewController> appearanceChild() const override {
        return topViewController();
    }
    void layoutContainer() override;

private:
    void show(const std::shared_ptr<UIViewController>& from,
              const std::shared_ptr<UIViewController>& to, bool animated);
    void installTopView();
    void updateBar();
    void wireBar();
    std::shared_ptr<UINavigationController> self();

    std::vector<std::shared_ptr<UIViewController>> stack_;
    std::shared_ptr<UINavigationBar> bar_;
    bool barHidden_ = false;
    std::weak_ptr<UINavigationControllerDelegate> delegate_;
};
