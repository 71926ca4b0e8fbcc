#include "platform/net/FireAndForgetRequest.h"
#include "platform/foundation/RunLoop.h"
#include "tests/platform/net/LoopbackServer.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>

namespace {

TEST(FireAndForgetRequest, IsSentAndCountsAsWorkInFlightUntilItEnds) {
    LoopbackServer server;
    std::atomic<int> reports{0};
    std::string query;
    server.http().Get("/api/inc_fm_downloads.php",
                      [&](const httplib::Request& req, httplib::Response& res) {
                          server.holdUntilReleased(0.3);
                          query = req.get_param_value("fmId");
                          res.status = 500; // the outcome is ignored either way
                          ++reports;
                      });
    ASSERT_TRUE(server.start());
    FireAndForgetRequest::send(server.url("/api/inc_fm_downloads.php?fmId=42"));
    EXPECT_FALSE(RunLoop::main().isIdle());
    ASSERT_TRUE(RunLoop::main().runUntil([] { return RunLoop::main().isIdle(); }, 10));
    EXPECT_EQ(reports.load(), 1);
    EXPECT_EQ(query, "42");
}

TEST(FireAndForgetRequest, FailureIsDroppedQuietly) {
    FireAndForgetRequest::send("http://127.0.0.1:" + std::to_string(LoopbackServer::closedPort()) +
                               "/x");
    EXPECT_TRUE(RunLoop::main().runUntil([] { return RunLoop::main().isIdle(); }, 10));
}

} // namespace
