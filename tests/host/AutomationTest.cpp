#include "host/Automation.h"
#include "tests/support/TestDevice.h"

#include "platform/foundation/RunLoop.h"
#include "platform/render/Canvas.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIWindow.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

class Taps {
public:
    void down(const std::shared_ptr<UIControl>&) { ++downs; }
    void upInside(const std::shared_ptr<UIControl>&) { ++ups; }
    int downs = 0;
    int ups = 0;
};

// A view that takes over drags, recording where the finger went.
class PanRecorder : public UIView {
public:
    using UIView::UIView;
    bool handlesPan() const override { return true; }
    void panBegan(CGPoint start, CGPoint current) override { began.push_back(start); }
    void panMoved(CGPoint current) override { moved.push_back(current); }
    void panEnded(CGPoint current) override { ended.push_back(current); }
    std::vector<CGPoint> began, moved, ended;
};

class AutomationFixture : public testing::Test {
protected:
    AutomationFixture() : screen_(dev_.device().settings()) {}

    void SetUp() override {
        window_ = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
        window_->setBackgroundColor(UIColor::whiteColor());
        pan_ = std::make_shared<PanRecorder>(CGRectMake(0, 300, 320, 268));
        window_->addSubview(pan_);
        button_ = UIButton::initWithFrame(CGRectMake(100, 100, 120, 44));
        button_->setTitle("Download", UIControlStateNormal);
        button_->addTarget(taps_, &Taps::down, UIControlEventTouchDown);
        button_->addTarget(taps_, &Taps::upInside, UIControlEventTouchUpInside);
        window_->addSubview(button_);
        window_->makeKeyAndVisible();
        dir_ = dev_.root().parent_path() / "out";
        fs::create_directories(dir_);
    }
    void TearDown() override { window_->setHidden(true); }

    int run(const std::string& script) {
        host::Automation::Hooks hooks;
        hooks.afterStep = [this] { ++steps_; };
        hooks.setActive = [this](bool a) { activeCalls_.push_back(a); };
        host::Automation automation(screen_, dev_.device(), hooks);
        std::istringstream in(script);
        out_.str("");
        err_.str("");
        return automation.run(in, out_, err_);
    }

    testsupport::TestDevice dev_;
    host::ScreenRenderer screen_;
    std::shared_ptr<UIWindow> window_;
    std::shared_ptr<UIButton> button_;
    std::shared_ptr<PanRecorder> pan_;
    std::shared_ptr<Taps> taps_ = std::make_shared<Taps>();
    fs::path dir_;
    std::ostringstream out_, err_;
    int steps_ = 0;
    std::vector<bool> activeCalls_;
};

TEST_F(AutomationFixture, TapOnAControlIsTouchDownThenUpInside) {
    EXPECT_EQ(run("tap 160 120\n"), 0);
    EXPECT_EQ(taps_->downs, 1);
    EXPECT_EQ(taps_->ups, 1);
    EXPECT_EQ(run("tap 10 10\n"), 0);
    EXPECT_EQ(taps_->downs, 1);
    EXPECT_EQ(taps_->ups, 1);
}

TEST_F(AutomationFixture, PressAndReleaseAreSeparateHalves) {
    EXPECT_EQ(run("press 160 120\n"), 0);
    EXPECT_EQ(taps_->downs, 1);
    EXPECT_EQ(taps_->ups, 0);
    EXPECT_EQ(run("release 160 120\n"), 0);
    EXPECT_EQ(taps_->ups, 1);
}

TEST_F(AutomationFixture, DragMovesTheFingerInStepsToTheEnd) {
    EXPECT_EQ(run("drag 160 500 160 350 100\n"), 0);
    ASSERT_EQ(pan_->began.size(), 1u);
    EXPECT_DOUBLE_EQ(pan_->began[0].y, 500);
    ASSERT_EQ(pan_->ended.size(), 1u);
    EXPECT_DOUBLE_EQ(pan_->ended[0].x, 160);
    EXPECT_DOUBLE_EQ(pan_->ended[0].y, 350);
    ASSERT_GE(pan_->moved.size(), 3u);
    for (size_t i = 1; i < pan_->moved.size(); ++i) {
        EXPECT_LE(pan_->moved[i].y, pan_->moved[i - 1].y);
    }
    EXPECT_EQ(taps_->downs, 0);
}

TEST_F(AutomationFixture, WaitAndIdleRunTheMainLoop) {
    bool timerFired = false;
    RunLoop::main().dispatchAfter(0.02, [&] { timerFired = true; });
    EXPECT_EQ(run("wait 200\n"), 0);
    EXPECT_TRUE(timerFired);

    std::atomic<bool> delivered{false};
    RunLoop::main().beginActivity();
    std::thread worker([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        dispatchMain([&] { delivered = true; });
        RunLoop::main().endActivity();
    });
    EXPECT_EQ(run("idle 5000\n"), 0);
    worker.join();
    EXPECT_TRUE(delivered);
}

TEST_F(AutomationFixture, ActivationGoesThroughTheHook) {
    EXPECT_EQ(run("deactivate\nactivate\n"), 0);
    EXPECT_EQ(activeCalls_, (std::vector<bool>{false, true}));
}

TEST_F(AutomationFixture, DumpWritesTheTreeAndRecords) {
    dev_.device().runCommand("killall SpringBoard");
    auto file = dir_ / "dump.json";
    EXPECT_EQ(run("dump " + file.string() + "\ndump -\n"), 0);
    std::ifstream in(file);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto json = Json::parse(text);
    ASSERT_TRUE(json);
    EXPECT_EQ(json->get("screen")->get("width")->asNumber(), 320);
    const auto& windows = json->get("windows")->items();
    ASSERT_EQ(windows.size(), 1u);
    bool foundButton = false;
    for (const auto& child : windows[0].get("children")->items()) {
        if (child.get("class")->asString() == "UIButton") {
            foundButton = true;
            EXPECT_EQ(child.get("title")->asString(), "Download");
            const auto& frame = child.get("screen")->items();
            ASSERT_EQ(frame.size(), 4u);
            EXPECT_EQ(frame[0].asNumber(), 100);
        }
    }
    EXPECT_TRUE(foundButton);
    EXPECT_EQ(json->get("host")->get("commands")->items().at(0).asString(), "killall SpringBoard");
    // "dump -" prints the same object on the output.
    auto printed = Json::parse(out_.str());
    ASSERT_TRUE(printed);
    EXPECT_EQ(printed->serialize(), json->serialize());
}

TEST_F(AutomationFixture, ShotIsAPNGAtTheScreensScale) {
    auto file = dir_ / "shot.png";
    EXPECT_EQ(run("shot " + file.string() + "\n"), 0);
    auto bitmap = render::decodeImageFile(file.string());
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->width, 640);
    EXPECT_EQ(bitmap->height, 1136);
    // The white window shows below the status bar.
    EXPECT_EQ(bitmap->argb[static_cast<size_t>(600) * 640 + 20], 0xffffffffu);
}

TEST_F(AutomationFixture, ABadLineStopsTheScriptWithItsNumber) {
    EXPECT_NE(run("# start\ntap 160 120\n\nswipe 1 2\ntap 160 120\n"), 0);
    EXPECT_NE(err_.str().find("line 4"), std::string::npos) << err_.str();
    EXPECT_EQ(taps_->ups, 1); // the line after the bad one never ran
}

TEST_F(AutomationFixture, AFailingStepStopsTheScriptWithItsNumber) {
    auto bad = dir_ / "missing" / "shot.png";
    EXPECT_NE(run("tap 160 120\nshot " + bad.string() + "\ntap 160 120\n"), 0);
    EXPECT_NE(err_.str().find("line 2"), std::string::npos) << err_.str();
    EXPECT_EQ(taps_->ups, 1);
}

TEST_F(AutomationFixture, QuitEndsTheScript) {
    EXPECT_EQ(run("tap 160 120\nquit\ntap 160 120\n"), 0);
    EXPECT_EQ(taps_->ups, 1);
    EXPECT_EQ(steps_, 1);
}

} // namespace
