#include "platform/foundation/NSIndexPath.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/PercentEscapes.h"

#include <gtest/gtest.h>

#include <set>
#include <unordered_set>

namespace {

TEST(PercentEscapes, EscapesWhatMayNotStandInAURL) {
    const std::pair<const char*, const char*> cases[] = {
        {"http://h/a b.caf", "http://h/a%20b.caf"},
        {"http://h/默认.caf", "http://h/%E9%BB%98%E8%AE%A4.caf"},
        {"AZaz09!$&'()*+,-./:;=?@_~#", "AZaz09!$&'()*+,-./:;=?@_~#"},
        {"100%", "100%25"},
        {"a%20b", "a%2520b"},
        {"\"<>\\^`{|}[]", "%22%3C%3E%5C%5E%60%7B%7C%7D%5B%5D"},
        {"\t\n", "%09%0A"},
        {"", ""},
    };
    for (const auto& [text, escaped] : cases) {
        EXPECT_EQ(stringByAddingPercentEscapesUsingEncoding(text, NSUTF8StringEncoding), escaped)
            << text;
    }
}

TEST(PercentEscapes, ReplacingUndoesAddingAndRefusesBrokenEscapes) {
    EXPECT_EQ(stringByReplacingPercentEscapesUsingEncoding("%E9%BB%98%e8%ae%a4 x"), "默认 x");
    EXPECT_EQ(stringByReplacingPercentEscapesUsingEncoding(
                  stringByAddingPercentEscapesUsingEncoding("a b%c")),
              "a b%c");
    EXPECT_FALSE(stringByReplacingPercentEscapesUsingEncoding("%zz"));
    EXPECT_FALSE(stringByReplacingPercentEscapesUsingEncoding("50%"));
    EXPECT_FALSE(stringByReplacingPercentEscapesUsingEncoding("%FF"));
}

TEST(NSURL, ParsesValidStringsAndRefusesOthers) {
    struct Case {
        const char* text;
        bool valid;
        const char* scheme = "";
        const char* host = "";
        const char* path = "";
        const char* last = "";
    };
    const Case cases[] = {
        {"http://127.0.0.1:8642/api/get_tones.php?pageIndex=0&type=-2", true, "http", "127.0.0.1",
         "/api/get_tones.php", "get_tones.php"},
        {"http://h/tones/%E9%BB%98%E8%AE%A4.caf", true, "http", "h", "/tones/默认.caf", "默认.caf"},
        {"http://user:pw@example.com/dir/", true, "http", "example.com", "/dir", "dir"},
        {"http://example.com", true, "http", "example.com", "", ""},
        {"http://example.com/", true, "http", "example.com", "/", "/"},
        {"cydia://package/com.chimora.pro", true, "cydia", "package", "/com.chimora.pro",
         "com.chimora.pro"},
        {"mailto:someone@example.com", true, "mailto", "", "", ""},
        {"file:///var/mobile/a%20b.caf", true, "file", "", "/var/mobile/a b.caf", "a b.caf"},
        {"relative/path.caf#frag", true, "", "", "relative/path.caf", "path.caf"},
        {"http://[::1]:80/x", true, "http", "[::1]", "/x", "x"},
        {"", false},
        {"http://h/a b.caf", false},
        {"http://h/默认.caf", false},
        {"http://h/<x>", false},
        {"http://h/%zz", false},
        {"http://h/50%", false},
        {"http://h/a#b#c", false},
    };
    for (const auto& c : cases) {
        auto url = NSURL::URLWithString(c.text);
        ASSERT_EQ(url.has_value(), c.valid) << c.text;
        if (!url) {
            continue;
        }
        EXPECT_EQ(url->absoluteString(), c.text);
        EXPECT_EQ(url->scheme(), c.scheme) << c.text;
        EXPECT_EQ(url->host(), c.host) << c.text;
        EXPECT_EQ(url->path(), c.path) << c.text;
        EXPECT_EQ(url->lastPathComponent(), c.last) << c.text;
    }
}

TEST(NSURL, EscapedTextMakesAURL) {
    auto url = NSURL::URLWithString(
        stringByAddingPercentEscapesUsingEncoding("http://h/tones/默认 1.caf"));
    ASSERT_TRUE(url);
    EXPECT_EQ(url->lastPathComponent(), "默认 1.caf");
}

TEST(NSURL, FileURLsFromPaths) {
    auto url = NSURL::fileURLWithPath("/var/mobile/Documents/tones/默认 #1.caf");
    EXPECT_TRUE(url.isFileURL());
    EXPECT_EQ(url.absoluteString(),
              "file:///var/mobile/Documents/tones/%E9%BB%98%E8%AE%A4%20%231.caf");
    EXPECT_EQ(url.path(), "/var/mobile/Documents/tones/默认 #1.caf");
    EXPECT_EQ(url.lastPathComponent(), "默认 #1.caf");
    EXPECT_EQ(NSURL::fileURLWithPath("/tmp/dir/").path(), "/tmp/dir");
    EXPECT_FALSE(NSURL::URLWithString("http://h/x")->isFileURL());
    EXPECT_TRUE(NSURL::URLWithString("FILE:///x")->isFileURL());
    auto again = NSURL::URLWithString(url.absoluteString());
    ASSERT_TRUE(again);
    EXPECT_EQ(again->path(), url.path());
}

TEST(NSIndexPath, ComparesBySectionThenRowAndHashes) {
    auto a = NSIndexPath::indexPathForRow(3, 0);
    auto b = NSIndexPath::indexPathForRow(0, 1);
    EXPECT_EQ(a.row(), 3);
    EXPECT_EQ(a.section(), 0);
    EXPECT_LT(a, b);
    EXPECT_EQ(a, NSIndexPath::indexPathForRow(3, 0));
    EXPECT_NE(a, NSIndexPath::indexPathForRow(0, 3));
    std::unordered_set<NSIndexPath> set{a, b, NSIndexPath::indexPathForRow(3, 0),
                                        NSIndexPath::indexPathForRow(0, 3)};
    EXPECT_EQ(set.size(), 3u);
    std::set<NSIndexPath> ordered{b, a};
    EXPECT_EQ(*ordered.begin(), a);
}

} // namespace
