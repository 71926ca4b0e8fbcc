#include "app/storage/StoreManager.h"
#include "tests/support/TestDevice.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

using testing::ElementsAre;
using testing::IsEmpty;
using testing::UnorderedElementsAre;

const std::string kTones = "/var/mobile/Documents/tones";
const std::string kPretones = "/var/mobile/Documents/pretones";
const std::string kCache = "/var/mobile/Library/Caches/tones";

class StoreManagerTest : public testing::Test {
protected:
    void SetUp() override { StoreManager::load(); }

    void removeDir(const std::string& devicePath) {
        std::filesystem::remove_all(dev.hostPath(devicePath));
    }

    testsupport::TestDevice dev;
};

TEST_F(StoreManagerTest, DirectoriesLieUnderDocumentsAndLibraryCaches) {
    EXPECT_EQ(StoreManager::getPathForDocumentsTonesDir(), kTones);
    EXPECT_EQ(StoreManager::getPathForDocumentsPretonesDir(), kPretones);
    EXPECT_EQ(StoreManager::getPathForTonesCacheDir(), kCache);
}

TEST_F(StoreManagerTest, LoadCreatesMissingDirectoriesAndKeepsExistingOnes) {
    for (const auto& dir : {kTones, kPretones, kCache}) {
        EXPECT_TRUE(std::filesystem::is_directory(dev.hostPath(dir))) << dir;
    }
    dev.writeFile(kTones + "/keep.caf", "k");
    removeDir(kPretones);
    StoreManager::load();
    EXPECT_TRUE(std::filesystem::is_directory(dev.hostPath(kPretones)));
    EXPECT_EQ(dev.readFile(kTones + "/keep.caf"), "k");
}

struct FullNameCase {
    std::string name;
    std::optional<std::string> full;
};

TEST_F(StoreManagerTest, FullToneFileNameAddsTheSuffixCaseSensitively) {
    const FullNameCase cases[] = {
        {"abc", "abc.caf"},   {"abc.caf", "abc.caf"}, {"abc.CAF", "abc.CAF.caf"},
        {"默认", "默认.caf"}, {"", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StoreManager::fullToneFileName(c.name), c.full) << c.name;
    }
}

TEST_F(StoreManagerTest, DownloadedNamesAreTheCafEntriesOfTheTonesDirectory) {
    EXPECT_THAT(StoreManager::getDownloadedFileNames(), IsEmpty());
    EXPECT_EQ(StoreManager::getDownloadedFileCount(), 0);

    for (const char* name : {"x.caf", "y.mp3", "z.caf.part", "A.CAF", "w.caf"}) {
        dev.writeFile(kTones + "/" + name, "data");
    }
    dev.writeFile(kPretones + "/p.caf", "data");
    dev.writeFile(kCache + "/q.caf", "data");
    EXPECT_THAT(StoreManager::getDownloadedFileNames(), UnorderedElementsAre("x.caf", "w.caf"));
    EXPECT_EQ(StoreManager::getDownloadedFileCount(), 2);
}

TEST_F(StoreManagerTest, DownloadedNamesOfAMissingDirectoryAreEmpty) {
    removeDir(kTones);
    EXPECT_THAT(StoreManager::getDownloadedFileNames(), IsEmpty());
    EXPECT_EQ(StoreManager::getDownloadedFileCount(), 0);
}

TEST_F(StoreManagerTest, RemoveFileRemovesTheFullNameFromTheTonesDirectoryOnly) {
    dev.writeFile(kTones + "/abc.caf", "a");
    dev.writeFile(kPretones + "/abc.caf", "p");
    EXPECT_TRUE(StoreManager::removeFile("abc"));
    EXPECT_FALSE(dev.exists(kTones + "/abc.caf"));
    EXPECT_TRUE(dev.exists(kPretones + "/abc.caf"));

    EXPECT_FALSE(StoreManager::removeFile("abc")); // already gone
    EXPECT_FALSE(StoreManager::removeFile(""));
}

TEST_F(StoreManagerTest, PretonedNamesAreEveryEntryAndAbsentWithoutTheDirectory) {
    EXPECT_THAT(StoreManager::getPretonedFileNames(), testing::Optional(IsEmpty()));
    dev.writeFile(kPretones + "/a.caf", "1");
    dev.writeFile(kPretones + "/b.mp3", "2");
    EXPECT_THAT(StoreManager::getPretonedFileNames(),
                testing::Optional(UnorderedElementsAre("a.caf", "b.mp3")));
    removeDir(kPretones);
    EXPECT_EQ(StoreManager::getPretonedFileNames(), std::nullopt);
}

TEST_F(StoreManagerTest, ClearCacheEmptiesThePretonesAndNothingElse) {
    EXPECT_TRUE(StoreManager::clearCache()); // nothing to remove

    dev.writeFile(kPretones + "/a.caf", "1");
    dev.writeFile(kPretones + "/sub/b.caf", "2");
    dev.writeFile(kTones + "/t.caf", "t");
    dev.writeFile(kCache + "/t.caf.temp", "c");
    EXPECT_TRUE(StoreManager::clearCache());
    EXPECT_THAT(StoreManager::getPretonedFileNames(), testing::Optional(IsEmpty()));
    EXPECT_EQ(dev.readFile(kTones + "/t.caf"), "t");
    EXPECT_EQ(dev.readFile(kCache + "/t.caf.temp"), "c");

    removeDir(kPretones);
    EXPECT_TRUE(StoreManager::clearCache()); // unreadable counts as nothing to do
}

TEST_F(StoreManagerTest, StorePretonesNeverOverwrites) {
    EXPECT_TRUE(StoreManager::storePretones(std::string("first"), "a.caf"));
    EXPECT_FALSE(StoreManager::storePretones(std::string("second"), "a.caf"));
    EXPECT_EQ(dev.readFile(kPretones + "/a.caf"), "first");

    EXPECT_FALSE(StoreManager::storePretones(std::nullopt, "b.caf"));
    EXPECT_FALSE(dev.exists(kPretones + "/b.caf"));
    EXPECT_TRUE(StoreManager::storePretones(std::string(), "empty.caf")); // empty data is data
}

TEST_F(StoreManagerTest, MovePretoneKeepsTheNameAndNeverReplacesATone) {
    dev.writeFile(kPretones + "/a.caf", "pre");
    EXPECT_TRUE(StoreManager::movePretoneToTones("a.caf"));
    EXPECT_EQ(dev.readFile(kTones + "/a.caf"), "pre");
    EXPECT_FALSE(dev.exists(kPretones + "/a.caf"));

    EXPECT_FALSE(StoreManager::movePretoneToTones("missing.caf"));

    dev.writeFile(kPretones + "/b.caf", "new");
    dev.writeFile(kTones + "/b.caf", "old");
    EXPECT_FALSE(StoreManager::movePretoneToTones("b.caf"));
    EXPECT_EQ(dev.readFile(kPretones + "/b.caf"), "new");
    EXPECT_EQ(dev.readFile(kTones + "/b.caf"), "old");

    // No ".caf" completion: the pretone is looked up under the name as given.
    dev.writeFile(kPretones + "/c", "c");
    EXPECT_TRUE(StoreManager::movePretoneToTones("c"));
    EXPECT_TRUE(dev.exists(kTones + "/c"));
}

// Catalogue names come from the network; none of these may become a path.
const std::string kUnsafeNames[] = {
    "",
    ".",
    "..",
    "a/b.caf",
    "../x.caf",
    "/x.caf",
    "../../Library/x.caf",
    "sub/",
    std::string("a\0b.caf", 7),
};

TEST_F(StoreManagerTest, UnsafeNamesAreRefusedByEveryOperation) {
    // Bait in the places a traversal would reach.
    dev.writeFile("/var/mobile/Documents/x.caf", "outside");
    dev.writeFile(kTones + "/sub/keep.caf", "inside");
    dev.writeFile(kTones + "/a", "prefix of a NUL name");
    for (const auto& name : kUnsafeNames) {
        SCOPED_TRACE(testing::PrintToString(name));
        EXPECT_FALSE(StoreManager::isSafeFileName(name));
        EXPECT_EQ(StoreManager::fullToneFileName(name), std::nullopt);
        EXPECT_FALSE(StoreManager::removeFile(name));
        EXPECT_FALSE(StoreManager::storePretones(std::string("evil"), name));
        EXPECT_FALSE(StoreManager::movePretoneToTones(name));
    }
    EXPECT_EQ(dev.readFile("/var/mobile/Documents/x.caf"), "outside");
    EXPECT_EQ(dev.readFile(kTones + "/sub/keep.caf"), "inside");
    EXPECT_EQ(dev.readFile(kTones + "/a"), "prefix of a NUL name");
    EXPECT_THAT(StoreManager::getPretonedFileNames(), testing::Optional(IsEmpty()));
}

TEST_F(StoreManagerTest, NamesThatOnlyLookOddAreAccepted) {
    for (const std::string name : {"...caf", ".caf", "a..b.caf", " spaced name.caf", "默认.caf"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(StoreManager::isSafeFileName(name));
        EXPECT_TRUE(StoreManager::storePretones(std::string("x"), name));
        EXPECT_TRUE(StoreManager::movePretoneToTones(name));
        EXPECT_TRUE(StoreManager::removeFile(name));
    }
}

} // namespace
