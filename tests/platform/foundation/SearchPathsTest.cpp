#include "platform/foundation/SearchPaths.h"

#include <gtest/gtest.h>

namespace {

TEST(SearchPaths, UserFoldersLieUnderTheMobileHome) {
    EXPECT_EQ(NSSearchPathForDirectoriesInDomains(NSDocumentDirectory, NSUserDomainMask, true),
              std::vector<std::string>{"/var/mobile/Documents"});
    EXPECT_EQ(NSSearchPathForDirectoriesInDomains(NSLibraryDirectory, NSUserDomainMask, true),
              std::vector<std::string>{"/var/mobile/Library"});
    EXPECT_EQ(NSSearchPathForDirectoriesInDomains(NSCachesDirectory, NSUserDomainMask, true),
              std::vector<std::string>{"/var/mobile/Library/Caches"});
    EXPECT_EQ(NSSearchPathForDirectoriesInDomains(NSDocumentDirectory, NSUserDomainMask, false),
              std::vector<std::string>{"~/Documents"});
    EXPECT_TRUE(NSSearchPathForDirectoriesInDomains(NSDocumentDirectory, 0, true).empty());
}

TEST(SearchPaths, JoiningPutsExactlyOneSlashBetween) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"/var/mobile/Documents", "tones/", "/var/mobile/Documents/tones"},
        {"/var/mobile/Documents/", "tones", "/var/mobile/Documents/tones"},
        {"/var/mobile/Library", "Caches/tones/", "/var/mobile/Library/Caches/tones"},
        {"/var/mobile/Documents/tones", "/a.caf", "/var/mobile/Documents/tones/a.caf"},
        {"/a//b", "c", "/a/b/c"},
        {"/", "a", "/a"},
        {"", "a.caf", "a.caf"},
        {"/a", "", "/a"},
        {"/a", "默认.caf", "/a/默认.caf"},
    };
    for (const auto& [base, component, joined] : cases) {
        SCOPED_TRACE(std::string(base) + " + " + component);
        EXPECT_EQ(stringByAppendingPathComponent(base, component), joined);
    }
}

TEST(SearchPaths, PathPieces) {
    struct Case {
        const char* path;
        const char* last;
        const char* parent;
        const char* extension;
        const char* withoutExtension;
    };
    const Case cases[] = {
        {"/a/b.caf", "b.caf", "/a", "caf", "/a/b"},
        {"/a/b/", "b", "/a", "", "/a/b"},
        {"/a", "a", "/", "", "/a"},
        {"/", "/", "/", "", "/"},
        {"b", "b", "", "", "b"},
        {"/a.d/b", "b", "/a.d", "", "/a.d/b"},
        {"/a/x.tar.gz", "x.tar.gz", "/a", "gz", "/a/x.tar"},
        {"/a/.hidden", ".hidden", "/a", "", "/a/.hidden"},
        {"http://h/t/a.caf", "a.caf", "http:/h/t", "caf", "http:/h/t/a"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(lastPathComponent(c.path), c.last);
        EXPECT_EQ(stringByDeletingLastPathComponent(c.path), c.parent);
        EXPECT_EQ(pathExtension(c.path), c.extension);
        EXPECT_EQ(stringByDeletingPathExtension(c.path), c.withoutExtension);
    }
}

} // namespace
