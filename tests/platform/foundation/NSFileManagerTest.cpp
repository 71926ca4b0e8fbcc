#include "platform/foundation/NSFileManager.h"

#include "tests/support/TestDevice.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;
using testsupport::TestDevice;

namespace {

class NSFileManagerTest : public ::testing::Test {
protected:
    TestDevice dev_;
    std::shared_ptr<NSFileManager> fm_ = NSFileManager::defaultManager();
    const std::string docs_ = "/var/mobile/Documents";
};

TEST_F(NSFileManagerTest, ExistenceTellsFilesFromFolders) {
    dev_.writeFile("/var/mobile/Documents/a.caf", "x");
    bool isDirectory = true;
    EXPECT_TRUE(fm_->fileExistsAtPath(docs_ + "/a.caf", &isDirectory));
    EXPECT_FALSE(isDirectory);
    EXPECT_TRUE(fm_->fileExistsAtPath(docs_, &isDirectory));
    EXPECT_TRUE(isDirectory);
    EXPECT_FALSE(fm_->fileExistsAtPath(docs_ + "/missing"));
    EXPECT_FALSE(fm_->fileExistsAtPath("/var/../../etc/passwd"));
    EXPECT_FALSE(fm_->fileExistsAtPath("relative"));
}

TEST_F(NSFileManagerTest, ListingIsOneLevelOfNamesSorted) {
    dev_.writeFile("/var/mobile/Documents/tones/b.caf", "b");
    dev_.writeFile("/var/mobile/Documents/tones/a.caf", "a");
    dev_.writeFile("/var/mobile/Documents/tones/.hidden", "h");
    dev_.writeFile("/var/mobile/Documents/tones/sub/deep.caf", "d");
    auto names = fm_->contentsOfDirectoryAtPath(docs_ + "/tones");
    ASSERT_TRUE(names);
    EXPECT_EQ(*names, (std::vector<std::string>{".hidden", "a.caf", "b.caf", "sub"}));

    ASSERT_TRUE(fm_->createDirectoryAtPath(docs_ + "/empty", false));
    EXPECT_EQ(fm_->contentsOfDirectoryAtPath(docs_ + "/empty"), std::vector<std::string>{});
    // Nothing to read: a missing folder, a file, a refused path.
    EXPECT_FALSE(fm_->contentsOfDirectoryAtPath(docs_ + "/missing"));
    EXPECT_FALSE(fm_->contentsOfDirectoryAtPath(docs_ + "/tones/a.caf"));
    EXPECT_FALSE(fm_->contentsOfDirectoryAtPath("/var/../.."));
}

TEST_F(NSFileManagerTest, AFolderWithoutReadPermissionCannotBeListed) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not stop root";
    }
    ASSERT_TRUE(fm_->createDirectoryAtPath(docs_ + "/locked", false));
    fs::permissions(dev_.hostPath(docs_ + "/locked"), fs::perms::none);
    EXPECT_FALSE(fm_->contentsOfDirectoryAtPath(docs_ + "/locked"));
    fs::permissions(dev_.hostPath(docs_ + "/locked"), fs::perms::owner_all);
}

TEST_F(NSFileManagerTest, CreatingFolders) {
    EXPECT_TRUE(fm_->createDirectoryAtPath(docs_ + "/tones", false));
    EXPECT_FALSE(fm_->createDirectoryAtPath(docs_ + "/tones", false)) << "exists already";
    EXPECT_TRUE(fm_->createDirectoryAtPath(docs_ + "/tones", true));
    EXPECT_FALSE(fm_->createDirectoryAtPath(docs_ + "/x/y/z", false)) << "no parent";
    EXPECT_TRUE(fm_->createDirectoryAtPath(docs_ + "/x/y/z", true));
    EXPECT_TRUE(fs::is_directory(dev_.hostPath(docs_ + "/x/y/z")));
    dev_.writeFile(docs_ + "/file", "f");
    EXPECT_FALSE(fm_->createDirectoryAtPath(docs_ + "/file", true));
    EXPECT_FALSE(fm_->createDirectoryAtPath("/var/../../escape", true));
}

TEST_F(NSFileManagerTest, CreatingFilesReplacesAndLeavesNoTemporaryBehind) {
    EXPECT_TRUE(fm_->createFileAtPath(docs_ + "/a.txt", "first"));
    EXPECT_TRUE(fm_->createFileAtPath(docs_ + "/a.txt", "second"));
    EXPECT_EQ(fm_->contentsAtPath(docs_ + "/a.txt"), "second");
    EXPECT_EQ(fm_->fileSizeAtPath(docs_ + "/a.txt"), 6u);
    EXPECT_TRUE(fm_->createFileAtPath(docs_ + "/empty", ""));
    EXPECT_EQ(fm_->contentsAtPath(docs_ + "/empty"), "");
    EXPECT_EQ(fm_->contentsOfDirectoryAtPath(docs_), (std::vector<std::string>{"a.txt", "empty"}));

    EXPECT_FALSE(fm_->createFileAtPath(docs_ + "/no/parent.txt", "x"));
    EXPECT_FALSE(fm_->createFileAtPath(docs_, "x")) << "a folder is not replaced";
    EXPECT_FALSE(fm_->createFileAtPath("/../x", "x"));
    EXPECT_FALSE(fm_->contentsAtPath(docs_ + "/missing"));
    EXPECT_FALSE(fm_->contentsAtPath(docs_)) << "a folder has no contents";
    EXPECT_FALSE(fm_->fileSizeAtPath(docs_ + "/missing"));
}

TEST_F(NSFileManagerTest, CopyAndMoveNeverReplaceTheDestination) {
    dev_.writeFile(docs_ + "/src.caf", "new");
    dev_.writeFile(docs_ + "/dst.caf", "old");
    EXPECT_FALSE(fm_->copyItemAtPath(docs_ + "/src.caf", docs_ + "/dst.caf"));
    EXPECT_FALSE(fm_->moveItemAtPath(docs_ + "/src.caf", docs_ + "/dst.caf"));
    EXPECT_EQ(dev_.readFile(docs_ + "/dst.caf"), "old");
    EXPECT_EQ(dev_.readFile(docs_ + "/src.caf"), "new");

    EXPECT_TRUE(fm_->copyItemAtPath(docs_ + "/src.caf", docs_ + "/copy.caf"));
    EXPECT_EQ(dev_.readFile(docs_ + "/copy.caf"), "new");
    EXPECT_EQ(dev_.readFile(docs_ + "/src.caf"), "new");

    EXPECT_TRUE(fm_->moveItemAtPath(docs_ + "/src.caf", docs_ + "/moved.caf"));
    EXPECT_EQ(dev_.readFile(docs_ + "/moved.caf"), "new");
    EXPECT_FALSE(dev_.exists(docs_ + "/src.caf"));

    EXPECT_FALSE(fm_->copyItemAtPath(docs_ + "/missing", docs_ + "/x"));
    EXPECT_FALSE(fm_->moveItemAtPath(docs_ + "/missing", docs_ + "/x"));
    EXPECT_FALSE(fm_->copyItemAtPath(docs_ + "/moved.caf", docs_ + "/no/parent.caf"));
    EXPECT_FALSE(fm_->moveItemAtPath(docs_ + "/moved.caf", "/var/../../moved.caf"));
    EXPECT_TRUE(dev_.exists(docs_ + "/moved.caf"));
}

TEST_F(NSFileManagerTest, ReplacingPutsTheNewItemInTheOldOnesPlace) {
    dev_.writeFile(docs_ + "/in.caf", "old");
    dev_.writeFile(docs_ + "/.in.caf.new", "new");
    EXPECT_TRUE(fm_->replaceItemAtPath(docs_ + "/in.caf", docs_ + "/.in.caf.new"));
    EXPECT_EQ(dev_.readFile(docs_ + "/in.caf"), "new");
    EXPECT_FALSE(dev_.exists(docs_ + "/.in.caf.new"));

    // Nothing to put in place: the destination stays as it was.
    EXPECT_FALSE(fm_->replaceItemAtPath(docs_ + "/in.caf", docs_ + "/missing"));
    EXPECT_EQ(dev_.readFile(docs_ + "/in.caf"), "new");
    EXPECT_FALSE(fm_->replaceItemAtPath(docs_ + "/in.caf", "/var/../../escape"));
    EXPECT_EQ(dev_.readFile(docs_ + "/in.caf"), "new");

    // A file does not take the place of a folder.
    dev_.writeFile(docs_ + "/folder/keep", "k");
    dev_.writeFile(docs_ + "/file", "f");
    EXPECT_FALSE(fm_->replaceItemAtPath(docs_ + "/folder", docs_ + "/file"));
    EXPECT_EQ(dev_.readFile(docs_ + "/folder/keep"), "k");
    EXPECT_EQ(dev_.readFile(docs_ + "/file"), "f");

    // An empty place is simply filled.
    EXPECT_TRUE(fm_->replaceItemAtPath(docs_ + "/fresh", docs_ + "/file"));
    EXPECT_EQ(dev_.readFile(docs_ + "/fresh"), "f");
}

TEST_F(NSFileManagerTest, FoldersAreCopiedAndMovedWhole) {
    dev_.writeFile(docs_ + "/tree/a", "a");
    dev_.writeFile(docs_ + "/tree/sub/b", "b");
    EXPECT_TRUE(fm_->copyItemAtPath(docs_ + "/tree", docs_ + "/copy"));
    EXPECT_EQ(dev_.readFile(docs_ + "/copy/sub/b"), "b");
    EXPECT_TRUE(fm_->moveItemAtPath(docs_ + "/tree", "/var/mobile/Library/tree"));
    EXPECT_EQ(dev_.readFile("/var/mobile/Library/tree/a"), "a");
}

TEST_F(NSFileManagerTest, RemovingFilesAndTrees) {
    dev_.writeFile(docs_ + "/a.caf", "a");
    dev_.writeFile(docs_ + "/tree/sub/b", "b");
    EXPECT_TRUE(fm_->removeItemAtPath(docs_ + "/a.caf"));
    EXPECT_FALSE(fm_->removeItemAtPath(docs_ + "/a.caf")) << "already gone";
    EXPECT_TRUE(fm_->removeItemAtPath(docs_ + "/tree"));
    EXPECT_FALSE(dev_.exists(docs_ + "/tree"));
    EXPECT_FALSE(fm_->removeItemAtPath("/var/mobile/../../.."));
    EXPECT_TRUE(fs::exists(dev_.root()));
}

TEST_F(NSFileManagerTest, ALinkIsRemovedNotWhatItPointsTo) {
    dev_.writeFile(docs_ + "/target/keep", "k");
    fs::create_directory_symlink(dev_.hostPath(docs_ + "/target"), dev_.hostPath(docs_ + "/link"));
    EXPECT_TRUE(fm_->removeItemAtPath(docs_ + "/link"));
    EXPECT_EQ(dev_.readFile(docs_ + "/target/keep"), "k");
}

} // namespace
