#include "platform/foundation/NSUserDefaults.h"

#include "platform/foundation/NSBundle.h"
#include "tests/support/TestDevice.h"

#include <gtest/gtest.h>

#include <plist/plist.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;
using testsupport::TestDevice;

namespace {

const std::string kPrefs = "/var/mobile/Library/Preferences/com.example.tones.plist";

// A bundle that names its identifier, so the defaults file has a known place.
class NSUserDefaultsTest : public ::testing::Test {
protected:
    static fs::path makeBundle(const fs::path& where) {
        fs::create_directories(where);
        std::ofstream(where / "Info.plist")
            << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<plist version=\"1.0\"><dict><key>CFBundleIdentifier</key>"
               "<string>com.example.tones</string></dict></plist>\n";
        return where;
    }

    NSUserDefaultsTest()
        : bundleDir_(fs::temp_directory_path() /
                     ("chimora-defaults-bundle-" + std::to_string(::getpid()))),
          dev_(TestDevice::Options{.appBundle = makeBundle(bundleDir_)}) {}
    ~NSUserDefaultsTest() override { fs::remove_all(bundleDir_); }

    // What a later launch of the app would see.
    static std::shared_ptr<NSUserDefaults> relaunch() {
        NSUserDefaults::resetStandardUserDefaultsForTesting();
        return NSUserDefaults::standardUserDefaults();
    }

    fs::path bundleDir_;
    TestDevice dev_;
};

TEST_F(NSUserDefaultsTest, AbsentKeysAnswerFalseAndNothing) {
    auto defaults = NSUserDefaults::standardUserDefaults();
    EXPECT_EQ(defaults->devicePath(), kPrefs);
    EXPECT_FALSE(defaults->boolForKey("prefetch_toggle_off"));
    EXPECT_FALSE(defaults->stringForKey("current_selected_tone"));
    EXPECT_FALSE(defaults->hasObjectForKey("current_selected_tone"));
    EXPECT_FALSE(dev_.exists(kPrefs)) << "reading alone writes nothing";
}

TEST_F(NSUserDefaultsTest, ChangesAreStoredAtOnceAndSurviveARelaunch) {
    auto defaults = NSUserDefaults::standardUserDefaults();
    defaults->setBool(true, "prefetch_toggle_off");
    defaults->setString("默认.caf", "current_selected_tone");
    defaults->setString("gone soon", "other");
    defaults->removeObjectForKey("other");

    auto again = relaunch();
    ASSERT_NE(again.get(), defaults.get());
    EXPECT_TRUE(again->boolForKey("prefetch_toggle_off"));
    EXPECT_EQ(again->stringForKey("current_selected_tone"), "默认.caf");
    EXPECT_TRUE(again->hasObjectForKey("current_selected_tone"));
    EXPECT_FALSE(again->hasObjectForKey("other"));

    again->setBool(false, "prefetch_toggle_off");
    EXPECT_FALSE(relaunch()->boolForKey("prefetch_toggle_off"));
}

TEST_F(NSUserDefaultsTest, TheFileIsARealPropertyList) {
    NSUserDefaults::standardUserDefaults()->setString("a.caf", "current_selected_tone");
    EXPECT_TRUE(NSUserDefaults::standardUserDefaults()->synchronize());
    auto bytes = dev_.readFile(kPrefs);
    ASSERT_TRUE(bytes);
    plist_t root = nullptr;
    plist_from_memory(bytes->data(), static_cast<uint32_t>(bytes->size()), &root);
    ASSERT_NE(root, nullptr);
    plist_t value = plist_dict_get_item(root, "current_selected_tone");
    ASSERT_NE(value, nullptr);
    char* text = nullptr;
    plist_get_string_val(value, &text);
    EXPECT_STREQ(text, "a.caf");
    std::free(text);
    plist_free(root);
    auto names = fs::directory_iterator(dev_.hostPath("/var/mobile/Library/Preferences"));
    EXPECT_EQ(std::distance(names, fs::directory_iterator()), 1) << "no temporary left over";
}

TEST_F(NSUserDefaultsTest, ValuesOfOtherKindsAreReadLikeTheDevice) {
    dev_.writeFile(kPrefs, "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>"
                           "<key>n</key><integer>3</integer>"
                           "<key>zero</key><integer>0</integer>"
                           "<key>yes</key><string>YES</string>"
                           "<key>no</key><string>no</string>"
                           "<key>list</key><array/>"
                           "</dict></plist>");
    auto defaults = NSUserDefaults::standardUserDefaults();
    EXPECT_TRUE(defaults->boolForKey("n"));
    EXPECT_EQ(defaults->stringForKey("n"), "3");
    EXPECT_FALSE(defaults->boolForKey("zero"));
    EXPECT_TRUE(defaults->boolForKey("yes"));
    EXPECT_FALSE(defaults->boolForKey("no"));
    EXPECT_FALSE(defaults->stringForKey("list"));
    EXPECT_TRUE(defaults->hasObjectForKey("list"));
    // Keys the app does not know survive its writes.
    defaults->setBool(true, "prefetch_toggle_off");
    EXPECT_TRUE(relaunch()->hasObjectForKey("list"));
}

struct BadFile {
    const char* name;
    const char* contents;
};

class BrokenDefaultsFile : public NSUserDefaultsTest,
                           public ::testing::WithParamInterface<BadFile> {};

TEST_P(BrokenDefaultsFile, IsMovedAsideAndTheAppStartsEmpty) {
    dev_.writeFile(kPrefs, GetParam().contents);
    auto defaults = NSUserDefaults::standardUserDefaults();
    EXPECT_FALSE(defaults->hasObjectForKey("current_selected_tone"));
    EXPECT_FALSE(defaults->boolForKey("prefetch_toggle_off"));
    EXPECT_EQ(dev_.readFile(kPrefs + ".corrupt"), GetParam().contents);

    defaults->setString("b.caf", "current_selected_tone");
    EXPECT_EQ(relaunch()->stringForKey("current_selected_tone"), "b.caf");
    EXPECT_EQ(dev_.readFile(kPrefs + ".corrupt"), GetParam().contents) << "still kept";
}

INSTANTIATE_TEST_SUITE_P(
    Files, BrokenDefaultsFile,
    ::testing::Values(BadFile{"garbage", "this is not a property list"},
                      BadFile{"truncated", "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>"
                                           "<key>current_selected_tone</key><str"},
                      BadFile{"empty", ""},
                      BadFile{"notADictionary", "<?xml version=\"1.0\"?><plist version=\"1.0\">"
                                                "<array><string>x</string></array></plist>"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(NSUserDefaultsTest, AFolderInPlaceOfTheFileIsMovedAside) {
    fs::create_directories(dev_.hostPath(kPrefs));
    auto defaults = NSUserDefaults::standardUserDefaults();
    EXPECT_FALSE(defaults->hasObjectForKey("x"));
    EXPECT_TRUE(fs::is_directory(dev_.hostPath(kPrefs + ".corrupt")));
    defaults->setBool(true, "x");
    EXPECT_TRUE(relaunch()->boolForKey("x"));
}

TEST_F(NSUserDefaultsTest, AnUnreadableFileIsMovedAside) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not stop root";
    }
    dev_.writeFile(kPrefs, "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict/></plist>");
    fs::permissions(dev_.hostPath(kPrefs), fs::perms::none);
    auto defaults = NSUserDefaults::standardUserDefaults();
    EXPECT_FALSE(defaults->hasObjectForKey("x"));
    EXPECT_TRUE(dev_.exists(kPrefs + ".corrupt"));
    defaults->setBool(true, "x");
    EXPECT_TRUE(relaunch()->boolForKey("x"));
}

TEST(NSUserDefaultsWithoutIdentifier, FallsBackToAFixedName) {
    TestDevice dev(TestDevice::Options{.appBundle = fs::path("/nonexistent-bundle")});
    auto defaults = NSUserDefaults::standardUserDefaults();
    EXPECT_EQ(defaults->devicePath(), "/var/mobile/Library/Preferences/com.chimora.Chimora.plist");
    defaults->setBool(true, "k");
    EXPECT_TRUE(dev.exists(defaults->devicePath()));
}

} // namespace
