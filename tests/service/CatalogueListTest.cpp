#include "service/CatalogueStore.h"
#include "service/TestCatalogue.h"
#include "tests/service/ServiceHttp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <vector>

using namespace chimora::service;
using namespace chimora::service::testing;

namespace {

struct Page {
    bool hasMore = false;
    int64_t updateTime = 0;
    std::vector<int64_t> ids;
};

class CatalogueListTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        catalogue_ = new TestCatalogue(30, 11);
        ASSERT_TRUE(catalogue_->ok()) << catalogue_->error();
        tones_ = catalogue_->store().allTones();
    }
    static void TearDownTestSuite() {
        delete catalogue_;
        catalogue_ = nullptr;
    }

    static std::string pageUrl(int32_t index, int32_t size, int32_t type) {
        return "/api/get_tones.php?pageIndex=" + std::to_string(index) +
               "&pageSize=" + std::to_string(size) + "&type=" + std::to_string(type);
    }

    static Page fetchPage(int32_t index, int32_t size, int32_t type) {
        Page p;
        auto client = clientFor(catalogue_->port());
        auto res = client.Get(pageUrl(index, size, type));
        EXPECT_TRUE(res);
        if (!res)
            return p;
        EXPECT_EQ(res->status, 200);
        EXPECT_EQ(res->get_header_value("Content-Type"), "application/json");
        JsonDoc doc(res->body);
        EXPECT_TRUE(doc.ok) << res->body;
        if (!doc.ok)
            return p;
        EXPECT_TRUE(doc.root["hasMore"].is_bool());
        EXPECT_TRUE(doc.root["updateTime"].is_int64());
        p.hasMore = doc.root["hasMore"].get_bool().value_unsafe();
        p.updateTime = doc.root["updateTime"].get_int64().value_unsafe();
        simdjson::dom::array items = doc.root["items"].get_array().value_unsafe();
        for (auto item : items)
            p.ids.push_back(item["id"].get_int64().value_unsafe());
        return p;
    }

    // The order a list type promises, worked out from the rows themselves.
    static std::vector<int64_t> expectedIds(int32_t type) {
        std::vector<Tone> list;
        for (const auto& t : tones_) {
            if (type == CatalogueStore::kRecommended ? t.recommended
                                                     : (type <= 0 || t.type == type))
                list.push_back(t);
        }
        std::sort(list.begin(), list.end(), [type](const Tone& a, const Tone& b) {
            if (type == CatalogueStore::kMostDownloaded)
                return a.downloads != b.downloads ? a.downloads > b.downloads : a.id < b.id;
            return a.time != b.time ? a.time > b.time : a.id > b.id;
        });
        std::vector<int64_t> ids;
        for (const auto& t : list)
            ids.push_back(t.id);
        return ids;
    }

    static TestCatalogue* catalogue_;
    static std::vector<Tone> tones_;
};

TestCatalogue* CatalogueListTest::catalogue_ = nullptr;
std::vector<Tone> CatalogueListTest::tones_;

class CatalogueListTypeTest : public CatalogueListTest,
                              public ::testing::WithParamInterface<int32_t> {};

TEST_P(CatalogueListTypeTest, PagesWalkTheListInItsOrderAndHasMoreEndsIt) {
    const int32_t type = GetParam();
    const int32_t size = 4;
    auto expected = expectedIds(type);
    ASSERT_FALSE(expected.empty()) << "the seeded catalogue should fill every list";

    std::vector<int64_t> walked;
    int64_t newest = 0;
    for (const auto& t : tones_)
        if (std::find(expected.begin(), expected.end(), t.id) != expected.end())
            newest = std::max(newest, t.time);
    for (int32_t index = 0;; ++index) {
        ASSERT_LT(index, 100) << "hasMore never became false";
        Page p = fetchPage(index, size, type);
        EXPECT_EQ(p.updateTime, newest);
        walked.insert(walked.end(), p.ids.begin(), p.ids.end());
        bool more = walked.size() < expected.size();
        EXPECT_EQ(p.hasMore, more) << "page " << index;
        if (!p.hasMore) {
            EXPECT_FALSE(p.ids.empty()) << "the last page should hold the remaining tones";
            break;
        }
        EXPECT_EQ(p.ids.size(), static_cast<std::size_t>(size));
    }
    EXPECT_EQ(walked, expected);

    Page beyond = fetchPage(static_cast<int32_t>(expected.size()), size, type);
    EXPECT_TRUE(beyond.ids.empty());
    EXPECT_FALSE(beyond.hasMore);
}

INSTANTIATE_TEST_SUITE_P(AllListTypes, CatalogueListTypeTest,
                         ::testing::Values(0, -2, -3, 1, 2, 3, 4, 5));

TEST_F(CatalogueListTest, ItemsCarryTheRowsWithTheDescribedJsonTypesAndAbsoluteUrls) {
    auto client = clientFor(catalogue_->port());
    auto res = client.Get(pageUrl(0, 100, 0));
    ASSERT_TRUE(res);
    JsonDoc doc(res->body);
    ASSERT_TRUE(doc.ok);
    std::map<int64_t, Tone> byId;
    for (const auto& t : tones_)
        byId[t.id] = t;
    auto items = doc.root["items"].get_array().value_unsafe();
    ASSERT_EQ(items.size(), tones_.size());
    const std::string base = catalogue_->baseURL();
    for (auto item : items) {
        ASSERT_TRUE(item["id"].is_int64());
        const Tone& t = byId.at(item["id"].get_int64().value_unsafe());
        ASSERT_TRUE(item["name"].is_string());
        EXPECT_EQ(std::string(item["name"].get_string().value_unsafe()), t.name);
        ASSERT_TRUE(item["duration"].is_int64());
        EXPECT_EQ(item["duration"].get_int64().value_unsafe(), t.duration);
        ASSERT_TRUE(item["size"].is_number());
        EXPECT_DOUBLE_EQ(item["size"].get_double().value_unsafe(), t.size);
        ASSERT_TRUE(item["numberDownloads"].is_int64());
        EXPECT_EQ(item["numberDownloads"].get_int64().value_unsafe(), t.downloads);
        ASSERT_TRUE(item["time"].is_int64());
        EXPECT_EQ(item["time"].get_int64().value_unsafe(), t.time);
        std::string id = std::to_string(t.id);
        EXPECT_EQ(std::string(item["downloadURL"].get_string().value_unsafe()),
                  base + "files/" + id + ".caf");
        EXPECT_EQ(std::string(item["iconURL"].get_string().value_unsafe()),
                  base + "icons/" + id + ".png");
    }
}

TEST_F(CatalogueListTest, PageSizeComesFromTheRequest) {
    for (int32_t size : {1, 20, 100}) {
        Page p = fetchPage(0, size, 0);
        EXPECT_EQ(p.ids.size(), std::min<std::size_t>(size, tones_.size())) << size;
        EXPECT_EQ(p.hasMore, static_cast<std::size_t>(size) < tones_.size()) << size;
    }
}

struct BadQuery {
    const char* query;
    const char* why;
};

class CatalogueBadParameterTest : public CatalogueListTest,
                                  public ::testing::WithParamInterface<BadQuery> {};

TEST_P(CatalogueBadParameterTest, AnswersBadRequestWithAJsonError) {
    auto client = clientFor(catalogue_->port());
    auto res = client.Get(std::string("/api/get_tones.php") + GetParam().query);
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 400) << GetParam().why;
    EXPECT_EQ(res->get_header_value("Content-Type"), "application/json");
    JsonDoc doc(res->body);
    ASSERT_TRUE(doc.ok) << res->body;
    EXPECT_TRUE(doc.root["error"].is_string()) << res->body;
}

INSTANTIATE_TEST_SUITE_P(
    Table, CatalogueBadParameterTest,
    ::testing::Values(BadQuery{"", "no parameters"},
                      BadQuery{"?pageSize=20&type=0", "missing pageIndex"},
                      BadQuery{"?pageIndex=0&type=0", "missing pageSize"},
                      BadQuery{"?pageIndex=0&pageSize=20", "missing type"},
                      BadQuery{"?pageIndex=-1&pageSize=20&type=0", "negative page"},
                      BadQuery{"?pageIndex=x&pageSize=20&type=0", "non-numeric page"},
                      BadQuery{"?pageIndex=1x&pageSize=20&type=0", "trailing text"},
                      BadQuery{"?pageIndex=&pageSize=20&type=0", "empty page"},
                      BadQuery{"?pageIndex=99999999999&pageSize=20&type=0", "page overflows"},
                      BadQuery{"?pageIndex=0&pageSize=0&type=0", "page size 0"},
                      BadQuery{"?pageIndex=0&pageSize=101&type=0", "page size over 100"},
                      BadQuery{"?pageIndex=0&pageSize=-5&type=0", "negative page size"},
                      BadQuery{"?pageIndex=0&pageSize=1.5&type=0", "fractional page size"},
                      BadQuery{"?pageIndex=0&pageSize=20&type=-1", "type -1"},
                      BadQuery{"?pageIndex=0&pageSize=20&type=6", "type 6"},
                      BadQuery{"?pageIndex=0&pageSize=20&type=-4", "type -4"},
                      BadQuery{"?pageIndex=0&pageSize=20&type=new", "type by name"}));

TEST_F(CatalogueListTest, ALargeButValidPageIndexAnswersAnEmptyPage) {
    Page p = fetchPage(2147483647, 100, 0);
    EXPECT_TRUE(p.ids.empty());
    EXPECT_FALSE(p.hasMore);
}

} // namespace
