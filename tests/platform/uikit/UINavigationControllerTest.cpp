#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UITabBarController.h"
#include "platform/uikit/UIWindow.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

// A screen that writes its events into a shared log.
class Screen : public UIViewController {
public:
    Screen(std::string name, std::shared_ptr<Log> log) : name_(std::move(name)), log_(log) {}
    static std::shared_ptr<Screen> make(const std::string& name, const std::shared_ptr<Log>& log) {
        auto s = std::make_shared<Screen>(name, log);
        s->setTitle(name);
        return s;
    }
    void viewDidLoad() override { log_->push_back(name_ + ".didLoad"); }
    void viewWillAppear(bool) override { log_->push_back(name_ + ".willAppear"); }
    void viewDidAppear(bool) override { log_->push_back(name_ + ".didAppear"); }
    void viewWillDisappear(bool) override { log_->push_back(name_ + ".willDisappear"); }
    void viewDidDisappear(bool) override { log_->push_back(name_ + ".didDisappear"); }

private:
    std::string name_;
    std::shared_ptr<Log> log_;
};

class NavDelegate : public UINavigationControllerDelegate {
public:
    explicit NavDelegate(std::shared_ptr<Log> log) : log_(std::move(log)) {}
    void willShowViewController(const std::shared_ptr<UINavigationController>&,
                                const std::shared_ptr<UIViewController>& vc, bool) override {
        log_->push_back("willShow " + vc->title());
    }
    void didShowViewController(const std::shared_ptr<UINavigationController>&,
                               const std::shared_ptr<UIViewController>& vc, bool) override {
        log_->push_back("didShow " + vc->title());
    }

private:
    std::shared_ptr<Log> log_;
};

class NavTest : public testing::Test {
protected:
    void SetUp() override {
        log = std::make_shared<Log>();
        root = Screen::make("A", log);
        nav = UINavigationController::initWithRootViewController(root);
    }
    // Puts the stack on screen as the window's root, then forgets the events so far.
    void showInWindow() {
        window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
        window->makeKeyAndVisible();
        window->setRootViewController(nav);
        window->layoutIfNeeded();
        log->clear();
    }
    void tapView(const std::shared_ptr<UIView>& v) {
        ASSERT_NE(v, nullptr);
        ASSERT_NE(window, nullptr);
        CGRect r = v->convertRectToView(v->bounds(), nullptr);
        CGPoint p = CGPointMake(r.midX(), r.midY());
        window->sendTouch(UITouchPhaseBegan, p);
        window->sendTouch(UITouchPhaseEnded, p);
    }

    std::shared_ptr<Log> log;
    std::shared_ptr<Screen> root;
    std::shared_ptr<UINavigationController> nav;
    std::shared_ptr<UIWindow> window;
};

TEST_F(NavTest, RootOnScreenGetsItsAppearanceEvents) {
    window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
    window->makeKeyAndVisible();
    window->setRootViewController(nav);
    EXPECT_EQ(*log, (Log{"A.didLoad", "A.willAppear", "A.didAppear"}));
}

TEST_F(NavTest, PushOrderOfAppearanceEvents) {
    showInWindow();
    auto b = Screen::make("B", log);
    nav->pushViewController(b, true);
    EXPECT_EQ(*log, (Log{"B.didLoad", "A.willDisappear", "B.willAppear", "A.didDisappear",
                         "B.didAppear"}));
    EXPECT_EQ(nav->topViewController(), b);
    EXPECT_EQ(nav->visibleViewController(), b);
    EXPECT_EQ(b->navigationController(), nav);
    EXPECT_EQ(b->parentViewController(), nav);
    EXPECT_EQ(b->view()->superview(), nav->view());
    EXPECT_EQ(root->view()->superview(), nullptr);
}

TEST_F(NavTest, PopOrderOfAppearanceEvents) {
    showInWindow();
    auto b = Screen::make("B", log);
    nav->pushViewController(b, false);
    log->clear();
    EXPECT_EQ(nav->popViewControllerAnimated(true), b);
    EXPECT_EQ(*log, (Log{"B.willDisappear", "A.willAppear", "B.didDisappear", "A.didAppear"}));
    EXPECT_EQ(b->navigationController(), nullptr);
    EXPECT_EQ(nav->topViewController(), root);
}

TEST_F(NavTest, PopOfTheRootDoesNothing) {
    showInWindow();
    EXPECT_EQ(nav->popViewControllerAnimated(true), nullptr);
    EXPECT_TRUE(nav->popToRootViewControllerAnimated(true).empty());
    EXPECT_TRUE(log->empty());
    EXPECT_EQ(nav->viewControllers().size(), 1u);
}

TEST_F(NavTest, PopToRootAnswersThePoppedScreens) {
    showInWindow();
    auto b = Screen::make("B", log);
    auto c = Screen::make("C", log);
    nav->pushViewController(b, false);
    nav->pushViewController(c, false);
    log->clear();
    auto popped = nav->popToRootViewControllerAnimated(true);
    EXPECT_EQ(popped, (std::vector<std::shared_ptr<UIViewController>>{b, c}));
    EXPECT_EQ(*log, (Log{"C.willDisappear", "A.willAppear", "C.didDisappear", "A.didAppear"}));
    EXPECT_EQ(nav->viewControllers().size(), 1u);
}

TEST_F(NavTest, OffScreenStackSendsNoAppearanceEvents) {
    auto b = Screen::make("B", log);
    nav->pushViewController(b, true);
    EXPECT_TRUE(log->empty()) << "nothing is loaded or shown yet";
    EXPECT_EQ(nav->viewControllers().size(), 2u);
    nav->view();
    EXPECT_EQ(*log, (Log{"B.didLoad"})) << "only the top screen's view is needed";
}

TEST_F(NavTest, PushingTheSameScreenTwiceIsIgnored) {
    showInWindow();
    nav->pushViewController(root, true);
    nav->pushViewController(nullptr, true);
    EXPECT_EQ(nav->viewControllers().size(), 1u);
    EXPECT_TRUE(log->empty());
}

TEST_F(NavTest, DelegateHearsAroundTheTransition) {
    auto delegate = std::make_shared<NavDelegate>(log);
    nav->setDelegate(delegate);
    showInWindow();
    nav->pushViewController(Screen::make("B", log), true);
    EXPECT_EQ(log->front(), "willShow B");
    EXPECT_EQ(log->back(), "didShow B");
    delegate.reset();
    log->clear();
    nav->popViewControllerAnimated(true); // a released delegate is simply not told
    EXPECT_EQ(log->size(), 4u);
}

TEST_F(NavTest, AControllerCanBeItsOwnDelegate) {
    nav->setDelegate(nav);
    EXPECT_EQ(nav->delegate(), nav);
    showInWindow();
    nav->pushViewController(Screen::make("B", log), true);
    EXPECT_EQ(nav->viewControllers().size(), 2u);
}

TEST_F(NavTest, BackButtonTitle) {
    struct Case {
        std::string previousTitle;
        std::string backItemTitle; // empty: no back item
        bool hidesBackButton;
        std::string expected;
    };
    const Case cases[] = {
        {"Home", "", false, "Home"},
        {"Home", "Return", false, "Return"},
        {"", "", false, "Back"},
        {"Home", "", true, ""},
    };
    for (const auto& c : cases) {
        auto first = std::make_shared<UIViewController>();
        first->setTitle(c.previousTitle);
        if (!c.backItemTitle.empty()) {
            first->navigationItem()->setBackBarButtonItem(
                UIBarButtonItem::initWithTitle(c.backItemTitle, UIBarButtonItemStyleBordered));
        }
        auto n = UINavigationController::initWithRootViewController(first);
        auto second = std::make_shared<UIViewController>();
        second->navigationItem()->setHidesBackButton(c.hidesBackButton);
        n->pushViewController(second, false);
        EXPECT_EQ(n->navigationBar()->backButtonTitle(), c.expected) << c.previousTitle;
        EXPECT_EQ(n->navigationBar()->backButton() != nullptr, !c.expected.empty());
    }
}

TEST_F(NavTest, BackButtonFollowsALaterTitleChange) {
    auto back = UIBarButtonItem::initWithTitle("", UIBarButtonItemStyleBordered);
    root->navigationItem()->setBackBarButtonItem(back);
    nav->pushViewController(Screen::make("B", log), false);
    back->setTitle("Return");
    EXPECT_EQ(nav->navigationBar()->backButtonTitle(), "Return");
    EXPECT_EQ(nav->navigationBar()->backButton()->dumpTree().get("title")->asString(), "Return");
}

TEST_F(NavTest, RootHasNoBackButton) {
    EXPECT_EQ(nav->navigationBar()->backButton(), nullptr);
    EXPECT_EQ(nav->navigationBar()->topItem()->title(), "A");
}

TEST_F(NavTest, TappingBackPops) {
    showInWindow();
    auto b = Screen::make("B", log);
    nav->pushViewController(b, true);
    window->layoutIfNeeded();
    tapView(nav->navigationBar()->backButton());
    EXPECT_EQ(nav->topViewController(), root);
    EXPECT_EQ(nav->navigationBar()->backButton(), nullptr);
}

TEST_F(NavTest, BarSitsUnderTheStatusBarAndTheContentBelowIt) {
    showInWindow();
    EXPECT_EQ(nav->navigationBar()->frame(), CGRectMake(0, 20, 320, 44));
    EXPECT_EQ(root->view()->frame(), CGRectMake(0, 64, 320, 504));
    nav->setNavigationBarHidden(true);
    EXPECT_TRUE(nav->isNavigationBarHidden());
    EXPECT_TRUE(nav->navigationBar()->isHidden());
    EXPECT_EQ(root->view()->frame(), CGRectMake(0, 0, 320, 568));
}

TEST_F(NavTest, InsideATabBarControllerTheContentEndsAboveTheTabBar) {
    auto tabs = UITabBarController::init();
    tabs->setViewControllers({nav});
    window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
    window->makeKeyAndVisible();
    window->setRootViewController(tabs);
    window->layoutIfNeeded();
    EXPECT_EQ(root->view()->frame(), CGRectMake(0, 64, 320, 455));
    EXPECT_EQ(root->tabBarController(), tabs);
    EXPECT_EQ(tabs->tabBar()->frame(), CGRectMake(0, 519, 320, 49));

    auto web = Screen::make("Web", log);
    web->setHidesBottomBarWhenPushed(true);
    nav->pushViewController(web, true);
    EXPECT_TRUE(tabs->tabBar()->isHidden());
    EXPECT_EQ(web->view()->frame(), CGRectMake(0, 64, 320, 504));
    nav->popViewControllerAnimated(true);
    EXPECT_FALSE(tabs->tabBar()->isHidden());
    EXPECT_EQ(root->view()->frame(), CGRectMake(0, 64, 320, 455));
}

// --- bar button items ---

struct Target {
    std::vector<std::shared_ptr<UIBarButtonItem>> senders;
    int plain = 0;
    void withSender(std::shared_ptr<UIBarButtonItem> sender) { senders.push_back(sender); }
    void withoutSender() { ++plain; }
};

TEST(UIBarButtonItem, ActionGoesToTheTargetWithTheItemAsSender) {
    auto target = std::make_shared<Target>();
    auto item = UIBarButtonItem::initWithTitle("Edit", UIBarButtonItemStyleBordered, target,
                                               &Target::withSender);
    EXPECT_EQ(item->style(), UIBarButtonItemStyleBordered);
    item->sendAction();
    ASSERT_EQ(target->senders.size(), 1u);
    EXPECT_EQ(target->senders[0], item);
}

TEST(UIBarButtonItem, SystemItemWithAPlainAction) {
    auto target = std::make_shared<Target>();
    auto item = UIBarButtonItem::initWithBarButtonSystemItem(UIBarButtonSystemItemCompose, target,
                                                             &Target::withoutSender);
    EXPECT_EQ(item->systemItem(), UIBarButtonSystemItemCompose);
    item->sendAction();
    EXPECT_EQ(target->plain, 1);
}

TEST(UIBarButtonItem, ReleasedTargetOrDisabledItemDoesNothing) {
    auto target = std::make_shared<Target>();
    auto item = UIBarButtonItem::initWithTitle("Go", UIBarButtonItemStylePlain, target,
                                               &Target::withoutSender);
    item->setEnabled(false);
    item->sendAction();
    EXPECT_EQ(target->plain, 0);
    item->setEnabled(true);
    std::weak_ptr<Target> weak = target;
    target.reset();
    EXPECT_TRUE(weak.expired()) << "the item does not keep its target";
    item->sendAction();
    auto noTarget = UIBarButtonItem::initWithTitle("Back", UIBarButtonItemStyleBordered);
    EXPECT_FALSE(noTarget->hasAction());
    noTarget->sendAction();
}

TEST_F(NavTest, TappingTheRightButtonSendsItsAction) {
    auto target = std::make_shared<Target>();
    auto item = UIBarButtonItem::initWithBarButtonSystemItem(UIBarButtonSystemItemCompose, target,
                                                             &Target::withSender);
    root->navigationItem()->setRightBarButtonItem(item);
    showInWindow();
    auto button = nav->navigationBar()->rightButton();
    ASSERT_NE(button, nullptr);
    EXPECT_GT(button->convertRectToView(button->bounds(), nullptr).minX(), 200);
    tapView(button);
    ASSERT_EQ(target->senders.size(), 1u);
    EXPECT_EQ(target->senders[0], item);
    root->navigationItem()->setRightBarButtonItem(nullptr);
    EXPECT_EQ(nav->navigationBar()->rightButton(), nullptr);
}

TEST_F(NavTest, LeftItemReplacesTheBackButton) {
    auto b = Screen::make("B", log);
    b->navigationItem()->setLeftBarButtonItem(
        UIBarButtonItem::initWithTitle("Cancel", UIBarButtonItemStylePlain));
    nav->pushViewController(b, false);
    EXPECT_EQ(nav->navigationBar()->backButton(), nullptr);
    EXPECT_NE(nav->navigationBar()->leftButton(), nullptr);
}

} // namespace
