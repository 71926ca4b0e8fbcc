#include "host/device/DeviceRoot.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace fs = std::filesystem;
using host::DeviceRoot;

namespace {

class DeviceRootTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "chimora-root-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        temp_ = pattern;
        fs::create_directories(temp_ / "device/var/mobile/Documents");
        fs::create_directories(temp_ / "bundle/en.lproj");
        fs::create_directories(temp_ / "outside");
        std::ofstream(temp_ / "bundle/Info.plist") << "x";
    }
    void TearDown() override { fs::remove_all(temp_); }

    DeviceRoot device() const { return DeviceRoot(temp_ / "device", temp_ / "bundle"); }

    fs::path temp_;
};

struct PathCase {
    const char* devicePath;
    const char* expected; // relative to the temp folder; null when refused
};

TEST_F(DeviceRootTest, MapsDevicePathsAndRefusesThoseThatLeave) {
    const PathCase cases[] = {
        {"/var/mobile/Documents", "device/var/mobile/Documents"},
        {"/var/mobile/Documents/tones/new.caf", "device/var/mobile/Documents/tones/new.caf"},
        {"//var/./mobile//Documents/", "device/var/mobile/Documents"},
        {"/var/../etc/passwd", "device/etc/passwd"},
        {"/", "device"},
        {"/Applications/Chimora.app", "bundle"},
        {"/Applications/Chimora.app/en.lproj/Localizable.strings",
         "bundle/en.lproj/Localizable.strings"},
        {"/Applications/Chimora.app/../Other.app", "device/Applications/Other.app"},
        {"/Applications/Chimora.appx", "device/Applications/Chimora.appx"},
        {"/..", nullptr},
        {"/var/../../etc", nullptr},
        {"/var/mobile/../../../outside", nullptr},
        {"var/mobile/Documents", nullptr},
        {"", nullptr},
        {"./var", nullptr},
    };
    const DeviceRoot root = device();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.devicePath);
        auto mapped = root.hostPath(c.devicePath);
        if (c.expected == nullptr) {
            EXPECT_FALSE(mapped.has_value()) << *mapped;
        } else {
            ASSERT_TRUE(mapped.has_value());
            EXPECT_EQ(mapped->lexically_normal(), (temp_ / c.expected).lexically_normal());
        }
    }
}

TEST_F(DeviceRootTest, SymlinksMayNotLeadOutOfTheDevice) {
    const fs::path docs = temp_ / "device/var/mobile/Documents";
    fs::create_directory_symlink(temp_ / "outside", docs / "escape");
    fs::create_directory_symlink("../../../../outside", docs / "relativeEscape");
    fs::create_symlink(temp_ / "outside/nothing-here", docs / "dangling");
    fs::create_directory_symlink(docs, temp_ / "device/var/mobile/docs-link");
    fs::create_symlink("inside-target", docs / "inside-dangling");
    fs::create_directory_symlink(temp_ / "device", temp_ / "bundle/device-link");
    const DeviceRoot root = device();

    EXPECT_FALSE(root.hostPath("/var/mobile/Documents/escape"));
    EXPECT_FALSE(root.hostPath("/var/mobile/Documents/escape/file.txt"));
    EXPECT_FALSE(root.hostPath("/var/mobile/Documents/relativeEscape/x"));
    EXPECT_FALSE(root.hostPath("/var/mobile/Documents/dangling"));
    EXPECT_FALSE(root.hostPath("/var/mobile/Documents/inside-dangling"));
    // The bundle is its own confinement: the device root is outside of it.
    EXPECT_FALSE(root.hostPath("/Applications/Chimora.app/device-link/var"));

    auto inside = root.hostPath("/var/mobile/docs-link/a.caf");
    ASSERT_TRUE(inside);
    // The link itself is answered, not its target: removing it must remove the link.
    EXPECT_EQ(*inside, temp_ / "device/var/mobile/docs-link/a.caf");
}

TEST_F(DeviceRootTest, AnAbsentRootStillMapsPaths) {
    const DeviceRoot root(temp_ / "not-yet", temp_ / "bundle");
    auto mapped = root.hostPath("/var/mobile/Documents");
    ASSERT_TRUE(mapped);
    EXPECT_EQ(*mapped, temp_ / "not-yet/var/mobile/Documents");
}

TEST_F(DeviceRootTest, RecordsWhatTheAppAsksOfTheDevice) {
    DeviceRoot root = device();
    EXPECT_EQ(root.runCommand("killall SpringBoard"), 0);
    root.openURL("cydia://package/com.example");
    root.recordLog("comments load failure.");
    root.recordSound(platform::SoundKind::System, "/var/mobile/Documents/tones/a.caf");
    root.recordPost("twitter", "text", "wt57");

    EXPECT_EQ(root.commands(), std::vector<std::string>{"killall SpringBoard"});
    EXPECT_EQ(root.urls(), std::vector<std::string>{"cydia://package/com.example"});
    EXPECT_EQ(root.logLines(), std::vector<std::string>{"comments load failure."});
    ASSERT_EQ(root.sounds().size(), 1u);
    EXPECT_EQ(root.sounds()[0].kind, platform::SoundKind::System);
    EXPECT_EQ(root.sounds()[0].source, "/var/mobile/Documents/tones/a.caf");
    ASSERT_EQ(root.posts().size(), 1u);
    EXPECT_EQ(root.posts()[0].platform, "twitter");
    EXPECT_EQ(root.posts()[0].image, "wt57");

    root.clearRecords();
    EXPECT_TRUE(root.commands().empty());
    EXPECT_TRUE(root.logLines().empty());
}

TEST_F(DeviceRootTest, LogLinesFromManyThreadsAreAllKept) {
    DeviceRoot root = device();
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&root] {
            for (int i = 0; i < 200; ++i) {
                root.recordLog("line");
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(root.logLines().size(), 800u);
}

TEST_F(DeviceRootTest, ClockStartsWhereToldAndRunsOn) {
    DeviceRoot root(temp_ / "device", temp_ / "bundle", {}, 1778396400.0);
    const double first = root.now();
    EXPECT_GE(first, 1778396400.0);
    EXPECT_LT(first, 1778396400.0 + 60);
    EXPECT_GE(root.now(), first);

    const DeviceRoot real = device();
    const double wall =
        std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
    EXPECT_NEAR(real.now(), wall, 60);
}

} // namespace
