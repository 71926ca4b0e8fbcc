#pragma once
// A screen: owns a view that it builds on first use, a navigation item and a tab bar item,
// and receives appearance events from the container that shows it. Main thread only.
#include "platform/uikit/UIView.h"
#include <memory>
#include <string>
#include <vector>

class UINavigationItem;
class UITabBarItem;
class UINavigationController;
class UITabBarController;

enum UIRectEdge : int {
    UIRectEdgeNone = 0,
    UIRectEdgeTop = 1,
    UIRectEdgeLeft = 2,
    UIRectEdgeBottom = 4,
    UIRectEdgeRight = 8,
    UIRectEdgeAll = 15,
};

class UIViewController : public UIResponder, public std::enable_shared_from_this<UIViewController> {
public:
    UIViewController();
    ~UIViewController() override;
    static std::shared_ptr<UIViewController> init() { return std::make_shared<UIViewController>(); }

    // The view, built by loadView then viewDidLoad on first use.
    std::shared_ptr<UIView> view();
    void setView(std::shared_ptr<UIView> view);
    bool isViewLoaded() const { return view_ != nullptr; }
    // Default: a plain view of the screen's application frame.
    virtual void loadView();
    virtual void viewDidLoad() {}
    // Called after the view's subviews were laid out by a container.
    virtual void viewDidLayoutSubviews() {}

    const std::string& title() const { return title_; }
    // Also the navigation item's title and an existing tab bar item's, as on the device.
    virtual void setTitle(const std::string& title);

    std::shared_ptr<UINavigationItem> navigationItem();
    std::shared_ptr<UITabBarItem> tabBarItem();
    void setTabBarItem(std::shared_ptr<UITabBarItem> item);

    // Containment: the nearest navigation / tab bar controller among the ancestors.
    std::shared_ptr<UIViewController> parentViewController() const { return parent_.lock(); }
    std::shared_ptr<UINavigationController> navigationController() const;
    std::shared_ptr<UITabBarController> tabBarController() const;
    const std::vector<std::shared_ptr<UIViewController>>& childViewControllers() const {
        return children_;
    }
    void addChildViewController(const std::shared_ptr<UIViewController>& child);
    void removeFromParentViewController();

    bool hidesBottomBarWhenPushed() const { return hidesBottomBarWhenPushed_; }
    void setHidesBottomBarWhenPushed(bool h) { hidesBottomBarWhenPushed_ = h; }

    // Layout flags of system 7; stored for the screens that set them.
    int edgesForExtendedLayout() const { return edgesForExtendedLayout_; }
    void setEdgesForExtendedLayout(int edges) { edgesForExtendedLayout_ = edges; }
    bool extendedLayoutIncludesOpaqueBars() const { return extendedLayoutIncludesOpaqueBars_; }
    void setExtendedLayoutIncludesOpaqueBars(bool b) { extendedLayoutIncludesOpaqueBars_ = b; }
    bool modalPresentationCapturesStatusBarAppearance() const { return capturesStatusBar_; }
    void setModalPresentationCapturesStatusBarAppearance(bool b) { capturesStatusBar_ = b; }
    bool automaticallyAdjustsScrollViewInsets() const { return adjustsScrollViewInsets_; }
    void setAutomaticallyAdjustsScrollViewInsets(bool b) { adjustsScrollViewInsets_ = b; }

    // Appearance events; subclasses call the base.
    virtual void viewWillAppear(bool animated) {}
    virtual void viewDidAppear(bool animated) {}
    virtual void viewWillDisappear(bool animated) {}
    virtual void viewDidDisappear(bool animated) {}
    virtual void didReceiveMemoryWarning() {}

    // Drives the events above once per transition (a repeated begin is ignored) and passes
    // them on to the child that a container shows.
    void beginAppearanceTransition(bool isAppearing, bool animated);
    void endAppearanceTransition();
    // On screen, or on its way there.
    bool isAppearing() const { return state_ == State::Appearing || state_ == State::Appeared; }

    UIResponder* nextResponder() const override;

protected:
    // The child whose view a container shows now (receives the appearance events).
    virtual std::shared_ptr<UIViewController> appearanceChild() const { return nullptr; }
    // The view of a container: it lays the children out again whenever it is laid out, and
    // a root container that enters a window starts its own appearance events.
    std::shared_ptr<UIView> makeContainerView(CGRect frame);
    virtual void layoutContainer() {}
    // How far the status bar reaches into this controller's view (its top on the screen).
    CGFloat statusBarOverlap() const;
    // The screen's application frame (below the status bar).
    static CGRect applicationFrame();
    static CGRect screenBounds();

private:
    enum class State { Disappeared, Appearing, Appeared, Disappearing };

    std::shared_ptr<UIView> view_;
    std::string title_;
    std::shared_ptr<UINavigationItem> navigationItem_;
    std::shared_ptr<UITabBarItem> tabBarItem_;
    std::weak_ptr<UIViewController> parent_;
    std::vector<std::shared_ptr<UIViewController>> children_;
    bool hidesBottomBarWhenPushed_ = false;
    int edgesForExtendedLayout_ = UIRectEdgeAll;
    bool extendedLayoutIncludesOpaqueBars_ = false;
    bool capturesStatusBar_ = false;
    bool adjustsScrollViewInsets_ = true;
    bool loadingView_ = false;
    State state_ = State::Disappeared;
    bool animatedTransition_ = false;
};
