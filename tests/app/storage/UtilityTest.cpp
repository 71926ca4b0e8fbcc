#include "app/storage/Utility.h"
#include "app/catalogue/ServiceConfig.h"
#include "platform/foundation/RunLoop.h"
#include "service/TestCatalogue.h"
#include "tests/app/support/ScopedBaseURL.h"
#include "tests/app/support/StubServer.h"
#include "tests/support/TestDevice.h"

#include "BuildConfig.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

bool runUntilIdle() {
    return RunLoop::main().runUntil([] { return RunLoop::main().isIdle(); }, 10);
}

TEST(ServiceConfigTest, BaseURLIsTheBuildsUnlessTheDeviceNamesAnother) {
    EXPECT_EQ(ServiceConfig::baseURL(), BuildConfig::kServiceBaseURL);
    {
        ScopedBaseURL url("http://127.0.0.1:9/");
        EXPECT_EQ(ServiceConfig::baseURL(), "http://127.0.0.1:9/");
    }
    {
        ScopedBaseURL url("http://127.0.0.1:9/svc");
        EXPECT_EQ(ServiceConfig::baseURL(), "http://127.0.0.1:9/svc/");
    }
    EXPECT_EQ(ServiceConfig::baseURL(), BuildConfig::kServiceBaseURL);
}

TEST(DownloadReportTest, AsksForTheReportPathWithTheToneId) {
    testsupport::TestDevice dev;
    StubServer server;
    server.on("/api/inc_fm_downloads.php", [](const StubRequest&) {
        return StubReply{200, "application/json", R"({"ok":true})"};
    });
    ASSERT_TRUE(server.start());
    ScopedBaseURL url(server.baseURL());

    for (int32_t id : {42, -3, 0}) {
        Utility::incNumOfDownloads(id);
    }
    ASSERT_TRUE(runUntilIdle());
    std::vector<std::string> targets;
    for (const auto& request : server.requests()) {
        targets.push_back(request.target);
    }
    // Sent side by side: they may arrive in any order.
    EXPECT_THAT(targets, testing::UnorderedElementsAre("/api/inc_fm_downloads.php?fmId=42",
                                                       "/api/inc_fm_downloads.php?fmId=-3",
                                                       "/api/inc_fm_downloads.php?fmId=0"));
}

TEST(DownloadReportTest, CountsOnTheCatalogueService) {
    testsupport::TestDevice dev;
    chimora::service::TestCatalogue catalogue(5);
    ASSERT_TRUE(catalogue.ok()) << catalogue.error();
    ScopedBaseURL url(catalogue.baseURL());
    const auto tone = catalogue.store().allTones().at(2);

    Utility::incNumOfDownloads(tone.id);
    Utility::incNumOfDownloads(tone.id);
    ASSERT_TRUE(runUntilIdle());
    EXPECT_EQ(catalogue.store().tone(tone.id)->downloads, tone.downloads + 2);
}

TEST(DownloadReportTest, FailuresAreDropped) {
    testsupport::TestDevice dev;
    StubServer server;
    server.on("/api/inc_fm_downloads.php", [](const StubRequest&) {
        return StubReply{500, "text/plain", "down"};
    });
    ASSERT_TRUE(server.start());
    const std::string base = server.baseURL();
    {
        ScopedBaseURL url(base);
        Utility::incNumOfDownloads(1);
        ASSERT_TRUE(runUntilIdle());
    }
    server.stop();
    {
        ScopedBaseURL url(base); // nobody listens any more
        Utility::incNumOfDownloads(2);
        ASSERT_TRUE(runUntilIdle());
    }
    // One attempt each, no retry, nothing shown or logged.
    EXPECT_EQ(server.countFor("/api/inc_fm_downloads.php"), 1u);
    EXPECT_TRUE(dev.device().logLines().empty());
}

} // namespace
