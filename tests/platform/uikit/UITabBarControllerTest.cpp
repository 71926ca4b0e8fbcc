#include "platform/uikit/UITabBarController.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UITabBarItem.h"
#include "platform/uikit/UIWindow.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

class Tab : public UIViewController {
public:
    Tab(std::string name, std::shared_ptr<Log> log) : name_(std::move(name)), log_(log) {}
    void viewWillAppear(bool) override { log_->push_back(name_ + ".willAppear"); }
    void viewDidAppear(bool) override { log_->push_back(name_ + ".didAppear"); }
    void viewWillDisappear(bool) override { log_->push_back(name_ + ".willDisappear"); }
    void viewDidDisappear(bool) override { log_->push_back(name_ + ".didDisappear"); }

private:
    std::string name_;
    std::shared_ptr<Log> log_;
};

class Gate : public UITabBarControllerDelegate {
public:
    explicit Gate(std::shared_ptr<Log> log) : log_(std::move(log)) {}
    int refuse = -1;
    bool shouldSelectViewController(const std::shared_ptr<UITabBarController>& tabs,
                                    const std::shared_ptr<UIViewController>& vc) override {
        log_->push_back("should " + vc->tabBarItem()->title());
        return vc->tabBarItem()->tag() != refuse;
    }
    void didSelectViewController(const std::shared_ptr<UITabBarController>&,
                                 const std::shared_ptr<UIViewController>& vc) override {
        log_->push_back("did " + vc->tabBarItem()->title());
    }

private:
    std::shared_ptr<Log> log_;
};

// Four tabs on screen; item i is titled "Ti" with tag i.
class TabTest : public testing::Test {
protected:
    void SetUp() override {
        log = std::make_shared<Log>();
        gate = std::make_shared<Gate>(log);
        tabs = UITabBarController::init();
        std::vector<std::shared_ptr<UIViewController>> children;
        for (int i = 0; i < 4; ++i) {
            auto t = std::make_shared<Tab>("T" + std::to_string(i), log);
            t->setTabBarItem(UITabBarItem::initWithTitle("T" + std::to_string(i), nullptr, i));
            children.push_back(t);
        }
        tabs->setViewControllers(children);
        tabs->setDelegate(gate);
        window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
        window->makeKeyAndVisible();
        window->setRootViewController(tabs);
        window->layoutIfNeeded();
        log->clear();
    }
    void tapItem(size_t i) {
        auto button = tabs->tabBar()->buttons().at(i);
        CGRect r = button->convertRectToView(button->bounds(), nullptr);
        window->sendTouch(UITouchPhaseBegan, CGPointMake(r.midX(), r.midY()));
        window->sendTouch(UITouchPhaseEnded, CGPointMake(r.midX(), r.midY()));
    }

    std::shared_ptr<Log> log;
    std::shared_ptr<Gate> gate;
    std::shared_ptr<UITabBarController> tabs;
    std::shared_ptr<UIWindow> window;
};

TEST_F(TabTest, ItemsComeFromTheChildren) {
    ASSERT_EQ(tabs->tabBar()->items().size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(tabs->tabBar()->items()[static_cast<size_t>(i)]->title(),
                  "T" + std::to_string(i));
        EXPECT_EQ(tabs->tabBar()->items()[static_cast<size_t>(i)]->tag(), i);
    }
    EXPECT_EQ(tabs->selectedIndex(), 0);
    EXPECT_EQ(tabs->tabBar()->selectedItem(), tabs->viewControllers()[0]->tabBarItem());
    EXPECT_EQ(tabs->tabBar()->frame(), CGRectMake(0, 519, 320, 49));
    EXPECT_EQ(tabs->selectedViewController()->view()->frame(), CGRectMake(0, 0, 320, 519));
}

TEST_F(TabTest, TapAsksTheDelegateSelectsAndTells) {
    tapItem(2);
    EXPECT_EQ(*log, (Log{"should T2", "T0.willDisappear", "T2.willAppear", "T0.didDisappear",
                         "T2.didAppear", "did T2"}));
    EXPECT_EQ(tabs->selectedIndex(), 2);
    EXPECT_EQ(tabs->selectedViewController(), tabs->viewControllers()[2]);
    EXPECT_EQ(tabs->tabBar()->selectedItem()->title(), "T2");
    EXPECT_EQ(tabs->viewControllers()[0]->view()->superview(), nullptr);
    EXPECT_EQ(tabs->viewControllers()[2]->view()->superview(), tabs->view());
}

TEST_F(TabTest, DelegateCanRefuse) {
    gate->refuse = 1;
    tapItem(1);
    EXPECT_EQ(*log, (Log{"should T1"}));
    EXPECT_EQ(tabs->selectedIndex(), 0);
    EXPECT_EQ(tabs->tabBar()->selectedItem()->title(), "T0");
}

TEST_F(TabTest, SelectingInCodeDoesNotAskTheDelegate) {
    tabs->setSelectedIndex(3);
    EXPECT_EQ(*log, (Log{"T0.willDisappear", "T3.willAppear", "T0.didDisappear", "T3.didAppear"}));
    log->clear();
    for (int bad : {-1, 4, 3}) {
        tabs->setSelectedIndex(bad);
    }
    EXPECT_TRUE(log->empty());
    EXPECT_EQ(tabs->selectedIndex(), 3);
}

TEST_F(TabTest, TapOnTheSelectedStackReturnsItToItsRoot) {
    auto root = std::make_shared<UIViewController>();
    auto nav = UINavigationController::initWithRootViewController(root);
    nav->setTabBarItem(UITabBarItem::initWithTitle("Nav", nullptr, 0));
    tabs->setViewControllers({nav, tabs->viewControllers()[1]});
    EXPECT_EQ(tabs->selectedIndex(), 0);
    window->layoutIfNeeded();
    nav->pushViewController(std::make_shared<UIViewController>(), false);
    log->clear();
    tapItem(0);
    EXPECT_EQ(nav->topViewController(), root);
    EXPECT_EQ(*log, (Log{"should Nav", "did Nav"}));
}

TEST_F(TabTest, ReplacingAChildsItemUpdatesTheBar) {
    tabs->viewControllers()[1]->setTabBarItem(UITabBarItem::initWithTitle("New", nullptr, 9));
    EXPECT_EQ(tabs->tabBar()->items()[1]->title(), "New");
}

} // namespace
