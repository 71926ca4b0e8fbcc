#include "service/TestCatalogue.h"
#include "tests/service/ServiceHttp.h"

#include <gtest/gtest.h>

#include <string>

using namespace chimora::service;
using namespace chimora::service::testing;

namespace {

class CatalogueFilesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        catalogue_ = new TestCatalogue(6, 5);
        ASSERT_TRUE(catalogue_->ok()) << catalogue_->error();
        tone_ = catalogue_->store().allTones().front();
        bytes_ = fileBytes((catalogue_->filesDir() / tone_.file).string());
        ASSERT_GT(bytes_.size(), 100u);
    }
    static void TearDownTestSuite() {
        delete catalogue_;
        catalogue_ = nullptr;
    }
    static std::string tonePath() { return "/files/" + std::to_string(tone_.id) + ".caf"; }

    static TestCatalogue* catalogue_;
    static Tone tone_;
    static std::string bytes_;
};

TestCatalogue* CatalogueFilesTest::catalogue_ = nullptr;
Tone CatalogueFilesTest::tone_;
std::string CatalogueFilesTest::bytes_;

TEST_F(CatalogueFilesTest, WithoutRangeTheWholeToneIsSentAsCaf) {
    auto client = clientFor(catalogue_->port());
    auto res = client.Get(tonePath());
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_EQ(res->get_header_value("Content-Type"), "audio/x-caf");
    EXPECT_EQ(res->body, bytes_);
}

TEST_F(CatalogueFilesTest, SatisfiableRangesAnswerPartialContentWithTheirBytes) {
    const std::size_t n = bytes_.size();
    struct Case {
        std::string range;
        std::size_t first, last;
    };
    const Case cases[] = {
        {"bytes=0-15", 0, 15},
        {"bytes=100-", 100, n - 1},
        {"bytes=-20", n - 20, n - 1},
        {"bytes=" + std::to_string(n - 5) + "-" + std::to_string(n + 100), n - 5, n - 1},
        {"bytes=" + std::to_string(n - 1) + "-" + std::to_string(n - 1), n - 1, n - 1},
        {"bytes=-" + std::to_string(n + 50), 0, n - 1},
    };
    auto client = clientFor(catalogue_->port());
    for (const auto& c : cases) {
        auto res = client.Get(tonePath(), {{"Range", c.range}});
        ASSERT_TRUE(res) << c.range;
        EXPECT_EQ(res->status, 206) << c.range;
        EXPECT_EQ(res->get_header_value("Content-Range"), "bytes " + std::to_string(c.first) + "-" +
                                                              std::to_string(c.last) + "/" +
                                                              std::to_string(n))
            << c.range;
        EXPECT_EQ(res->body, bytes_.substr(c.first, c.last - c.first + 1)) << c.range;
    }
}

TEST_F(CatalogueFilesTest, UnsatisfiableRangesAnswer416) {
    const std::size_t n = bytes_.size();
    const std::string cases[] = {"bytes=" + std::to_string(n) + "-",
                                 "bytes=" + std::to_string(n + 10) + "-" + std::to_string(n + 20),
                                 "bytes=20-10", "bytes=-0", "bytes=abc"};
    auto client = clientFor(catalogue_->port());
    for (const auto& range : cases) {
        auto res = client.Get(tonePath(), {{"Range", range}});
        ASSERT_TRUE(res) << range;
        EXPECT_EQ(res->status, 416) << range;
        EXPECT_NE(res->body, bytes_) << range;
    }
    auto res = client.Get(tonePath(), {{"Range", "bytes=" + std::to_string(n) + "-"}});
    ASSERT_TRUE(res);
    EXPECT_EQ(res->get_header_value("Content-Range"), "bytes */" + std::to_string(n));
}

TEST_F(CatalogueFilesTest, IconsArePngImages) {
    auto client = clientFor(catalogue_->port());
    auto res = client.Get("/icons/" + std::to_string(tone_.id) + ".png");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_EQ(res->get_header_value("Content-Type"), "image/png");
    EXPECT_EQ(res->body.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(res->body, fileBytes((catalogue_->filesDir() / tone_.icon).string()));
}

TEST_F(CatalogueFilesTest, UnknownFilesAnswerNotFound) {
    const std::string id = std::to_string(tone_.id);
    const std::string paths[] = {"/files/999999.caf",     "/files/abc.caf", "/files/" + id + ".mp3",
                                 "/files/" + id,          "/files/-1.caf",  "/icons/999999.png",
                                 "/icons/" + id + ".caf", "/no/such/page",  "/files/%2e%2e.caf"};
    auto client = clientFor(catalogue_->port());
    for (const auto& path : paths) {
        auto res = client.Get(path);
        ASSERT_TRUE(res) << path;
        EXPECT_EQ(res->status, 404) << path;
        JsonDoc doc(res->body);
        EXPECT_TRUE(doc.ok && doc.root["error"].is_string()) << path << ": " << res->body;
    }
}

TEST_F(CatalogueFilesTest, AToneWhoseFileVanishedAnswersNotFound) {
    Tone t = tone_;
    t.id = 0;
    t.file = "gone.caf";
    int32_t id = catalogue_->store().addTone(t);
    auto client = clientFor(catalogue_->port());
    auto res = client.Get("/files/" + std::to_string(id) + ".caf");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 404);
}

TEST_F(CatalogueFilesTest, MakersPagesAreUtf8Html) {
    auto client = clientFor(catalogue_->port());
    for (const char* path : {"/", "/bbs/"}) {
        auto res = client.Get(path);
        ASSERT_TRUE(res) << path;
        EXPECT_EQ(res->status, 200) << path;
        EXPECT_EQ(res->get_header_value("Content-Type"), "text/html; charset=utf-8") << path;
        EXPECT_NE(res->body.find("<html"), std::string::npos) << path;
        EXPECT_NE(res->body.find("Chimora"), std::string::npos) << path;
    }
}

} // namespace
