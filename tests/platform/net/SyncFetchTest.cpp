#include "platform/net/SyncFetch.h"
#include "tests/platform/net/LoopbackServer.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <future>

namespace {

// The fetch belongs on a worker thread; the test thread is the main thread.
std::optional<std::string> fetchOnWorker(const std::string& url, double timeout = 10) {
    return std::async(std::launch::async, [&] { return fetchDataSync(url, timeout); }).get();
}

TEST(SyncFetch, AnswersTheBodyOfASuccessfulReplyOnly) {
    LoopbackServer server;
    std::string blob = makeBlob(300000, 1);
    server.http().Get("/ok", [&](const httplib::Request& req, httplib::Response& res) {
        serveBlob(req, res, blob, false);
    });
    server.http().Get("/empty", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content("", "application/octet-stream");
    });
    server.http().Get("/missing", [&](const httplib::Request&, httplib::Response& res) {
        res.status = 404;
        res.set_content("not here", "text/plain");
    });
    server.http().Get("/slow", [&](const httplib::Request&, httplib::Response& res) {
        server.holdUntilReleased(20);
        res.set_content("late", "text/plain");
    });
    server.http().Get("/short", [&](const httplib::Request& req, httplib::Response& res) {
        serveBlob(req, res, blob, false, 1000);
    });
    ASSERT_TRUE(server.start());

    EXPECT_EQ(fetchOnWorker(server.url("/ok")), blob);
    EXPECT_EQ(fetchOnWorker(server.url("/empty")), std::string());
    EXPECT_EQ(fetchOnWorker(server.url("/missing")), std::nullopt);
    EXPECT_EQ(fetchOnWorker(server.url("/slow"), 0.3), std::nullopt);
    EXPECT_EQ(fetchOnWorker(server.url("/short")), std::nullopt);
    EXPECT_EQ(fetchOnWorker("http://127.0.0.1:" + std::to_string(LoopbackServer::closedPort())),
              std::nullopt);
    EXPECT_EQ(fetchOnWorker("ftp://127.0.0.1/x"), std::nullopt);
}

} // namespace
