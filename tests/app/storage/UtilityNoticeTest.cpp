#include "app/storage/Utility.h"
#include "platform/foundation/NSTimer.h"
#include "platform/foundation/RunLoop.h"
#include "platform/kits/NoticeOverlay.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIViewController.h"
#include "platform/uikit/UIWindow.h"
#include "tests/support/TestDevice.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

using testsupport::TestDevice;

class UtilityNoticeTest : public testing::Test {
protected:
    void SetUp() override {
        window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
        root = UIViewController::init();
        window->setRootViewController(root);
        window->makeKeyAndVisible();
    }

    std::vector<std::shared_ptr<NoticeOverlay>> notices() const {
        std::vector<std::shared_ptr<NoticeOverlay>> found;
        for (const auto& v : root->view()->subviews()) {
            if (auto n = std::dynamic_pointer_cast<NoticeOverlay>(v)) {
                found.push_back(n);
            }
        }
        return found;
    }

    static void settle() {
        while (RunLoop::main().runOnce()) {
        }
    }

    TestDevice dev;
    std::shared_ptr<UIWindow> window;
    std::shared_ptr<UIViewController> root;
};

TEST_F(UtilityNoticeTest, ANoticeStandsOverTheRootScreenWithItsSettings) {
    Utility::showNotice("Saved");
    auto shown = notices();
    ASSERT_EQ(shown.size(), 1u);
    const auto& notice = shown[0];
    EXPECT_EQ(notice->caption(), "Saved");
    EXPECT_TRUE(notice->isShowing());
    EXPECT_DOUBLE_EQ(notice->opacity(), 0.6);
    EXPECT_DOUBLE_EQ(notice->disappearScaleFactor(), 1.0);
    EXPECT_TRUE(notice->hasShadow());
    EXPECT_EQ(notice->touches(), NoticeTouches::PassThrough);
    EXPECT_FALSE(notice->delegate());
    EXPECT_EQ(root->view()->subviews().back(), notice) << "over whatever the screen shows";
}

TEST_F(UtilityNoticeTest, TouchesReachTheScreenUnderANotice) {
    struct Counter {
        int taps = 0;
        void tapped() { ++taps; }
    };
    auto counter = std::make_shared<Counter>();
    auto button = UIButton::initWithFrame(root->view()->bounds());
    button->addTarget(counter, &Counter::tapped, UIControlEventTouchUpInside);
    root->view()->addSubview(button);
    Utility::showNotice("over the button");
    ASSERT_EQ(notices().size(), 1u);
    auto box = notices()[0]->box();
    const CGRect onScreen = box->convertRectToView(box->bounds(), nullptr);
    const CGPoint middle = CGPointMake(onScreen.midX(), onScreen.midY());
    window->sendTouch(UITouchPhaseBegan, middle);
    window->sendTouch(UITouchPhaseEnded, middle);
    EXPECT_EQ(counter->taps, 1);
}

struct DurationCase {
    const char* name;
    void (*show)();
    double seconds;
};

TEST_F(UtilityNoticeTest, EachKindOfNoticeHidesAfterItsTime) {
    const DurationCase cases[] = {
        {"showNotice", [] { Utility::showNotice("a"); }, 1},
        {"showLongNotice", [] { Utility::showLongNotice("a"); }, 1},
        {"showNotice 3", [] { Utility::showNotice("a", 3); }, 3},
        {"failure notice", [] { Utility::showToneSelectedFailureNotice(); }, 1},
    };
    for (const auto& c : cases) {
        c.show();
        auto shown = notices();
        ASSERT_EQ(shown.size(), 1u) << c.name;
        auto timer = shown[0]->hideTimer();
        ASSERT_TRUE(timer) << c.name;
        const double remaining = timer->fireDate().timeIntervalSinceNow();
        EXPECT_GT(remaining, c.seconds - 0.5) << c.name;
        EXPECT_LE(remaining, c.seconds) << c.name;
        timer->fire();
        settle();
        EXPECT_TRUE(notices().empty()) << c.name;
    }
}

TEST_F(UtilityNoticeTest, TwoNoticesStandOneOverTheOtherUntilEachHides) {
    Utility::showNotice("first");
    Utility::showNotice("second", 2);
    auto shown = notices();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0]->caption(), "first");
    EXPECT_EQ(shown[1]->caption(), "second");
    shown[0]->hideTimer()->fire();
    settle();
    ASSERT_EQ(notices().size(), 1u);
    EXPECT_EQ(notices()[0]->caption(), "second");
}

TEST(UtilityFailureNoticeTest, TheFailureNoticeIsLocalized) {
    struct Case {
        const char* language;
        const char* text;
    };
    for (const Case& c : {Case{"en", "Tone Selected Failure"}, Case{"zh-Hans", "设置铃声失败"},
                          Case{"zh-Hant", "設定鈴聲失敗"}}) {
        TestDevice::Options options;
        options.settings.preferredLanguages = {c.language};
        TestDevice dev(options);
        auto window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
        auto root = UIViewController::init();
        window->setRootViewController(root);
        window->makeKeyAndVisible();
        Utility::showToneSelectedFailureNotice();
        ASSERT_FALSE(root->view()->subviews().empty()) << c.language;
        auto notice = std::dynamic_pointer_cast<NoticeOverlay>(root->view()->subviews().back());
        ASSERT_TRUE(notice) << c.language;
        EXPECT_EQ(notice->caption(), c.text) << c.language;
    }
}

TEST(UtilityNoticeNoWindowTest, WithoutAKeyWindowNothingIsShown) {
    TestDevice dev;
    ASSERT_FALSE(UIWindow::keyWindow());
    Utility::showNotice("nowhere");
    EXPECT_FALSE(UIWindow::keyWindow());
}

TEST(UtilitySeparatorTest, ALightGreyViewOfTheGivenFrame) {
    const CGRect frame = CGRectMake(15, 43, 290, 1);
    auto line = Utility::getSeperatorLine(frame);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->frame(), frame);
    ASSERT_TRUE(line->backgroundColor());
    EXPECT_NEAR(line->backgroundColor()->red, 0.8705882, 1e-6);
    EXPECT_NEAR(line->backgroundColor()->green, 0.8705882, 1e-6);
    EXPECT_NEAR(line->backgroundColor()->blue, 0.8705882, 1e-6);
    EXPECT_DOUBLE_EQ(line->backgroundColor()->alpha, 1.0);
    EXPECT_NE(Utility::getSeperatorLine(frame), line) << "a new view each time";
}

// ---- application name -----------------------------------------------------------------------

// An app bundle holding only an Info.plist, with or without a display name.
class InfoBundle {
public:
    explicit InfoBundle(const std::optional<std::string>& displayName) {
        std::string dir = (std::filesystem::temp_directory_path() / "chimora-info-XXXXXX").string();
        if (::mkdtemp(dir.data()) == nullptr) {
            ADD_FAILURE() << "mkdtemp";
        }
        path_ = dir;
        std::ofstream out(path_ / "Info.plist");
        out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<plist version=\"1.0\"><dict>"
               "<key>CFBundleIdentifier</key><string>com.chimora.test</string>";
        if (displayName) {
            out << "<key>CFBundleDisplayName</key><string>" << *displayName << "</string>";
        }
        out << "</dict></plist>\n";
    }
    ~InfoBundle() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

struct AppNameCase {
    std::optional<std::string> displayName;
    std::optional<std::string> appName;
};

TEST(UtilityAppNameTest, TheEditionWordIsDroppedButNotTheSpaceBeforeIt) {
    // The ending is compared case-sensitively, so "Repro" keeps its lowercase "pro".
    const AppNameCase cases[] = {
        {"Name Pro", "Name "}, {"Name Lite", "Name "},     {"Name Free", "Name "},
        {"RePro", "Re"},       {"Name", "Name"},           {"Name pro", "Name pro"},
        {"Repro", "Repro"},    {"Name FREE", "Name FREE"}, {"Pro", ""},
        {"Free Pro", "Free "}, {"铃声 Lite", "铃声 "},     {std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        InfoBundle bundle(c.displayName);
        TestDevice dev({.appBundle = bundle.path()});
        EXPECT_EQ(Utility::getAppName(), c.appName) << c.displayName.value_or("<absent>");
    }
}

TEST(UtilityAppNameTest, TheBuiltAppIsNamedWithoutItsEdition) {
    TestDevice dev;
    EXPECT_EQ(Utility::getAppName(), "Chimora ");
}

} // namespace
