#include "host/HostDump.h"
#include "tests/support/TestDevice.h"

#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIWindow.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> strings(const Json* array) {
    std::vector<std::string> out;
    if (array) {
        for (const auto& item : array->items()) {
            out.push_back(item.asString().value_or("<not a string>"));
        }
    }
    return out;
}

TEST(HostDump, EmptyRecordsAreEmptyArrays) {
    testsupport::TestDevice dev;
    Json host = host::dumpRecords(dev.device());
    for (const char* key : {"urls", "commands", "posts", "sounds", "log"}) {
        SCOPED_TRACE(key);
        const Json* v = host.get(key);
        ASSERT_TRUE(v);
        EXPECT_TRUE(v->isArray());
        EXPECT_TRUE(v->items().empty());
    }
}

TEST(HostDump, RecordsKeepTheirOrderAndFields) {
    testsupport::TestDevice dev;
    auto& d = dev.device();
    d.openURL("cydia://package/com.example");
    d.openURL("http://127.0.0.1:8642/update");
    d.runCommand("killall SpringBoard");
    d.recordLog("comments load failure.");
    d.recordSound(platform::SoundKind::System, "/var/mobile/Documents/tones/a.caf");
    d.recordSound(platform::SoundKind::Player, "/var/mobile/Documents/pretones/b.caf");
    d.recordPost("twitter", "Try it", "wt57");

    Json host = host::dumpRecords(d);
    EXPECT_EQ(
        strings(host.get("urls")),
        (std::vector<std::string>{"cydia://package/com.example", "http://127.0.0.1:8642/update"}));
    EXPECT_EQ(strings(host.get("commands")), std::vector<std::string>{"killall SpringBoard"});
    EXPECT_EQ(strings(host.get("log")), std::vector<std::string>{"comments load failure."});
    const auto& sounds = host.get("sounds")->items();
    ASSERT_EQ(sounds.size(), 2u);
    EXPECT_EQ(sounds[0].get("kind")->asString(), "system");
    EXPECT_EQ(sounds[0].get("source")->asString(), "/var/mobile/Documents/tones/a.caf");
    EXPECT_EQ(sounds[1].get("kind")->asString(), "player");
    const auto& posts = host.get("posts")->items();
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(posts[0].get("platform")->asString(), "twitter");
    EXPECT_EQ(posts[0].get("text")->asString(), "Try it");
    EXPECT_EQ(posts[0].get("image")->asString(), "wt57");
}

TEST(HostDump, ScreenAndVisibleWindowsBackToFront) {
    platform::DeviceSettings settings;
    settings.screenWidth = 375;
    settings.screenHeight = 667;
    settings.screenScale = 2;
    testsupport::TestDevice dev({.settings = settings});

    auto back = UIWindow::initWithFrame(CGRectMake(0, 0, 375, 667));
    auto label = UILabel::initWithFrame(CGRectMake(10, 30, 100, 20));
    label->setText("Hello");
    back->addSubview(label);
    back->makeKeyAndVisible();
    auto front = UIWindow::initWithFrame(CGRectMake(0, 0, 375, 667));
    front->setTag(7);
    front->makeKeyAndVisible();
    auto hidden = UIWindow::initWithFrame(CGRectMake(0, 0, 375, 667));
    hidden->makeKeyAndVisible();
    hidden->setHidden(true);

    Json dump = host::dumpScreen(dev.device());
    const Json* screen = dump.get("screen");
    ASSERT_TRUE(screen);
    EXPECT_EQ(screen->get("width")->asNumber(), 375);
    EXPECT_EQ(screen->get("height")->asNumber(), 667);
    EXPECT_EQ(screen->get("scale")->asNumber(), 2);
    ASSERT_TRUE(dump.get("host"));
    const auto& windows = dump.get("windows")->items();
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_EQ(windows[0].get("class")->asString(), "UIWindow");
    EXPECT_EQ(windows[1].get("tag")->asNumber(), 7);
    const auto& children = windows[0].get("children")->items();
    ASSERT_EQ(children.size(), 1u);
    EXPECT_EQ(children[0].get("class")->asString(), "UILabel");
    EXPECT_EQ(children[0].get("text")->asString(), "Hello");

    back->setHidden(true);
    front->setHidden(true);
}

} // namespace
