#include "app/catalogue/ToneListController.h"
#include "app/storage/StoreManager.h"
#include "platform/foundation/NSNotificationCenter.h"
#include "platform/foundation/RunLoop.h"
#include "service/TestCatalogue.h"
#include "tests/app/support/ScopedBaseURL.h"
#include "tests/app/support/StubServer.h"
#include "tests/support/TestDevice.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <mutex>

namespace {

using testing::ElementsAreArray;

bool runUntilIdle() {
    return RunLoop::main().runUntil([] { return RunLoop::main().isIdle(); }, 15);
}

std::vector<int32_t> ids(const ToneListController& list) {
    std::vector<int32_t> out;
    for (const auto& info : list.mFMInfos()) {
        out.push_back(info->mID());
    }
    return out;
}

int rows(ToneListController& list) {
    return list.numberOfRowsInSection(list.tableView(), 0);
}

// Shows row `row` the way the table does when it scrolls into view.
void showRow(ToneListController& list, int row) {
    auto table = list.tableView();
    list.willDisplayCell(table, UITableViewCell::initWithStyle(0, "probe"),
                         NSIndexPath::indexPathForRow(row, 0));
}

std::string noticeText(ToneListController& list) {
    auto label = std::dynamic_pointer_cast<UILabel>(list.tableView()->tableHeaderView());
    return label ? label->text() : std::string("<no notice>");
}

int countLines(testsupport::TestDevice& dev, const std::string& line) {
    auto lines = dev.device().logLines();
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

// ---- Against the reference catalogue ----

class ToneListCatalogueTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(catalogue.ok()) << catalogue.error();
        StoreManager::load();
    }

    std::vector<int32_t> serviceIds(int32_t type, int pageIndex) {
        std::vector<int32_t> out;
        for (const auto& tone : catalogue.store().page(type, pageIndex, 20).items) {
            out.push_back(tone.id);
        }
        return out;
    }

    testsupport::TestDevice dev;
    chimora::service::TestCatalogue catalogue{45};
    ScopedBaseURL base{catalogue.baseURL()};
};

TEST_F(ToneListCatalogueTest, PageZeroReplacesAndLaterPagesExtend) {
    auto list = ToneListController::initWithType(0);
    list->setMNeedReload(true);
    list->loadData();
    ASSERT_TRUE(runUntilIdle());

    auto expected = serviceIds(0, 0);
    ASSERT_EQ(expected.size(), 20u);
    EXPECT_THAT(ids(*list), ElementsAreArray(expected));
    EXPECT_EQ(list->mPageIndex(), 1);
    EXPECT_TRUE(list->mHasMoreData());
    EXPECT_FALSE(list->mNeedReload());
    EXPECT_FALSE(list->mIsLoading());
    ASSERT_TRUE(list->mUpdateTime());
    EXPECT_EQ(list->mUpdateTime()->timeIntervalSince1970(),
              static_cast<double>(catalogue.store().page(0, 0, 20).updateTime));
    EXPECT_EQ(rows(*list), 21); // the records and the "more" row
    EXPECT_EQ(list->tableView()->tableHeaderView(), nullptr);

    showRow(*list, 20);
    ASSERT_TRUE(runUntilIdle());
    showRow(*list, 40);
    ASSERT_TRUE(runUntilIdle());
    for (int page : {1, 2}) {
        auto more = serviceIds(0, page);
        expected.insert(expected.end(), more.begin(), more.end());
    }
    EXPECT_EQ(expected.size(), 45u);
    EXPECT_THAT(ids(*list), ElementsAreArray(expected));
    EXPECT_FALSE(list->mHasMoreData());
    EXPECT_EQ(list->mPageIndex(), 3);
    EXPECT_EQ(rows(*list), 45);

    list->reLoad();
    ASSERT_TRUE(runUntilIdle());
    EXPECT_THAT(ids(*list), ElementsAreArray(serviceIds(0, 0)));
    EXPECT_EQ(list->mPageIndex(), 1);
}

TEST_F(ToneListCatalogueTest, EachListAsksForItsOwnType) {
    for (int32_t type : {-2, -3, 1, 5}) {
        auto list = ToneListController::initWithType(type);
        list->loadData();
        ASSERT_TRUE(runUntilIdle());
        EXPECT_THAT(ids(*list), ElementsAreArray(serviceIds(type, 0))) << type;
    }
}

TEST_F(ToneListCatalogueTest, RecordsCarryTheServiceValues) {
    auto list = ToneListController::initWithType(0);
    list->loadData();
    ASSERT_TRUE(runUntilIdle());
    ASSERT_FALSE(list->mFMInfos().empty());
    const auto& info = *list->mFMInfos().front();
    auto tone = catalogue.store().tone(info.mID());
    ASSERT_TRUE(tone);
    EXPECT_EQ(info.mName(), tone->name);
    EXPECT_EQ(info.mDuration(), tone->duration);
    EXPECT_DOUBLE_EQ(info.mSize(), tone->size);
    EXPECT_EQ(info.mNumberDownloads(), tone->downloads);
    EXPECT_EQ(info.mDate().timeIntervalSince1970(), static_cast<double>(tone->time));
    EXPECT_EQ(info.mDownloadURLStr(),
              catalogue.baseURL() + "files/" + std::to_string(info.mID()) + ".caf");
    EXPECT_EQ(info.mIconURLStr(),
              catalogue.baseURL() + "icons/" + std::to_string(info.mID()) + ".png");
}

// ---- Against a scripted server ----

// Page replies handed out in order; the last one repeats.
class PageScript {
public:
    void push(StubReply reply) {
        std::lock_guard lock(mutex_);
        replies_.push_back(std::move(reply));
    }
    StubServer::Handler handler() {
        return [this](const StubRequest&) {
            std::lock_guard lock(mutex_);
            if (replies_.empty()) {
                return StubReply{500, "text/plain", "no reply scripted"};
            }
            StubReply reply = replies_.front();
            if (replies_.size() > 1) {
                replies_.pop_front();
            }
            return reply;
        };
    }

private:
    std::mutex mutex_;
    std::deque<StubReply> replies_;
};

StubReply json(std::string body) {
    return {200, "application/json", std::move(body)};
}

// A page of `count` items with identifiers from `first`.
std::string page(int first, int count, const char* hasMore = R"("hasMore":true,)") {
    std::string items;
    for (int i = 0; i < count; ++i) {
        items += (i ? "," : "") + std::string(R"({"id":)") + std::to_string(first + i) +
                 R"(,"name":"t)" + std::to_string(first + i) + R"(.caf"})";
    }
    return "{" + std::string(hasMore) + R"("updateTime":1700000000,"items":[)" + items + "]}";
}

class ToneListServerTest : public testing::Test {
protected:
    void SetUp() override {
        server.on("/api/get_tones.php", script.handler());
        ASSERT_TRUE(server.start());
        base = std::make_unique<ScopedBaseURL>(server.baseURL());
        StoreManager::load();
    }

    std::vector<std::string> pageTargets() {
        std::vector<std::string> out;
        for (const auto& r : server.requests()) {
            if (r.path == "/api/get_tones.php") {
                out.push_back(r.target);
            }
        }
        return out;
    }

    static std::string target(int pageIndex, int type = 0) {
        return "/api/get_tones.php?pageIndex=" + std::to_string(pageIndex) +
               "&pageSize=20&type=" + std::to_string(type);
    }

    testsupport::TestDevice dev;
    PageScript script;
    StubServer server;
    std::unique_ptr<ScopedBaseURL> base;
};

TEST_F(ToneListServerTest, TheRequestNamesPageSizeAndType) {
    script.push(json(page(1, 1, "")));
    auto list = ToneListController::initWithType(-3);
    list->setMPageIndex(4);
    list->loadData();
    ASSERT_TRUE(runUntilIdle());
    EXPECT_THAT(pageTargets(), testing::ElementsAre(target(4, -3)));
}

TEST_F(ToneListServerTest, AtMostOneRequestIsOutstandingPerList) {
    script.push(json(page(1, 20)));
    auto list = ToneListController::initWithType(0);
    auto other = ToneListController::initWithType(0);
    // Views first: loading a view clears the busy mark, as the first appearance needs.
    list->view();
    other->view();
    list->loadData();
    EXPECT_TRUE(list->mIsLoading());
    list->loadData();
    list->reLoad();
    list->refresh();
    showRow(*list, 0);
    NSNotificationCenter::defaultCenter().postNotificationName(
        UIApplicationDidBecomeActiveNotification); // `other` loads; `list` is busy
    ASSERT_TRUE(runUntilIdle());
    EXPECT_EQ(pageTargets().size(), 2u);
    EXPECT_EQ(list->mFMInfos().size(), 20u);
    EXPECT_EQ(other->mFMInfos().size(), 20u);
    EXPECT_EQ(list->mPageIndex(), 1);
}

TEST_F(ToneListServerTest, ActivationReloadsPageZero) {
    script.push(json(page(1, 20)));
    script.push(json(page(21, 20)));
    script.push(json(page(100, 3, "")));
    auto list = ToneListController::initWithType(0);
    list->loadData();
    ASSERT_TRUE(runUntilIdle());
    showRow(*list, 20);
    ASSERT_TRUE(runUntilIdle());
    ASSERT_EQ(list->mFMInfos().size(), 40u);

    NSNotificationCenter::defaultCenter().postNotificationName(
        UIApplicationDidBecomeActiveNotification);
    ASSERT_TRUE(runUntilIdle());
    EXPECT_THAT(pageTargets(), testing::ElementsAre(target(0), target(1), target(0)));
    EXPECT_THAT(ids(*list), testing::ElementsAre(100, 101, 102));
}

TEST_F(ToneListServerTest, AFailedPageIsAskedForAgain) {
    script.push(json(page(1, 20)));
    script.push({500, "application/json", R"({"error":"busy"})"});
    script.push(json(page(21, 20)));
    auto list = ToneListController::initWithType(0);
    list->loadData();
    ASSERT_TRUE(runUntilIdle());

    showRow(*list, 5); // a record row asks for nothing
    showRow(*list, 20);
    ASSERT_TRUE(runUntilIdle());
    EXPECT_EQ(list->mFMInfos().size(), 20u); // shown records stay
    EXPECT_EQ(list->mPageIndex(), 1);
    EXPECT_TRUE(list->mHasMoreData());
    EXPECT_FALSE(list->mIsLoading());
    EXPECT_EQ(rows(*list), 21); // the "more" row stays
    EXPECT_EQ(list->tableView()->tableHeaderView(), nullptr);
    EXPECT_EQ(countLines(dev, "comments load failure."), 1);

    showRow(*list, 20);
    ASSERT_TRUE(runUntilIdle());
    EXPECT_THAT(pageTargets(), testing::ElementsAre(target(0), target(1), target(1)));
    EXPECT_EQ(list->mFMInfos().size(), 40u);
    EXPECT_EQ(list->mPageIndex(), 2);
}

TEST_F(ToneListServerTest, AFailedReloadKeepsTheRecords) {
    script.push(json(page(1, 2, "")));
    script.push({404, "text/html", "gone"});
    auto list = ToneListController::initWithType(0);
    list->loadData();
    ASSERT_TRUE(runUntilIdle());
    list->reLoad();
    ASSERT_TRUE(runUntilIdle());
    EXPECT_THAT(ids(*list), testing::ElementsAre(1, 2));
    EXPECT_EQ(list->mPageIndex(), 0); // the reload's page is asked for next
    EXPECT_EQ(list->tableView()->tableHeaderView(), nullptr);
}

struct FailureCase {
    const char* label;
    StubReply reply;
};

class ToneListFailureTest : public ToneListServerTest,
                            public testing::WithParamInterface<FailureCase> {};

TEST_P(ToneListFailureTest, EndsLikeAFailedRequest) {
    script.push(GetParam().reply);
    auto list = ToneListController::initWithType(0);
    list->view(); // with its spinner
    ASSERT_TRUE(list->mPageLoadingIndicator());
    list->loadData();
    ASSERT_TRUE(runUntilIdle());
    EXPECT_FALSE(list->mIsLoading());
    EXPECT_EQ(list->mPageIndex(), 0);
    EXPECT_FALSE(list->mUpdateTime());
    EXPECT_TRUE(list->mFMInfos().empty());
    EXPECT_FALSE(list->mPageLoadingIndicator()->isAnimating());
    EXPECT_EQ(noticeText(*list), "No fms yet");
    EXPECT_EQ(countLines(dev, "comments load failure."), 1);
}

const FailureCase kFailureCases[] = {
    {"serverError", {500, "application/json", R"({"hasMore":true,"items":[]})"}},
    {"plainText", {200, "text/plain", R"({"hasMore":true,"items":[]})"}},
    {"notJson", {200, "application/json", "<html>oops</html>"}},
    {"emptyBody", {200, "application/json", ""}},
    {"array", {200, "application/json", R"([{"id":1}])"}},
    {"bareNumber", {200, "application/json", "42"}},
    {"null", {200, "application/json", "null"}},
};

INSTANTIATE_TEST_SUITE_P(Replies, ToneListFailureTest, testing::ValuesIn(kFailureCases),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(ToneListServerTest, AnUnreachableServiceEndsLikeAFailedRequest) {
    server.stop();
    auto list = ToneListController::initWithType(0);
    list->loadData();
    ASSERT_TRUE(runUntilIdle());
    EXPECT_FALSE(list->mIsLoading());
    EXPECT_EQ(noticeText(*list), "No fms yet");
}

TEST_F(ToneListServerTest, HtmlTypedRepliesAreAccepted) {
    script.push({200, "text/html; charset=utf-8", page(1, 2, "")});
    auto list = ToneListController::initWithType(0);
    list->loadData();
    ASSERT_TRUE(runUntilIdle());
    EXPECT_THAT(ids(*list), testing::ElementsAre(1, 2));
}

TEST_F(ToneListServerTest, MissingHasMoreStopsPagingAndMissingUpdateTimeIsTheEpoch) {
    script.push(json(R"({"items":[{"id":1},{"id":2}]})"));
    auto list = ToneListController::initWithType(0);
    list->loadData();
    ASSERT_TRUE(runUntilIdle());
    EXPECT_FALSE(list->mHasMoreData());
    ASSERT_TRUE(list->mUpdateTime());
    EXPECT_EQ(list->mUpdateTime()->timeIntervalSince1970(), 0);
    EXPECT_EQ(rows(*list), 2);
    showRow(*list, 2);
    ASSERT_TRUE(runUntilIdle());
    EXPECT_EQ(pageTargets().size(), 1u);
}

TEST_F(ToneListServerTest, AnEmptyPageZeroEmptiesTheListAndShowsTheNotice) {
    script.push(json(page(1, 3, "")));
    script.push(json(R"({"hasMore":true})"));
    script.push(json(page(7, 1, "")));
    auto list = ToneListController::initWithType(0);
    list->loadData();
    ASSERT_TRUE(runUntilIdle());
    ASSERT_EQ(list->mFMInfos().size(), 3u);

    list->reLoad();
    ASSERT_TRUE(runUntilIdle());
    EXPECT_TRUE(list->mFMInfos().empty());
    EXPECT_EQ(list->mPageIndex(), 1);
    EXPECT_EQ(rows(*list), 0); // no "more" row without records
    EXPECT_EQ(noticeText(*list), "No fms yet");

    list->reLoad();
    ASSERT_TRUE(runUntilIdle());
    EXPECT_THAT(ids(*list), testing::ElementsAre(7));
    EXPECT_EQ(list->tableView()->tableHeaderView(), nullptr);
}

TEST_F(ToneListServerTest, NumbersSentAsStringsReadByValue) {
    script.push(json(R"({"hasMore":"1","updateTime":"1700000000",
        "items":[{"id":"42","size":"10.9","numberDownloads":"7","duration":"3"}]})"));
    script.push(json(R"({"hasMore":"0","updateTime":"1700000100","items":[{"id":"43"}]})"));
    auto list = ToneListController::initWithType(0);
    list->loadData();
    ASSERT_TRUE(runUntilIdle());
    // "1" meant more: the "more" row was in view and asked for page 1; "0" ended it.
    EXPECT_THAT(pageTargets(), testing::ElementsAre(target(0), target(1)));
    EXPECT_FALSE(list->mHasMoreData());
    EXPECT_EQ(list->mUpdateTime()->timeIntervalSince1970(), 1700000100);
    ASSERT_EQ(list->mFMInfos().size(), 2u);
    EXPECT_EQ(list->mFMInfos()[0]->mID(), 42);
    EXPECT_EQ(static_cast<int>(list->mFMInfos()[0]->mSize()), 10);
    EXPECT_EQ(list->mFMInfos()[0]->mNumberDownloads(), 7);
    EXPECT_EQ(list->mFMInfos()[0]->mDuration(), 3);
    EXPECT_EQ(list->mFMInfos()[1]->mID(), 43);
}

TEST_F(ToneListServerTest, ItemsThatAreNoObjectsAreSkipped) {
    script.push(json(R"({"hasMore":false,"items":[{"id":1,"name":"a.caf"},5,null,"x",[],
        {"id":2,"name":null,"size":null},true]})"));
    script.push(json(R"({"hasMore":"maybe","updateTime":null,"items":{"id":9}})"));
    auto list = ToneListController::initWithType(0);
    list->loadData();
    ASSERT_TRUE(runUntilIdle());
    EXPECT_THAT(ids(*list), testing::ElementsAre(1, 2));
    EXPECT_EQ(list->mFMInfos()[1]->mName(), "");

    list->reLoad();
    ASSERT_TRUE(runUntilIdle());
    EXPECT_TRUE(list->mFMInfos().empty()); // "items" that is no array holds no items
    EXPECT_FALSE(list->mHasMoreData());
    EXPECT_EQ(list->mUpdateTime()->timeIntervalSince1970(), 0);
    EXPECT_EQ(list->mPageIndex(), 1);
}

TEST_F(ToneListServerTest, ALaterPageRepeatingRecordsShowsThemTwice) {
    script.push(json(page(1, 20)));
    script.push(json(page(20, 2, "")));
    auto list = ToneListController::initWithType(0);
    list->loadData();
    ASSERT_TRUE(runUntilIdle());
    showRow(*list, 20);
    ASSERT_TRUE(runUntilIdle());
    auto got = ids(*list);
    ASSERT_EQ(got.size(), 22u);
    EXPECT_EQ(std::count(got.begin(), got.end(), 20), 2);
    EXPECT_EQ(got.back(), 21);
}

TEST_F(ToneListServerTest, AMoreRowInViewAsksForTheNextPagesOneAtATime) {
    script.push(json(page(1, 2)));
    script.push(json(page(3, 2)));
    script.push(json(page(5, 2, "")));
    auto list = ToneListController::initWithType(0);
    list->view();
    list->loadData();
    ASSERT_TRUE(runUntilIdle());
    EXPECT_THAT(pageTargets(), testing::ElementsAre(target(0), target(1), target(2)));
    EXPECT_THAT(ids(*list), testing::ElementsAre(1, 2, 3, 4, 5, 6));
    EXPECT_EQ(list->mPageIndex(), 3);
    EXPECT_EQ(rows(*list), 6);
}

TEST_F(ToneListServerTest, TheSpinnerStopsWithTheFirstReply) {
    script.push(json(page(1, 2, "")));
    auto list = ToneListController::initWithType(0);
    auto table = list->tableView();
    auto spinner = list->mPageLoadingIndicator();
    ASSERT_TRUE(spinner);
    EXPECT_TRUE(spinner->isAnimating());
    EXPECT_EQ(spinner->superview(), table);
    EXPECT_EQ(spinner->center().x, table->bounds().size.width / 2);
    EXPECT_EQ(spinner->center().y, table->bounds().size.height / 2 - 150);
    EXPECT_FALSE(list->mIsLoading());

    list->loadData();
    ASSERT_TRUE(runUntilIdle());
    EXPECT_FALSE(spinner->isAnimating());
}

TEST_F(ToneListServerTest, AppearingLoadsOnlyWhenThereIsNothingToShow) {
    script.push(json(page(1, 2, "")));
    auto list = ToneListController::initWithType(0);
    list->viewWillAppear(false);
    ASSERT_TRUE(runUntilIdle());
    EXPECT_EQ(pageTargets().size(), 1u);
    list->viewWillAppear(false); // records present: a redraw only
    ASSERT_TRUE(runUntilIdle());
    EXPECT_EQ(pageTargets().size(), 1u);
    list->setMNeedReload(true);
    list->viewWillAppear(false);
    ASSERT_TRUE(runUntilIdle());
    EXPECT_EQ(pageTargets().size(), 2u);
}

TEST_F(ToneListServerTest, RefreshTakesAFreshListingOfTheTonesDirectory) {
    script.push(json(page(1, 2, "")));
    auto list = ToneListController::initWithType(0);
    dev.writeFile("/var/mobile/Documents/tones/t1.caf", "x");
    list->refresh();
    EXPECT_THAT(list->mDowndoadedFileNames(), testing::ElementsAre("t1.caf"));
    ASSERT_TRUE(runUntilIdle());
    dev.writeFile("/var/mobile/Documents/tones/t2.caf", "x");
    list->refresh();
    EXPECT_THAT(list->mDowndoadedFileNames(), testing::ElementsAre("t1.caf", "t2.caf"));
}

TEST_F(ToneListServerTest, TheNoticeHeaderIsACentredGrayLabel) {
    auto list = ToneListController::initWithType(0);
    auto label = list->headerViewWithNotice("hello");
    EXPECT_EQ(label->frame().size.width, 320);
    EXPECT_EQ(label->frame().size.height, 50);
    EXPECT_EQ(label->text(), "hello");
    EXPECT_EQ(label->textAlignment(), NSTextAlignmentCenter);
    EXPECT_EQ(label->textColor(), UIColor::grayColor());
    EXPECT_EQ(label->font(), UIFont::systemFontOfSize(15));
}

TEST_F(ToneListServerTest, ListTitlesComeFromTheType) {
    const std::pair<int32_t, const char*> cases[] = {
        {0, ""}, {-2, ""}, {-3, "Recommanded"}, {1, "Boys'"}, {5, "iPhone"}, {9, ""}};
    for (const auto& [type, title] : cases) {
        auto list = ToneListController::initWithType(type);
        list->view();
        EXPECT_EQ(list->title(), title) << type;
    }
}

TEST_F(ToneListServerTest, APendingRequestKeepsItsListAlive) {
    script.push(json(page(1, 2, "")));
    std::weak_ptr<ToneListController> weak;
    {
        auto list = ToneListController::initWithType(0);
        weak = list;
        list->loadData();
    }
    EXPECT_FALSE(weak.expired());
    ASSERT_TRUE(runUntilIdle());
    EXPECT_TRUE(weak.expired()); // released once the reply was handled
    EXPECT_EQ(pageTargets().size(), 1u);
}

} // namespace
