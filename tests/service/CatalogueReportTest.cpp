#include "service/TestCatalogue.h"
#include "tests/service/ServiceHttp.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <thread>
#include <vector>

using namespace chimora::service;
using namespace chimora::service::testing;

namespace {

class CatalogueReportTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(catalogue_.ok()) << catalogue_.error(); }

    httplib::Result get(const std::string& path) {
        auto client = clientFor(catalogue_.port());
        return client.Get(path);
    }

    TestCatalogue catalogue_{8, 3};
};

TEST_F(CatalogueReportTest, DownloadReportIncrementsTheCountShownInLists) {
    auto before = catalogue_.store().allTones();
    Tone t = before.at(2);
    const std::string path = "/api/inc_fm_downloads.php?fmId=" + std::to_string(t.id);
    for (int i = 1; i <= 3; ++i) {
        auto res = get(path);
        ASSERT_TRUE(res);
        EXPECT_EQ(res->status, 200);
        JsonDoc doc(res->body);
        ASSERT_TRUE(doc.ok) << res->body;
        EXPECT_EQ(doc.root["numberDownloads"].get_int64().value_unsafe(), t.downloads + i);
    }
    EXPECT_EQ(catalogue_.store().tone(t.id)->downloads, t.downloads + 3);

    auto list = get("/api/get_tones.php?pageIndex=0&pageSize=100&type=0");
    ASSERT_TRUE(list);
    JsonDoc doc(list->body);
    ASSERT_TRUE(doc.ok);
    bool seen = false;
    simdjson::dom::array items = doc.root["items"].get_array().value_unsafe();
    for (auto item : items) {
        if (item["id"].get_int64().value_unsafe() == t.id) {
            seen = true;
            EXPECT_EQ(item["numberDownloads"].get_int64().value_unsafe(), t.downloads + 3);
        }
    }
    EXPECT_TRUE(seen);
    // Other tones keep their counts.
    for (const auto& other : before) {
        if (other.id != t.id) {
            EXPECT_EQ(catalogue_.store().tone(other.id)->downloads, other.downloads);
        }
    }
}

TEST_F(CatalogueReportTest, ConcurrentReportsAreAllCounted) {
    Tone t = catalogue_.store().allTones().at(0);
    const std::string path = "/api/inc_fm_downloads.php?fmId=" + std::to_string(t.id);
    const int kThreads = 4, kEach = 15;
    std::vector<std::thread> threads;
    std::vector<int> ok(kThreads, 0);
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&, i] {
            auto client = clientFor(catalogue_.port());
            for (int k = 0; k < kEach; ++k) {
                auto res = client.Get(path);
                ok[i] += res && res->status == 200;
            }
        });
    }
    for (auto& th : threads)
        th.join();
    for (int i = 0; i < kThreads; ++i)
        EXPECT_EQ(ok[i], kEach);
    EXPECT_EQ(catalogue_.store().tone(t.id)->downloads, t.downloads + kThreads * kEach);
}

TEST_F(CatalogueReportTest, ARangeOnAJsonReplyIsIgnored) {
    auto client = clientFor(catalogue_.port());
    auto res = client.Get("/report/online_config.json", {{"Range", "bytes=0-9"}});
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_TRUE(JsonDoc(res->body).ok) << res->body;
}

TEST_F(CatalogueReportTest, BadDownloadReportsAreRefusedAndCountNothing) {
    auto before = catalogue_.store().allTones();
    struct Case {
        const char* query;
        int status;
    };
    const Case cases[] = {{"", 400},          {"?fmId=", 400},       {"?fmId=abc", 400},
                          {"?fmId=12x", 400}, {"?fmId=999999", 404}, {"?fmId=-3", 404},
                          {"?fmId=0", 404}};
    for (const auto& c : cases) {
        auto res = get(std::string("/api/inc_fm_downloads.php") + c.query);
        ASSERT_TRUE(res) << c.query;
        EXPECT_EQ(res->status, c.status) << c.query;
        JsonDoc doc(res->body);
        EXPECT_TRUE(doc.ok && doc.root["error"].is_string()) << c.query << ": " << res->body;
    }
    auto after = catalogue_.store().allTones();
    ASSERT_EQ(before.size(), after.size());
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(before[i].downloads, after[i].downloads);
}

TEST_F(CatalogueReportTest, OnlineConfigIsAnObjectOfStringsNamingTheService) {
    catalogue_.store().setConfig("UPID_SHARE_TEXT_EN", "Try \"Chimora\"\n");
    auto res = get("/report/online_config.json");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    JsonDoc doc(res->body);
    ASSERT_TRUE(doc.ok) << res->body;
    ASSERT_TRUE(doc.root.is_object());
    std::size_t count = 0;
    simdjson::dom::object fields = doc.root.get_object().value_unsafe();
    for (auto field : fields) {
        EXPECT_TRUE(field.value.is_string()) << field.key;
        ++count;
    }
    EXPECT_EQ(count, catalogue_.store().allConfig().size());
    auto text = [&](const char* key) {
        auto v = doc.root[key].get_string();
        return v.error() ? std::string("<absent>") : std::string(v.value_unsafe());
    };
    EXPECT_EQ(text("UPID_SHARE_TEXT_EN"), "Try \"Chimora\"\n");
    for (const char* key : {"UPID_SHARE_TEXT_HANS", "UPID_SHARE_TEXT_HANT",
                            "UPID_RECOMMANDED_APP_Name_En", "UPID_RECOMMANDED_APP_Name_Hans",
                            "UPID_RECOMMANDED_APP_Name_Hant", "UPID_RECOMMANDED_APP_DESC_En",
                            "UPID_RECOMMANDED_APP_DESC_Hans", "UPID_RECOMMANDED_APP_DESC_Hant"})
        EXPECT_FALSE(text(key).empty()) << key;
    for (const char* key : {"UPID_BBS_URL_En", "UPID_BBS_URL_Hans", "UPID_BBS_URL_Hant"})
        EXPECT_EQ(text(key), catalogue_.baseURL() + "bbs/") << key;
    EXPECT_EQ(text("UPID_RECOMMANDED_APP_URL").rfind("cydia://package/", 0), 0u);
    EXPECT_EQ(text("UPID_RECOMMANDED_APP_ICON_URL"), catalogue_.baseURL() + "icons/app.png");
    auto icon = get("/icons/app.png");
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->status, 200);
}

TEST_F(CatalogueReportTest, UpdateCheckWithoutAnyReleaseOffersNothing) {
    auto res = get("/report/check_update.json?version=1.0");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    JsonDoc doc(res->body);
    ASSERT_TRUE(doc.ok);
    EXPECT_FALSE(doc.root["update"].get_bool().value_unsafe());
}

TEST_F(CatalogueReportTest, UpdateCheckComparesWithTheGreatestRelease) {
    catalogue_.store().addRelease({"1.9", "http://updates.example/1.9", "old"});
    catalogue_.store().addRelease({"1.10", "{{base}}chimora-1.10.deb", "Faster lists"});
    catalogue_.store().addRelease({"1.2", "http://updates.example/1.2", "announced late"});
    struct Case {
        const char* current;
        bool update;
    };
    const Case cases[] = {{"1.9", true},   {"1.2", true},  {"1.9.9", true}, {"1.10", false},
                          {"1.11", false}, {"2.0", false}, {"01.10", false}};
    for (const auto& c : cases) {
        auto res = get(std::string("/report/check_update.json?version=") + c.current);
        ASSERT_TRUE(res) << c.current;
        EXPECT_EQ(res->status, 200) << c.current;
        JsonDoc doc(res->body);
        ASSERT_TRUE(doc.ok) << res->body;
        EXPECT_EQ(doc.root["update"].get_bool().value_unsafe(), c.update) << c.current;
        EXPECT_EQ(std::string(doc.root["version"].get_string().value_unsafe()), "1.10");
        EXPECT_EQ(std::string(doc.root["update_log"].get_string().value_unsafe()), "Faster lists");
        EXPECT_EQ(std::string(doc.root["path"].get_string().value_unsafe()),
                  catalogue_.baseURL() + "chimora-1.10.deb");
    }
    auto missing = get("/report/check_update.json");
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->status, 400);
}

TEST_F(CatalogueReportTest, DatabaseFailuresAnswerServerErrorAndServingGoesOn) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(catalogue_.dbPath().c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "DROP TABLE tones", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);

    for (const char* path : {"/api/get_tones.php?pageIndex=0&pageSize=20&type=0",
                             "/api/inc_fm_downloads.php?fmId=1", "/files/1001.caf"}) {
        auto res = get(path);
        ASSERT_TRUE(res) << path;
        EXPECT_EQ(res->status, 500) << path;
        JsonDoc doc(res->body);
        EXPECT_TRUE(doc.ok && doc.root["error"].is_string()) << path << ": " << res->body;
    }
    auto config = get("/report/online_config.json");
    ASSERT_TRUE(config);
    EXPECT_EQ(config->status, 200);
}

} // namespace
