#include "app/storage/StoreManager.h"
#include "app/storage/Utility.h"
#include "platform/foundation/NSFileManager.h"
#include "platform/foundation/NSUserDefaults.h"
#include "platform/foundation/SearchPaths.h"
#include "tests/support/TestDevice.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

using testsupport::TestDevice;

const std::string kTones = "/var/mobile/Documents/tones/";
const std::string kNewRoot = "/var/mobile/Containers/Bundle/Application/";
const std::string kOldRoot = "/var/mobile/Applications/";

std::optional<std::string> storedSelection() {
    return NSUserDefaults::standardUserDefaults()->stringForKey(Utility::kCurrentSelectedToneKey);
}

// ---- names ---------------------------------------------------------------------------------

struct DisplayCase {
    std::optional<std::string> name;
    std::optional<std::string> shown;
};

TEST(UtilityNamesTest, DisplayFormDropsATrailingCafOnlyFromLongerNames) {
    const DisplayCase cases[] = {
        {"abc.caf", "abc"},
        {".caf", ".caf"},
        {"a.caf", "a"},
        {"abc.mp3", "abc.mp3"},
        {"abc.CAF", "abc.CAF"},
        {"x.caf.caf", "x.caf"},
        {"默认.caf", "默认"},
        {"默认", "默认"},
        {"caf", "caf"},
        {"", ""},
        {std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utility::readableNameForCafFile(c.name), c.shown) << c.name.value_or("<absent>");
    }
}

struct SameCase {
    std::optional<std::string> a;
    std::optional<std::string> b;
    bool same;
};

TEST(UtilityNamesTest, TwoNamesAreOneToneWhenTheirDisplayFormsAreEqual) {
    const SameCase cases[] = {
        {"abc", "abc.caf", true},
        {"abc.caf", "abc", true},
        {"abc.caf", "abc.caf", true},
        {"默认", "默认.caf", true},
        {"abc", "ABC", false},
        {"abc", "abc.CAF", false},
        {".caf", "", false},
        {"abc", "abc.caf.caf", false},
        {std::nullopt, "abc", false},
        {"abc", std::nullopt, false},
        {std::nullopt, std::nullopt, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utility::sameTones(c.a, c.b), c.same)
            << c.a.value_or("<absent>") << " / " << c.b.value_or("<absent>");
    }
}

// ---- locating the messenger -----------------------------------------------------------------

struct LocateCase {
    const char* version;
    bool messenger;
    bool legacyMessenger;
    // Which bundle is found: 0 none, 1 the 8.0 root's, 2 the older root's.
    int found;
};

TEST(UtilityLoadTest, TheSystemVersionChoosesTheRootThatIsScanned) {
    const LocateCase cases[] = {
        {"8.1", true, false, 1},   {"8.0", true, false, 1},  {"9.3.5", true, true, 1},
        {"7.1.2", false, true, 2}, {"5.1", true, true, 2},   {"7.1", true, false, 0},
        {"8.1", false, true, 0},   {"8.1", false, false, 0},
    };
    for (const auto& c : cases) {
        TestDevice::Options options{.messenger = c.messenger, .legacyMessenger = c.legacyMessenger};
        options.settings.systemVersion = c.version;
        TestDevice dev(options);
        Utility::load();
        std::optional<std::string> expected;
        if (c.found == 1) {
            expected = dev.messengerBundle();
        } else if (c.found == 2) {
            expected = dev.legacyMessengerBundle();
        }
        EXPECT_EQ(Utility::wechatDirPath(), expected)
            << c.version << " " << c.messenger << " " << c.legacyMessenger;
    }
}

TEST(UtilityLoadTest, TheFirstEntryInListingOrderThatHoldsTheBundleWins) {
    TestDevice dev;
    dev.writeFile(kNewRoot + "0-other/Other.app/Info.plist", "x");
    dev.writeFile(kNewRoot + "2-second/MicroMessenger.app/in.caf", "2");
    dev.writeFile(kNewRoot + "1-first/MicroMessenger.app/in.caf", "1");
    dev.writeFile(kNewRoot + "loose-file", "not a folder");
    Utility::load();
    EXPECT_EQ(Utility::wechatDirPath(), kNewRoot + "1-first/MicroMessenger.app");
}

TEST(UtilityLoadTest, AMissingRootLeavesThePathAbsent) {
    TestDevice dev;
    std::filesystem::remove_all(dev.hostPath("/var/mobile/Containers"));
    Utility::load();
    EXPECT_FALSE(Utility::wechatDirPath());
}

// ---- installing -----------------------------------------------------------------------------

class UtilityInstallTest : public testing::Test {
protected:
    void SetUp() override {
        StoreManager::load();
        Utility::load();
        ASSERT_TRUE(Utility::wechatDirPath());
        inCaf = *Utility::wechatDirPath() + "/in.caf";
        original = dev.readFile(inCaf).value_or("");
        ASSERT_FALSE(original.empty());
    }
    void TearDown() override { Utility::setBeforeReplaceHookForTesting(nullptr); }

    std::vector<std::string> bundleEntries() {
        std::vector<std::string> names;
        for (const auto& e :
             std::filesystem::directory_iterator(dev.hostPath(*Utility::wechatDirPath()))) {
            names.push_back(e.path().filename().string());
        }
        return names;
    }

    TestDevice dev{{.messenger = true}};
    std::string inCaf;
    std::string original;
};

TEST_F(UtilityInstallTest, SelectingADownloadedToneCopiesItOverInCafAndRecordsTheName) {
    const std::string bytes("caff\0\x01tone-abc", 14);
    dev.writeFile(kTones + "abc.caf", bytes);
    ASSERT_TRUE(Utility::selectTone("abc"));
    EXPECT_EQ(dev.readFile(inCaf), bytes);
    EXPECT_EQ(dev.readFile(kTones + "abc.caf"), bytes) << "the tone stays downloaded";
    EXPECT_EQ(storedSelection(), "abc") << "recorded as passed, without .caf";
    EXPECT_TRUE(Utility::isCurrentSelectedTone("abc.caf"));
    EXPECT_EQ(Utility::readableCurrentSelectedTone(), "abc");
    EXPECT_EQ(bundleEntries(), std::vector<std::string>{"in.caf"}) << "no temporary file left";

    // The record is on storage at once.
    NSUserDefaults::resetStandardUserDefaultsForTesting();
    EXPECT_EQ(Utility::currentSelectedTone(), "abc");
}

TEST_F(UtilityInstallTest, ANameWithTheSuffixIsRecordedWithIt) {
    dev.writeFile(kTones + "x.caf", "x");
    ASSERT_TRUE(Utility::selectTone("x.caf"));
    EXPECT_EQ(storedSelection(), "x.caf");
    EXPECT_EQ(dev.readFile(inCaf), "x");
}

TEST_F(UtilityInstallTest, WithoutTheSourceNothingChanges) {
    EXPECT_FALSE(Utility::selectTone("abc"));
    for (const char* bad : {"", ".", "..", "a/b"}) {
        EXPECT_FALSE(Utility::selectTone(bad)) << bad;
    }
    EXPECT_FALSE(Utility::selectToneImpl("abc", std::nullopt));
    EXPECT_FALSE(Utility::selectToneImpl("abc", std::string("/var/mobile/Documents")))
        << "a folder is no tone";
    EXPECT_EQ(dev.readFile(inCaf), original);
    EXPECT_FALSE(storedSelection());
    EXPECT_EQ(bundleEntries(), std::vector<std::string>{"in.caf"});
}

TEST_F(UtilityInstallTest, AFailedInstallationKeepsTheEarlierSelection) {
    dev.writeFile(kTones + "first.caf", "first");
    ASSERT_TRUE(Utility::selectTone("first"));
    EXPECT_FALSE(Utility::selectTone("missing"));
    EXPECT_EQ(storedSelection(), "first");
    EXPECT_EQ(dev.readFile(inCaf), "first");
}

// What the hook between the copy and the rename found.
struct HookView {
    std::string temporary;
    std::optional<std::string> temporaryBytes;
    std::optional<std::string> inCafBytes;
};
std::vector<HookView> hookSaw;

bool recordStep(const std::string& temporary) {
    auto fm = NSFileManager::defaultManager();
    const std::string inCaf = stringByDeletingLastPathComponent(temporary) + "/in.caf";
    hookSaw.push_back({temporary, fm->contentsAtPath(temporary), fm->contentsAtPath(inCaf)});
    return true;
}

TEST_F(UtilityInstallTest, AFailureBetweenTheCopyAndTheRenameLeavesTheOldInCaf) {
    dev.writeFile(kTones + "abc.caf", "new tone");
    hookSaw.clear();
    Utility::setBeforeReplaceHookForTesting([](const std::string& temporary) {
        recordStep(temporary);
        return false;
    });
    EXPECT_FALSE(Utility::selectTone("abc"));
    ASSERT_EQ(hookSaw.size(), 1u);
    EXPECT_EQ(stringByDeletingLastPathComponent(hookSaw[0].temporary), *Utility::wechatDirPath())
        << "the copy is made inside the messenger bundle";
    EXPECT_EQ(dev.readFile(inCaf), original);
    EXPECT_FALSE(storedSelection());
    EXPECT_EQ(bundleEntries(), std::vector<std::string>{"in.caf"});

    // The next installation is not hindered by what the failed one left.
    Utility::setBeforeReplaceHookForTesting(nullptr);
    EXPECT_TRUE(Utility::selectTone("abc"));
    EXPECT_EQ(dev.readFile(inCaf), "new tone");
}

TEST_F(UtilityInstallTest, InCafStaysUntilACompleteCopyReplacesIt) {
    const std::string big(100000, 'z');
    dev.writeFile(kTones + "abc.caf", big);
    hookSaw.clear();
    Utility::setBeforeReplaceHookForTesting(&recordStep);
    ASSERT_TRUE(Utility::selectTone("abc"));
    ASSERT_EQ(hookSaw.size(), 1u);
    EXPECT_EQ(hookSaw[0].temporaryBytes, big);
    EXPECT_EQ(hookSaw[0].inCafBytes, original) << "in.caf was gone before its replacement";
    EXPECT_EQ(dev.readFile(inCaf), big);
    EXPECT_FALSE(dev.exists(hookSaw[0].temporary));
}

TEST_F(UtilityInstallTest, AStaleTemporaryFromAnInterruptedRunIsNoObstacle) {
    dev.writeFile(*Utility::wechatDirPath() + "/.in.caf.installing", "stale");
    dev.writeFile(kTones + "abc.caf", "fresh");
    ASSERT_TRUE(Utility::selectTone("abc"));
    EXPECT_EQ(dev.readFile(inCaf), "fresh");
    EXPECT_EQ(bundleEntries(), std::vector<std::string>{"in.caf"});
}

TEST_F(UtilityInstallTest, TheMessengersOwnToneIsKeptOnceAndNeverOverwritten) {
    const std::string backup = Utility::originalToneBackupPath();
    EXPECT_EQ(backup, "/var/mobile/Library/Chimora/original-in.caf");
    EXPECT_FALSE(dev.exists(backup));
    dev.writeFile(kTones + "a.caf", "tone a");
    dev.writeFile(kTones + "b.caf", "tone b");

    ASSERT_TRUE(Utility::selectTone("a"));
    EXPECT_EQ(dev.readFile(backup), original);
    ASSERT_TRUE(Utility::selectTone("b"));
    EXPECT_EQ(dev.readFile(backup), original) << "not replaced by the tone installed before";
    EXPECT_EQ(dev.readFile(inCaf), "tone b");
}

TEST_F(UtilityInstallTest, AnInstallationIntoABundleWithoutInCafKeepsNothing) {
    std::filesystem::remove(dev.hostPath(inCaf));
    dev.writeFile(kTones + "a.caf", "tone a");
    ASSERT_TRUE(Utility::selectTone("a"));
    EXPECT_EQ(dev.readFile(inCaf), "tone a");
    EXPECT_FALSE(dev.exists(Utility::originalToneBackupPath()));
}

TEST_F(UtilityInstallTest, WhenTheOriginalCannotBeKeptInCafIsNotReplaced) {
    // Library/Chimora is taken by a file, so no copy can be made under it.
    dev.writeFile("/var/mobile/Library/Chimora", "in the way");
    dev.writeFile(kTones + "a.caf", "tone a");
    EXPECT_FALSE(Utility::selectTone("a"));
    EXPECT_EQ(dev.readFile(inCaf), original);
    EXPECT_FALSE(storedSelection());
}

TEST_F(UtilityInstallTest, ResetInstallsTheDefaultToneUnderItsBareName) {
    dev.writeFile(kTones + "a.caf", "tone a");
    ASSERT_TRUE(Utility::selectTone("a"));
    ASSERT_TRUE(Utility::resetTone());
    auto defaultTone = dev.readFile("/Applications/Chimora.app/默认.caf");
    ASSERT_TRUE(defaultTone);
    EXPECT_EQ(dev.readFile(inCaf), defaultTone);
    EXPECT_EQ(storedSelection(), "默认");
    EXPECT_TRUE(Utility::isCurrentSelectedTone("默认.caf"));
    EXPECT_EQ(dev.readFile(Utility::originalToneBackupPath()), original);
}

// ---- the current selection -------------------------------------------------------------------

TEST(UtilitySelectionTest, AnUnsetSelectionReadsAsTheDefaultAndIsThenStored) {
    TestDevice dev;
    EXPECT_FALSE(storedSelection());
    EXPECT_EQ(Utility::currentSelectedTone(), "默认.caf");
    EXPECT_EQ(storedSelection(), "默认.caf");
    EXPECT_TRUE(Utility::isCurrentSelectedTone("默认"));
    EXPECT_TRUE(Utility::isCurrentSelectedTone("默认.caf"));
    EXPECT_FALSE(Utility::isCurrentSelectedTone("abc"));
    EXPECT_FALSE(Utility::isCurrentSelectedTone(std::nullopt));
    EXPECT_EQ(Utility::readableCurrentSelectedTone(), "默认");
}

TEST(UtilitySelectionTest, AStoredSelectionIsReadBackUnchanged) {
    TestDevice dev;
    NSUserDefaults::standardUserDefaults()->setObject("Bell", Utility::kCurrentSelectedToneKey);
    EXPECT_EQ(Utility::currentSelectedTone(), "Bell");
    EXPECT_TRUE(Utility::isCurrentSelectedTone("Bell.caf"));
    EXPECT_FALSE(Utility::isCurrentSelectedTone("bell"));
}

// ---- no messenger ---------------------------------------------------------------------------

TEST(UtilityNoMessengerTest, EveryInstallationFailsAndNoFileIsTouched) {
    TestDevice dev;
    StoreManager::load();
    Utility::load();
    ASSERT_FALSE(Utility::wechatDirPath());
    dev.writeFile(kTones + "abc.caf", "abc");
    EXPECT_FALSE(Utility::selectTone("abc"));
    EXPECT_FALSE(Utility::resetTone());
    EXPECT_FALSE(storedSelection());
    EXPECT_EQ(dev.readFile(kTones + "abc.caf"), "abc");
    EXPECT_FALSE(dev.exists(Utility::originalToneBackupPath()));
    EXPECT_FALSE(dev.exists("/var/mobile/Library/Chimora"));
}

TEST(UtilityResetTest, WithoutTheDefaultToneResourceTheResetFails) {
    std::string bare = (std::filesystem::temp_directory_path() / "chimora-bundle-XXXXXX").string();
    ASSERT_NE(::mkdtemp(bare.data()), nullptr);
    {
        TestDevice dev({.messenger = true, .appBundle = bare});
        Utility::load();
        const std::string inCaf = dev.messengerBundle() + "/in.caf";
        const auto before = dev.readFile(inCaf);
        EXPECT_FALSE(Utility::resetTone());
        EXPECT_EQ(dev.readFile(inCaf), before);
        EXPECT_FALSE(storedSelection());
    }
    std::filesystem::remove_all(bare);
}

} // namespace
