#include "app/core/SharedStates.h"

#include "app/screens/CategoryViewController.h"
#include "app/screens/MainViewController.h"
#include "app/screens/MyTonesController.h"
#include "app/screens/SettingViewController.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UITabBarController.h"
#include "platform/uikit/UITabBarItem.h"
#include "tests/support/TestDevice.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<testsupport::TestDevice> deviceWith(std::string version,
                                                    std::vector<std::string> languages = {"en"}) {
    platform::DeviceSettings settings;
    settings.systemVersion = std::move(version);
    settings.preferredLanguages = std::move(languages);
    auto device = std::make_unique<testsupport::TestDevice>(
        testsupport::TestDevice::Options{.settings = settings});
    SharedStates::shared()->forgetTabControllerForTesting();
    return device;
}

std::vector<std::shared_ptr<UINavigationController>>
stacks(const std::shared_ptr<UITabBarController>& tabs) {
    std::vector<std::shared_ptr<UINavigationController>> out;
    for (const auto& vc : tabs->viewControllers()) {
        out.push_back(std::dynamic_pointer_cast<UINavigationController>(vc));
    }
    return out;
}

void expectColor(const UIColor& actual, const UIColor& expected, const std::string& what) {
    EXPECT_NEAR(actual.red, expected.red, 1e-6) << what;
    EXPECT_NEAR(actual.green, expected.green, 1e-6) << what;
    EXPECT_NEAR(actual.blue, expected.blue, 1e-6) << what;
    EXPECT_NEAR(actual.alpha, expected.alpha, 1e-6) << what;
}

TEST(TabControllerTest, BuiltOnceTheSameObjectsAfterwards) {
    auto device = deviceWith("8.1");
    auto states = SharedStates::shared();
    auto first = states->getTabController();
    auto roots = [](const std::shared_ptr<UITabBarController>& tabs) {
        std::vector<std::shared_ptr<UIViewController>> out;
        for (const auto& nav : stacks(tabs)) {
            out.push_back(nav ? nav->topViewController() : nullptr);
        }
        return out;
    };
    auto firstStacks = first->viewControllers();
    auto firstRoots = roots(first);

    auto second = states->getTabController();
    EXPECT_EQ(second, first);
    EXPECT_EQ(second->viewControllers(), firstStacks);
    EXPECT_EQ(roots(second), firstRoots);
}

TEST(TabControllerTest, FourStacksWithTheirItemsAndScreens) {
    auto device = deviceWith("8.1");
    auto tabs = SharedStates::shared()->getTabController();
    auto navs = stacks(tabs);
    ASSERT_EQ(navs.size(), 4u);
    for (const auto& nav : navs) {
        ASSERT_TRUE(nav);
        ASSERT_EQ(nav->viewControllers().size(), 1u);
    }
    EXPECT_EQ(tabs->selectedIndex(), 0);

    const std::vector<std::string> itemTitles = {"Home", "Categories", "My", "Setting"};
    const std::vector<std::string> images = {"home32", "category32", "my32", "setting32"};
    const std::vector<std::string> screenTitles = {"Home", "Categories", "My Tones", "Setting"};
    for (size_t i = 0; i < navs.size(); ++i) {
        auto item = navs[i]->tabBarItem();
        ASSERT_TRUE(item);
        EXPECT_EQ(item->title(), itemTitles[i]);
        EXPECT_EQ(item->tag(), 0);
        ASSERT_TRUE(item->image()) << images[i];
        EXPECT_EQ(item->image()->name(), images[i]);
        EXPECT_EQ(navs[i]->topViewController()->title(), screenTitles[i]);
    }
    EXPECT_EQ(navs[0]->topViewController(), MainViewController::sharedWithTitle("other"));
    EXPECT_TRUE(std::dynamic_pointer_cast<CategoryViewController>(navs[1]->topViewController()));
    EXPECT_TRUE(std::dynamic_pointer_cast<MyTonesController>(navs[2]->topViewController()));
    EXPECT_TRUE(std::dynamic_pointer_cast<SettingViewController>(navs[3]->topViewController()));
    // The bar shows the four items with the first one selected.
    ASSERT_EQ(tabs->tabBar()->items().size(), 4u);
    EXPECT_EQ(tabs->tabBar()->selectedItem(), navs[0]->tabBarItem());
}

TEST(TabControllerTest, TitlesAreLocalized) {
    auto device = deviceWith("8.1", {"zh-Hans"});
    auto navs = stacks(SharedStates::shared()->getTabController());
    ASSERT_EQ(navs.size(), 4u);
    EXPECT_EQ(navs[1]->tabBarItem()->title(), "分类");
    EXPECT_EQ(navs[2]->tabBarItem()->title(), "我的");
    EXPECT_EQ(navs[3]->topViewController()->title(), "设置");
    EXPECT_NE(navs[2]->topViewController()->title(), "My Tones");
}

TEST(TabControllerTest, TheColours) {
    expectColor(SharedStates::darkBarColor(), {0.0901961, 0.0901961, 0.1333333, 1}, "dark bar");
    expectColor(SharedStates::tabHighlightColor(), {0.3450980, 0.6352941, 0.1882353, 1},
                "tab highlight");
}

struct AppearanceCase {
    std::string version;
    bool system7;
};

class TabAppearanceTest : public testing::TestWithParam<AppearanceCase> {};

TEST_P(TabAppearanceTest, BarsColouredForTheSystem) {
    auto device = deviceWith(GetParam().version);
    auto tabs = SharedStates::shared()->getTabController();
    auto navs = stacks(tabs);
    ASSERT_EQ(navs.size(), 4u);
    for (size_t i = 0; i < navs.size(); ++i) {
        const auto& bar = navs[i]->navigationBar();
        std::string what = GetParam().version + " bar " + std::to_string(i);
        if (GetParam().system7) {
            EXPECT_EQ(bar->barStyle(), UIBarStyleBlack) << what;
            expectColor(bar->tintColor(), UIColor::whiteColor(), what);
            ASSERT_TRUE(bar->barTintColor()) << what;
            expectColor(*bar->barTintColor(), SharedStates::darkBarColor(), what);
        } else {
            // Styles stay as assembled: the platform's for Home, black for the others.
            EXPECT_EQ(bar->barStyle(), i == 0 ? UIBarStyleDefault : UIBarStyleBlack) << what;
            expectColor(bar->tintColor(), SharedStates::darkBarColor(), what);
            EXPECT_FALSE(bar->barTintColor()) << what;
        }
    }
    const auto& tabBar = tabs->tabBar();
    if (GetParam().system7) {
        ASSERT_TRUE(tabBar->barTintColor());
        expectColor(*tabBar->barTintColor(), SharedStates::darkBarColor(), "tab bar background");
        expectColor(tabBar->tintColor(), SharedStates::tabHighlightColor(), "tab bar selection");
    } else {
        EXPECT_FALSE(tabBar->barTintColor());
        expectColor(tabBar->tintColor(), SharedStates::darkBarColor(), "tab bar tint");
    }
}

INSTANTIATE_TEST_SUITE_P(Systems, TabAppearanceTest,
                         testing::Values(AppearanceCase{"5.1.1", false},
                                         AppearanceCase{"6.1", false},
                                         AppearanceCase{"6.9.9", false},
                                         AppearanceCase{"7.0", true}, AppearanceCase{"7", true},
                                         AppearanceCase{"8.1", true}),
                         [](const auto& info) {
                             std::string name = "v" + info.param.version;
                             std::replace(name.begin(), name.end(), '.', '_');
                             return name;
                         });

} // namespace
