#include "app/controls/UIControlLarge.h"
#include "app/controls/TaggedRowButton.h"
#include "app/controls/UIButtonLarge.h"
#include "platform/uikit/UIWindow.h"

#include <gtest/gtest.h>

#include <functional>

// The enlarged touch area, the same rule on a control and on a button base.
namespace {

struct Probe {
    CGPoint point;
    bool inside;
};

struct AreaCase {
    const char* label;
    UIEdgeInsets margins; // top, left, bottom, right
    std::vector<Probe> probes;
};

// Controls of 80 x 30 placed away from the origin: the answer must not depend on the frame's
// position, only on its size.
const std::vector<AreaCase> kAreaCases = {
    {"NoMargins",
     {0, 0, 0, 0},
     {{{0, 0}, true},
      {{79.9, 29.9}, true},
      {{80, 10}, false},
      {{10, 30}, false},
      {{-0.1, 10}, false},
      {{10, -0.1}, false}}},
    {"TabBarItemMargins",
     {20, 0, 50, 0},
     {{{10, -20}, true},
      {{10, -20.1}, false},
      {{10, 79.9}, true},
      {{10, 80}, false},
      {{80, 10}, false},
      {{0, 50}, true}}},
    {"AllFourSides",
     {5, 10, 15, 20},
     {{{-10, -5}, true},
      {{-10.1, 0}, false},
      {{99.9, 44.9}, true},
      {{100, 10}, false},
      {{10, 45}, false}}},
    {"NegativeMarginsPullEdgesIn",
     {-5, -10, -5, -10},
     {{{10, 5}, true},
      {{9.9, 10}, false},
      {{69.9, 24.9}, true},
      {{70, 10}, false},
      {{10, 25}, false},
      {{10, 4.9}, false}}},
};

class LargeAreaTest : public testing::TestWithParam<AreaCase> {};

template <class Control> void checkArea(const AreaCase& c, const char* kind) {
    auto control = Control::initWithFrame(CGRectMake(33, 47, 80, 30));
    control->setMMarginInsets(c.margins);
    EXPECT_EQ(control->mMarginInsets(), c.margins);
    for (const Probe& p : c.probes) {
        auto hit = control->hitTest(p.point);
        if (p.inside) {
            EXPECT_EQ(hit.get(), control.get()) << kind << " " << p.point.x << "," << p.point.y;
        } else {
            EXPECT_EQ(hit, nullptr) << kind << " " << p.point.x << "," << p.point.y;
        }
    }
}

TEST_P(LargeAreaTest, TheAreaIsTheFrameWidenedByTheMargins) {
    checkArea<UIControlLarge>(GetParam(), "control");
    checkArea<UIButtonLarge>(GetParam(), "button");
}

INSTANTIATE_TEST_SUITE_P(Margins, LargeAreaTest, testing::ValuesIn(kAreaCases),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(UIControlLargeTest, NewControlsHaveNoMargins) {
    const UIEdgeInsets zero{0, 0, 0, 0};
    EXPECT_EQ(UIControlLarge::init()->mMarginInsets(), zero);
    EXPECT_EQ(UIControlLarge::initWithFrame(CGRectMake(0, 0, 10, 10))->mMarginInsets(), zero);
    EXPECT_EQ(UIButtonLarge::init()->mMarginInsets(), zero);
    EXPECT_EQ(UIButtonLarge::initWithFrame(CGRectMake(0, 0, 10, 10))->mMarginInsets(), zero);
}

TEST(UIControlLargeTest, ASubviewInsideTheAreaNeverTakesTheTouch) {
    auto control = UIControlLarge::initWithFrame(CGRectMake(0, 0, 80, 30));
    auto badge = UIControl::initWithFrame(CGRectMake(60, -10, 30, 20));
    control->addSubview(badge);
    control->setMMarginInsets({20, 0, 50, 0});
    EXPECT_EQ(control->hitTest(CGPointMake(70, 0)).get(), control.get());
    EXPECT_EQ(control->hitTest(CGPointMake(65, -5)).get(), control.get());
}

TEST(UIControlLargeTest, HiddenDisabledOrTransparentControlsAnswerByGeometryAlone) {
    std::vector<std::function<void(UIControlLarge&)>> setups = {
        [](UIControlLarge& c) { c.setHidden(true); },
        [](UIControlLarge& c) { c.setEnabled(false); },
        [](UIControlLarge& c) { c.setAlpha(0); },
        [](UIControlLarge& c) { c.setUserInteractionEnabled(false); },
    };
    for (size_t i = 0; i < setups.size(); ++i) {
        auto control = UIControlLarge::initWithFrame(CGRectMake(0, 0, 80, 30));
        setups[i](*control);
        EXPECT_EQ(control->hitTest(CGPointMake(5, 5)).get(), control.get()) << i;
        EXPECT_EQ(control->hitTest(CGPointMake(85, 5)), nullptr) << i;
    }
}

TEST(UIControlLargeTest, AWindowTouchInTheMarginReachesTheControl) {
    auto window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
    auto control = UIControlLarge::initWithFrame(CGRectMake(100, 500, 80, 30));
    control->setMMarginInsets({20, 0, 50, 0});
    window->addSubview(control);
    EXPECT_EQ(window->hitTest(CGPointMake(110, 485)).get(), control.get());
    EXPECT_NE(window->hitTest(CGPointMake(110, 479)).get(), control.get());
}

TEST(TaggedRowButtonTest, CarriesAnIndexPathOnlyOnceGivenOne) {
    auto button = TaggedRowButton::initWithFrame(CGRectMake(260, 27, 55, 25));
    EXPECT_FALSE(button->mIndexPath());
    EXPECT_EQ(button->frame(), CGRectMake(260, 27, 55, 25));
    button->setMIndexPath(NSIndexPath::indexPathForRow(3, 0));
    ASSERT_TRUE(button->mIndexPath());
    EXPECT_EQ(*button->mIndexPath(), NSIndexPath::indexPathForRow(3, 0));
    button->setMIndexPath(std::nullopt);
    EXPECT_FALSE(button->mIndexPath());
}

TEST(TaggedRowButtonTest, IsAGlossyButtonWithTheKitsDefaults) {
    auto button = TaggedRowButton::initWithFrame(CGRectMake(0, 0, 55, 25));
    std::shared_ptr<GlossyButton> glossy = button;
    EXPECT_FALSE(glossy->tintColor());
    EXPECT_TRUE(button->isEnabled());
}

} // namespace
