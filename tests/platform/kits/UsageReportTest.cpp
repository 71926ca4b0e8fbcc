#include "platform/kits/UsageReport.h"

#include "BuildConfig.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/RunLoop.h"
#include "service/TestCatalogue.h"
#include "tests/platform/kits/ReportServer.h"
#include "tests/support/TestDevice.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

constexpr double kWait = 10;

class UsageReportTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.start());
        report = makeReport();
    }

    std::shared_ptr<UsageReport> makeReport() {
        auto r = std::make_shared<UsageReport>(server.reportURL());
        r->start("5f2c9a7e1b3d4c6e8a0b2d4f", 0, "chimor");
        return r;
    }

    // Refreshes and waits until the reply (or failure) has been handled.
    void refreshAndWait(const std::shared_ptr<UsageReport>& r) {
        r->refreshOnlineConfig();
        ASSERT_TRUE(RunLoop::main().runUntil([&] { return !r->isRefreshing(); }, kWait));
    }

    testsupport::TestDevice device;
    ReportServer server;
    std::shared_ptr<UsageReport> report;
};

TEST_F(UsageReportTest, RefreshReturnsAtOnceAndLookupsAnswerNothingUntilTheReply) {
    server.setConfigReply(200, R"({"UPID_SHARE_TEXT_EN":"hello"})");
    server.hold();
    report->refreshOnlineConfig();
    EXPECT_TRUE(report->isRefreshing());
    EXPECT_EQ(report->configParam("UPID_SHARE_TEXT_EN"), std::nullopt);

    // The service has the request and sits on it; lookups still answer at once.
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return server.configRequests() == 1; }, kWait));
    RunLoop::main().runUntil([] { return false; }, 0.1);
    EXPECT_TRUE(report->isRefreshing());
    EXPECT_EQ(report->configParam("UPID_SHARE_TEXT_EN"), std::nullopt);

    server.release();
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return !report->isRefreshing(); }, kWait));
    EXPECT_EQ(report->configParam("UPID_SHARE_TEXT_EN"), "hello");
    EXPECT_EQ(report->configParam("UPID_SHARE_TEXT_HANS"), std::nullopt);
}

TEST_F(UsageReportTest, RefreshAskedAgainWhileOnItsWaySendsOneRequest) {
    server.hold();
    report->refreshOnlineConfig();
    report->refreshOnlineConfig();
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return server.configRequests() == 1; }, kWait));
    server.release();
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return !report->isRefreshing(); }, kWait));
    EXPECT_EQ(server.configRequests(), 1);
}

TEST_F(UsageReportTest, NothingIsAskedBeforeStart) {
    auto fresh = std::make_shared<UsageReport>(server.reportURL());
    fresh->refreshOnlineConfig();
    EXPECT_FALSE(fresh->isRefreshing());
    bool called = false;
    fresh->checkUpdate([&](const Json&) { called = true; });
    RunLoop::main().runUntil([] { return RunLoop::main().isIdle(); }, kWait);
    EXPECT_EQ(server.configRequests(), 0);
    EXPECT_TRUE(server.updateVersions().empty());
    EXPECT_FALSE(called);
}

TEST_F(UsageReportTest, AReplyReplacesTheWholeSet) {
    server.setConfigReply(200, R"({"A":"1","B":"2"})");
    refreshAndWait(report);
    server.setConfigReply(200, R"({"A":"one"})");
    refreshAndWait(report);
    EXPECT_EQ(report->configParam("A"), "one");
    EXPECT_EQ(report->configParam("B"), std::nullopt);
}

TEST_F(UsageReportTest, ValuesThatAreNotStringsReadAsNotGiven) {
    server.setConfigReply(200, R"({"n":1,"z":null,"b":true,"o":{"x":"y"},"s":"","t":" "})");
    refreshAndWait(report);
    for (const char* key : {"n", "z", "b", "o"}) {
        EXPECT_EQ(report->configParam(key), std::nullopt) << key;
    }
    EXPECT_EQ(report->configParam("s"), "");
    EXPECT_EQ(report->configParam("t"), " ");
}

struct BadReply {
    const char* name;
    int status;
    const char* body;
};

class UsageReportBadReplyTest : public UsageReportTest,
                                public testing::WithParamInterface<BadReply> {};

TEST_P(UsageReportBadReplyTest, KeepsTheSetThereWas) {
    server.setConfigReply(200, R"({"A":"kept"})");
    refreshAndWait(report);
    server.setConfigReply(GetParam().status, GetParam().body);
    refreshAndWait(report);
    EXPECT_EQ(server.configRequests(), 2);
    EXPECT_EQ(report->configParam("A"), "kept");

    // Nor does a later launch lose it.
    auto later = makeReport();
    EXPECT_EQ(later->configParam("A"), "kept");
}

INSTANTIATE_TEST_SUITE_P(Replies, UsageReportBadReplyTest,
                         testing::Values(BadReply{"ServerError", 500, R"({"A":"error page"})"},
                                         BadReply{"Array", 200, R"(["A","x"])"},
                                         BadReply{"String", 200, R"("A")"},
                                         BadReply{"NotJson", 200, "A=x"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(UsageReportTest, ALaterLaunchWithoutNetworkHasTheKeptSet) {
    server.setConfigReply(200, R"({"UPID_BBS_URL_En":"http://127.0.0.1/bbs/","中":"文"})");
    refreshAndWait(report);
    server.stop();
    report.reset();

    auto later = makeReport();
    EXPECT_EQ(later->configParam("UPID_BBS_URL_En"), "http://127.0.0.1/bbs/");
    EXPECT_EQ(later->configParam("中"), "文");
    refreshAndWait(later); // refused: the kept set stays
    EXPECT_EQ(later->configParam("UPID_BBS_URL_En"), "http://127.0.0.1/bbs/");
}

TEST_F(UsageReportTest, AKeptFileThatIsNoSetIsIgnored) {
    device.writeFile(UsageReport::kConfigPath, "{broken");
    auto later = makeReport();
    EXPECT_EQ(later->configParam("A"), std::nullopt);
    server.setConfigReply(200, R"({"A":"fresh"})");
    refreshAndWait(later);
    EXPECT_EQ(makeReport()->configParam("A"), "fresh");
}

TEST_F(UsageReportTest, UpdateCheckHandsTheDictionaryToTheMainThread) {
    server.setUpdateReply(
        R"({"update":true,"version":"1.10","update_log":"Faster.","path":"http://x/1.10"})");
    std::optional<Json> result;
    bool onMain = false;
    report->checkUpdate([&](const Json& dict) {
        onMain = RunLoop::main().isMainThread();
        result = dict;
    });
    EXPECT_FALSE(result); // never inside the call
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return result.has_value(); }, kWait));
    EXPECT_TRUE(onMain);
    ASSERT_TRUE(result->isObject());
    EXPECT_EQ(result->get("update")->asBool(), true);
    EXPECT_EQ(result->get("version")->asString(), "1.10");
    EXPECT_EQ(result->get("update_log")->asString(), "Faster.");
    EXPECT_EQ(result->get("path")->asString(), "http://x/1.10");

    auto version = NSBundle::mainBundle()->objectForInfoDictionaryKey("CFBundleVersion");
    ASSERT_TRUE(version);
    EXPECT_EQ(server.updateVersions(), std::vector<std::string>{*version});
}

TEST_F(UsageReportTest, UpdateCheckWithoutAnAnswerCallsNothing) {
    server.setUpdateReply("[]");
    int calls = 0;
    report->checkUpdate([&](const Json&) { ++calls; });
    ASSERT_TRUE(
        RunLoop::main().runUntil([&] { return server.updateVersions().size() == 1; }, kWait));
    RunLoop::main().runUntil([] { return RunLoop::main().isIdle(); }, kWait);

    server.stop();
    report->checkUpdate([&](const Json&) { ++calls; });
    RunLoop::main().runUntil([] { return RunLoop::main().isIdle(); }, kWait);
    EXPECT_EQ(calls, 0);
}

TEST(UsageReportAddressTest, RunOptionElseTheBuildsAlwaysEndingInASlash) {
    const char* saved = std::getenv("CHIMORA_REPORT_URL");
    std::string keep = saved ? saved : "";
    ::unsetenv("CHIMORA_REPORT_URL");
    EXPECT_EQ(UsageReport::defaultReportURL(), BuildConfig::kReportURL);
    ::setenv("CHIMORA_REPORT_URL", "http://127.0.0.1:9000/report", 1);
    EXPECT_EQ(UsageReport::defaultReportURL(), "http://127.0.0.1:9000/report/");
    EXPECT_EQ(UsageReport(UsageReport::defaultReportURL()).reportURL(),
              "http://127.0.0.1:9000/report/");
    if (saved) {
        ::setenv("CHIMORA_REPORT_URL", keep.c_str(), 1);
    } else {
        ::unsetenv("CHIMORA_REPORT_URL");
    }
}

// The reference service's own parameters and releases, as the app meets them.
TEST(UsageReportReferenceServiceTest, SeededParametersAndAnAnnouncedRelease) {
    testsupport::TestDevice device;
    chimora::service::TestCatalogue catalogue(1);
    ASSERT_TRUE(catalogue.ok()) << catalogue.error();
    catalogue.store().addRelease({"9.0", "{{base}}chimora-9.0.deb", "Newer."});

    auto report = std::make_shared<UsageReport>(catalogue.reportURL());
    report->start("5f2c9a7e1b3d4c6e8a0b2d4f", 0, "chimor");
    report->refreshOnlineConfig();
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return !report->isRefreshing(); }, kWait));
    EXPECT_EQ(report->configParam("UPID_BBS_URL_En"), catalogue.baseURL() + "bbs/");
    EXPECT_EQ(report->configParam("UPID_RECOMMANDED_APP_URL"), "cydia://package/com.chimora.pro");

    std::optional<Json> result;
    report->checkUpdate([&](const Json& dict) { result = dict; });
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return result.has_value(); }, kWait));
    EXPECT_EQ(result->get("update")->asBool(), true);
    EXPECT_EQ(result->get("version")->asString(), "9.0");
    EXPECT_EQ(result->get("path")->asString(), catalogue.baseURL() + "chimora-9.0.deb");
}

} // namespace
