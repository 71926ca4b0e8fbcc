#pragma once
// Screens side by side behind a tab bar at the bottom; tapping an item shows its screen.
#include "platform/uikit/UITabBar.h"
#include "platform/uikit/UIViewController.h"
#include <memory>
#include <vector>

class UITabBarController;

class UITabBarControllerDelegate {
public:
    virtual ~UITabBarControllerDelegate() = default;
    // Asked before a tap selects; false keeps the current selection.
    virtual bool shouldSelectViewController(const std::shared_ptr<UITabBarController>& tabs,
                                            const std::shared_ptr<UIViewController>& vc) {
        return true;
    }
    virtual void didSelectViewController(const std::shared_ptr<UITabBarController>& tabs,
                                         const std::shared_ptr<UIViewController>& vc) {}
};

class UITabBarController : public UIViewController {
public:
    UITabBarController();
    static std::shared_ptr<UITabBarController> init();

    const std::vector<std::shared_ptr<UIViewController>>& viewControllers() const {
        return controllers_;
    }
    void setViewControllers(std::vector<std::shared_ptr<UIViewController>> controllers,
                            bool animated = false);

    // -1 when there are no screens.
    int selectedIndex() const { return selectedIndex_; }
    // Out-of-range indexes are ignored. Selecting in code does not ask the delegate.
    void setSelectedIndex(int index);
    std::shared_ptr<UIViewController> selectedViewController() const;
    void setSelectedViewController(const std::shared_ptr<UIViewController>& vc);

    const std::shared_ptr<UITabBar>& tabBar() const { return tabBar_; }

    std::shared_ptr<UITabBarControllerDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<UITabBarControllerDelegate> d) { delegate_ = std::move(d); }

    // What a tap on the item at `index` does: asks the delegate, selects, tells it. A tap on
    // the selected navigation stack's item returns that stack to its root.
    void tabBarItemTapped(int index);
    // A child's tab bar item was replaced.
    void tabBarItemsChanged();
    // Lays the bar and the selected screen out again (a pushed screen may hide the bar).
    void layoutContent();
    // The tab bar hides while the top of the selected stack asks for it.
    bool isTabBarHiddenByContent() const;

    void loadView() override;
    void viewDidLoad() override;

protected:
    std::shared_ptr<UIViewController> appearanceChild() const override {
        return selectedViewController();
    }
    void layoutContainer() override { layoutContent(); }

private:
    void select(int index);
    void installSelectedView();
    void wireBar();
    std::shared_ptr<UITabBarController> self();

    std::vector<std::shared_ptr<UIViewController>> controllers_;
    int selectedIndex_ = -1;
    std::shared_ptr<UITabBar> tabBar_;
    std::weak_ptr<UITabBarControllerDelegate> delegate_;
};
