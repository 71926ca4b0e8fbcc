#include "platform/uikit/UIViewController.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UITabBarController.h"

#include <gtest/gtest.h>

namespace {

class Counting : public UIViewController {
public:
    int loads = 0;
    int didLoads = 0;
    bool customView = false;
    void loadView() override {
        ++loads;
        if (customView) {
            setView(UIView::initWithFrame(CGRectMake(0, 0, 100, 100)));
            view()->setTag(7); // asking for the view while loading must not recurse
        }
    }
    void viewDidLoad() override { ++didLoads; }
};

TEST(UIViewController, ViewLoadsOnceOnFirstUse) {
    auto vc = std::make_shared<Counting>();
    EXPECT_FALSE(vc->isViewLoaded());
    auto v = vc->view();
    EXPECT_TRUE(vc->isViewLoaded());
    EXPECT_EQ(vc->view(), v);
    EXPECT_EQ(vc->loads, 1);
    EXPECT_EQ(vc->didLoads, 1);
}

TEST(UIViewController, DefaultViewFillsTheApplicationFrame) {
    auto vc = UIViewController::init();
    EXPECT_EQ(vc->view()->frame(), CGRectMake(0, 20, 320, 548));
}

TEST(UIViewController, CustomLoadViewKeepsItsView) {
    auto vc = std::make_shared<Counting>();
    vc->customView = true;
    EXPECT_EQ(vc->view()->frame(), CGRectMake(0, 0, 100, 100));
    EXPECT_EQ(vc->view()->tag(), 7);
    EXPECT_EQ(vc->loads, 1);
}

TEST(UIViewController, ViewPassesEventsOnToItsController) {
    auto vc = UIViewController::init();
    auto parent = UIView::initWithFrame(CGRectMake(0, 0, 320, 568));
    EXPECT_EQ(vc->view()->nextResponder(), vc.get());
    EXPECT_EQ(vc->nextResponder(), nullptr);
    parent->addSubview(vc->view());
    EXPECT_EQ(vc->nextResponder(), parent.get());
}

TEST(UIViewController, TitleIsAlsoTheNavigationItemsTitle) {
    auto vc = UIViewController::init();
    vc->setTitle("Setting");
    EXPECT_EQ(vc->navigationItem()->title(), "Setting");
    vc->navigationItem()->setTitle("Other");
    EXPECT_EQ(vc->title(), "Setting");
}

TEST(UIViewController, TabBarItemIsMadeOnDemandAndReplaceable) {
    auto vc = UIViewController::init();
    vc->setTitle("My Tones");
    EXPECT_EQ(vc->tabBarItem()->title(), "My Tones");
    auto item = UITabBarItem::initWithTitle("My", nullptr, 0);
    vc->setTabBarItem(item);
    EXPECT_EQ(vc->tabBarItem(), item);
    vc->setTitle("Tones");
    EXPECT_EQ(item->title(), "Tones");
}

TEST(UIViewController, ContainersAreFoundThroughTheParents) {
    auto leaf = UIViewController::init();
    auto nav = UINavigationController::initWithRootViewController(leaf);
    auto tabs = UITabBarController::init();
    tabs->setViewControllers({nav});
    EXPECT_EQ(leaf->navigationController(), nav);
    EXPECT_EQ(leaf->tabBarController(), tabs);
    EXPECT_EQ(nav->tabBarController(), tabs);
    EXPECT_EQ(nav->navigationController(), nullptr);
    auto loose = UIViewController::init();
    EXPECT_EQ(loose->navigationController(), nullptr);
    EXPECT_EQ(loose->tabBarController(), nullptr);
}

TEST(UIViewController, LayoutFlagsAreKept) {
    auto vc = UIViewController::init();
    EXPECT_EQ(vc->edgesForExtendedLayout(), UIRectEdgeAll);
    EXPECT_TRUE(vc->automaticallyAdjustsScrollViewInsets());
    vc->setEdgesForExtendedLayout(UIRectEdgeNone);
    vc->setExtendedLayoutIncludesOpaqueBars(false);
    vc->setModalPresentationCapturesStatusBarAppearance(false);
    vc->setHidesBottomBarWhenPushed(true);
    EXPECT_EQ(vc->edgesForExtendedLayout(), 0);
    EXPECT_FALSE(vc->extendedLayoutIncludesOpaqueBars());
    EXPECT_FALSE(vc->modalPresentationCapturesStatusBarAppearance());
    EXPECT_TRUE(vc->hidesBottomBarWhenPushed());
}

TEST(UIViewController, AppearanceTransitionsRunOncePerChange) {
    struct Events : UIViewController {
        std::vector<std::string> log;
        void viewWillAppear(bool) override { log.push_back("will"); }
        void viewDidAppear(bool) override { log.push_back("did"); }
        void viewWillDisappear(bool) override { log.push_back("willGo"); }
        void viewDidDisappear(bool) override { log.push_back("gone"); }
    };
    auto vc = std::make_shared<Events>();
    vc->beginAppearanceTransition(true, false);
    vc->beginAppearanceTransition(true, false);
    vc->endAppearanceTransition();
    vc->endAppearanceTransition();
    EXPECT_TRUE(vc->isAppearing());
    vc->beginAppearanceTransition(false, false);
    vc->endAppearanceTransition();
    EXPECT_EQ(vc->log, (std::vector<std::string>{"will", "did", "willGo", "gone"}));
    EXPECT_FALSE(vc->isAppearing());
}

} // namespace
