#include "platform/net/JsonRequest.h"
#include "platform/foundation/RunLoop.h"
#include "tests/platform/net/LoopbackServer.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <optional>
#include <thread>

namespace {

struct Outcome {
    bool done = false;
    bool onMain = false;
    std::optional<Json> json;
    std::optional<NetError> error;
};

std::shared_ptr<Outcome> startRequest(const std::shared_ptr<JsonRequest>& request) {
    auto outcome = std::make_shared<Outcome>();
    request->start(
        [outcome](const Json& json) {
            outcome->done = true;
            outcome->onMain = RunLoop::main().isMainThread();
            outcome->json = json;
        },
        [outcome](const NetError& error) {
            outcome->done = true;
            outcome->onMain = RunLoop::main().isMainThread();
            outcome->error = error;
        });
    return outcome;
}

bool waitFor(const std::shared_ptr<Outcome>& outcome, double seconds = 10) {
    return RunLoop::main().runUntil([&] { return outcome->done; }, seconds);
}

struct ReplyCase {
    const char* name;
    int status;
    const char* contentType;
    const char* body;
    const char* extraType; // added to the accepted types, or nullptr
    bool succeeds;
    NetError::Code failure;
};

const ReplyCase kReplyCases[] = {
    {"json", 200, "application/json", R"({"a":1})", nullptr, true, {}},
    {"textJson", 200, "text/json", "[1,2]", nullptr, true, {}},
    {"javascript", 200, "text/javascript", "true", nullptr, true, {}},
    {"charsetAndCase", 200, "Application/JSON; charset=utf-8", R"({"a":1})", nullptr, true, {}},
    {"htmlRefused", 200, "text/html", R"({"a":1})", nullptr, false, NetError::Code::BadContentType},
    {"htmlAdded", 200, "text/html; charset=UTF-8", R"({"a":1})", "text/html", true, {}},
    {"plainRefused", 200, "text/plain", R"({"a":1})", "text/html", false,
     NetError::Code::BadContentType},
    {"notJson", 200, "application/json", "<html>oops</html>", nullptr, false,
     NetError::Code::NotJson},
    {"emptyBody", 200, "application/json", "", nullptr, false, NetError::Code::NotJson},
    {"notFound", 404, "application/json", R"({"error":"no"})", nullptr, false,
     NetError::Code::HttpStatus},
    {"serverError", 500, "application/json", R"({"error":"no"})", nullptr, false,
     NetError::Code::HttpStatus},
    {"noContent", 204, "application/json", "", nullptr, false, NetError::Code::NotJson},
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const ReplyCase& c, std::ostream* os) {
    *os << c.name;
}

class JsonReply : public testing::TestWithParam<ReplyCase> {};

TEST_P(JsonReply, IsJudgedByStatusTypeAndBody) {
    const ReplyCase& c = GetParam();
    LoopbackServer server;
    server.http().Get("/r", [&](const httplib::Request&, httplib::Response& res) {
        res.status = c.status;
        res.set_content(c.body, c.contentType);
    });
    ASSERT_TRUE(server.start());
    auto request = JsonRequest::requestWithURL(server.url("/r"), 10);
    if (c.extraType) {
        request->addAcceptableContentType(c.extraType);
    }
    auto outcome = startRequest(request);
    ASSERT_TRUE(waitFor(outcome));
    EXPECT_TRUE(outcome->onMain);
    if (c.succeeds) {
        ASSERT_TRUE(outcome->json.has_value());
        EXPECT_EQ(outcome->json->serialize(), Json::parse(c.body)->serialize());
        EXPECT_FALSE(outcome->error);
    } else {
        ASSERT_TRUE(outcome->error.has_value());
        EXPECT_EQ(outcome->error->code, c.failure) << outcome->error->description;
        EXPECT_FALSE(outcome->error->description.empty());
        EXPECT_FALSE(outcome->json);
    }
}

INSTANTIATE_TEST_SUITE_P(Replies, JsonReply, testing::ValuesIn(kReplyCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(JsonRequest, TimesOutOnASlowServer) {
    LoopbackServer server;
    server.http().Get("/slow", [&](const httplib::Request&, httplib::Response& res) {
        server.holdUntilReleased(20);
        res.set_content("{}", "application/json");
    });
    ASSERT_TRUE(server.start());
    auto outcome = startRequest(JsonRequest::requestWithURL(server.url("/slow"), 0.3));
    ASSERT_TRUE(waitFor(outcome, 15));
    ASSERT_TRUE(outcome->error.has_value());
    EXPECT_EQ(outcome->error->code, NetError::Code::Timeout);
}

TEST(JsonRequest, FailsWhenTheConnectionIsRefused) {
    int port = LoopbackServer::closedPort();
    ASSERT_GT(port, 0);
    auto url = "http://127.0.0.1:" + std::to_string(port) + "/x";
    auto outcome = startRequest(JsonRequest::requestWithURL(url, 5));
    ASSERT_TRUE(waitFor(outcome));
    ASSERT_TRUE(outcome->error.has_value());
    EXPECT_EQ(outcome->error->code, NetError::Code::ConnectionFailed);
    EXPECT_TRUE(outcome->onMain);
}

TEST(JsonRequest, FailsWhenTheBodyIsCutShort) {
    LoopbackServer server;
    server.http().Get("/short", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(100, "application/json",
                                 [](size_t offset, size_t, httplib::DataSink& sink) {
                                     if (offset == 0) {
                                         sink.write("{\"a\":[1,2", 9);
                                         return true;
                                     }
                                     return false;
                                 });
    });
    ASSERT_TRUE(server.start());
    auto outcome = startRequest(JsonRequest::requestWithURL(server.url("/short"), 10));
    ASSERT_TRUE(waitFor(outcome));
    ASSERT_TRUE(outcome->error.has_value());
    EXPECT_EQ(outcome->error->code, NetError::Code::Truncated);
}

TEST(JsonRequest, CancelledRequestNeverCallsBackAndReleasesItsOwner) {
    LoopbackServer server;
    std::atomic<int> served{0};
    server.http().Get("/r", [&](const httplib::Request&, httplib::Response& res) {
        ++served;
        res.set_content("{}", "application/json");
    });
    ASSERT_TRUE(server.start());

    auto owner = std::make_shared<int>(7);
    std::weak_ptr<int> watch = owner;
    auto request = JsonRequest::requestWithURL(server.url("/r"), 10);
    bool called = false;
    request->start([&called, owner](const Json&) { called = true; },
                   [&called, owner](const NetError&) { called = true; });
    owner.reset();
    EXPECT_FALSE(watch.expired()) << "the pending request keeps its owner";
    request->cancel();
    EXPECT_TRUE(watch.expired()) << "a cancelled request lets its owner go";
    ASSERT_TRUE(RunLoop::main().runUntil([] { return RunLoop::main().isIdle(); }, 10));
    EXPECT_FALSE(called);
}

TEST(JsonRequest, CancelAfterTheReplyArrivedButBeforeDeliveryStaysSilent) {
    LoopbackServer server;
    std::atomic<int> served{0};
    server.http().Get("/r", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content("{}", "application/json");
        ++served;
    });
    ASSERT_TRUE(server.start());
    auto request = JsonRequest::requestWithURL(server.url("/r"), 10);
    bool called = false;
    request->start([&](const Json&) { called = true; }, [&](const NetError&) { called = true; });
    // Without pumping the main loop the reply can only wait in the main queue.
    while (served == 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    request->cancel();
    ASSERT_TRUE(RunLoop::main().runUntil([] { return RunLoop::main().isIdle(); }, 10));
    EXPECT_FALSE(called);
    EXPECT_TRUE(request->isFinished());
}

TEST(JsonRequest, KeepsTheLoopBusyUntilTheOutcomeIsHandled) {
    LoopbackServer server;
    server.http().Get("/slow", [&](const httplib::Request&, httplib::Response& res) {
        server.holdUntilReleased(0.3);
        res.set_content("{}", "application/json");
    });
    ASSERT_TRUE(server.start());
    auto outcome = startRequest(JsonRequest::requestWithURL(server.url("/slow"), 10));
    EXPECT_FALSE(RunLoop::main().isIdle());
    ASSERT_TRUE(RunLoop::main().runUntil([] { return RunLoop::main().isIdle(); }, 10));
    EXPECT_TRUE(outcome->done);
    EXPECT_TRUE(outcome->json.has_value());
}

} // namespace
