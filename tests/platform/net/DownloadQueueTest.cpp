#include "platform/net/DownloadQueue.h"
#include "platform/foundation/RunLoop.h"
#include "platform/net/DownloadProgressReceiver.h"
#include "platform/net/DownloadRequest.h"
#include "platform/net/DownloadRequestDelegate.h"
#include "tests/platform/net/LoopbackServer.h"
#include "tests/support/TestDevice.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr const char* kTones = "/var/mobile/Documents/tones/";
constexpr const char* kCache = "/var/mobile/Library/Caches/tones/";

struct Recorder : DownloadRequestDelegate {
    std::vector<int> finished;
    std::vector<int> failed;
    std::vector<NetError::Code> failures;
    std::string lastError;
    bool allOnMain = true;
    void requestFinished(const std::shared_ptr<DownloadRequest>& r) override {
        allOnMain = allOnMain && RunLoop::main().isMainThread();
        finished.push_back(r->tag());
    }
    void requestFailed(const std::shared_ptr<DownloadRequest>& r) override {
        allOnMain = allOnMain && RunLoop::main().isMainThread();
        failed.push_back(r->tag());
        failures.push_back(r->error() ? r->error()->code : NetError::Code::Other);
        lastError = r->error() ? r->error()->description : "";
    }
    size_t ended() const { return finished.size() + failed.size(); }
};

struct ProgressLog : DownloadProgressReceiver {
    std::vector<float> values;
    void setProgress(const std::shared_ptr<DownloadRequest>&, float p) override {
        values.push_back(p);
    }
};

// A server of named blobs whose behaviour each test adjusts, counting what it was asked.
struct BlobServer {
    LoopbackServer server;
    std::mutex mutex;
    std::map<std::string, std::string> blobs;
    std::vector<std::string> ranges; // the Range header of each request ("" when none)
    bool honourRanges = true;
    long truncateAt = -1;
    int status = 0; // when set, every reply is this status with an error page
    std::atomic<int> running{0};
    std::atomic<int> mostRunning{0};

    bool start() {
        server.http().Get(
            R"(/f/(.+))", [this](const httplib::Request& req, httplib::Response& res) {
                int now = ++running;
                int seen = mostRunning;
                while (now > seen && !mostRunning.compare_exchange_weak(seen, now)) {
                }
                std::string blob;
                bool honour;
                long cut;
                int forced;
                {
                    std::lock_guard lock(mutex);
                    ranges.push_back(req.get_header_value("Range"));
                    blob = blobs[req.matches[1]];
                    honour = honourRanges;
                    cut = truncateAt;
                    forced = status;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(5)); // let transfers overlap
                if (forced) {
                    res.status = forced;
                    res.set_content("<html>error page</html>", "text/html");
                } else {
                    serveBlob(req, res, blob, honour, cut);
                }
                --running;
            });
        return server.start();
    }
    std::string url(const std::string& name) { return server.url("/f/" + name); }
    size_t requestCount() {
        std::lock_guard lock(mutex);
        return ranges.size();
    }
};

class DownloadQueueTest : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(device.hostPath(kTones));
        std::filesystem::create_directories(device.hostPath(kCache));
        ASSERT_TRUE(blobs.start());
        queue = DownloadQueue::queue();
        queue->setShouldCancelAllRequestsOnFailure(false);
        queue->go();
        delegate = std::make_shared<Recorder>();
    }

    std::shared_ptr<DownloadRequest> makeRequest(const std::string& name, int tag) {
        auto r = DownloadRequest::requestWithURL(blobs.url(name));
        r->setDownloadDestinationPath(std::string(kTones) + name);
        r->setTemporaryFileDownloadPath(std::string(kCache) + name + ".temp");
        r->setAllowResumeForFileDownloads(true);
        r->setTag(tag);
        r->setDelegate(delegate);
        return r;
    }

    bool waitEnded(size_t count) {
        return RunLoop::main().runUntil([&] { return delegate->ended() >= count; }, 20);
    }
    bool waitIdle() {
        return RunLoop::main().runUntil([] { return RunLoop::main().isIdle(); }, 20);
    }

    std::optional<std::string> dest(const std::string& name) {
        return device.readFile(std::string(kTones) + name);
    }
    std::optional<std::string> temp(const std::string& name) {
        return device.readFile(std::string(kCache) + name + ".temp");
    }

    testsupport::TestDevice device;
    BlobServer blobs;
    std::shared_ptr<DownloadQueue> queue;
    std::shared_ptr<Recorder> delegate;
};

TEST_F(DownloadQueueTest, FinishedFileIsMovedToTheDestination) {
    blobs.blobs["a.caf"] = makeBlob(70000, 1);
    auto progress = std::make_shared<ProgressLog>();
    auto r = makeRequest("a.caf", 42);
    r->setDownloadProgressDelegate(progress);
    queue->addOperation(r);
    ASSERT_TRUE(waitEnded(1));
    EXPECT_EQ(delegate->finished, std::vector<int>{42});
    EXPECT_TRUE(delegate->failed.empty());
    EXPECT_TRUE(delegate->allOnMain);
    EXPECT_EQ(dest("a.caf"), blobs.blobs["a.caf"]);
    EXPECT_FALSE(temp("a.caf")) << "the temporary file became the destination";
    EXPECT_EQ(r->responseStatusCode(), 200);
    EXPECT_TRUE(queue->operations().empty());
    ASSERT_FALSE(progress->values.empty());
    EXPECT_FLOAT_EQ(progress->values.back(), 1.0f);
}

TEST_F(DownloadQueueTest, ReplacesAnOlderFileAtTheDestination) {
    device.writeFile(std::string(kTones) + "a.caf", "old contents");
    blobs.blobs["a.caf"] = makeBlob(1000, 2);
    queue->addOperation(makeRequest("a.caf", 1));
    ASSERT_TRUE(waitEnded(1));
    EXPECT_EQ(dest("a.caf"), blobs.blobs["a.caf"]);
}

struct FailureCase {
    const char* name;
    int status;
    NetError::Code code;
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class DownloadFailure : public DownloadQueueTest,
                        public testing::WithParamInterface<FailureCase> {};

TEST_P(DownloadFailure, PutsNothingAtTheDestinationAndKeepsTheTemporaryFile) {
    blobs.status = GetParam().status;
    blobs.blobs["a.caf"] = makeBlob(1000, 3);
    device.writeFile(std::string(kCache) + "a.caf.temp", "partial");
    queue->addOperation(makeRequest("a.caf", 5));
    ASSERT_TRUE(waitEnded(1));
    EXPECT_EQ(delegate->failed, std::vector<int>{5});
    EXPECT_TRUE(delegate->finished.empty());
    EXPECT_EQ(delegate->failures.at(0), GetParam().code);
    EXPECT_FALSE(dest("a.caf"));
    EXPECT_EQ(temp("a.caf"), "partial") << "an error page never lands in the file";
}

INSTANTIATE_TEST_SUITE_P(Statuses, DownloadFailure,
                         testing::Values(FailureCase{"notFound", 404, NetError::Code::HttpStatus},
                                         FailureCase{"serverError", 500,
                                                     NetError::Code::HttpStatus},
                                         FailureCase{"forbidden", 403, NetError::Code::HttpStatus}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DownloadQueueTest, ConnectionRefusedFails) {
    auto r = DownloadRequest::requestWithURL(
        "http://127.0.0.1:" + std::to_string(LoopbackServer::closedPort()) + "/x");
    r->setDownloadDestinationPath(std::string(kTones) + "x.caf");
    r->setTemporaryFileDownloadPath(std::string(kCache) + "x.caf.temp");
    r->setTag(9);
    r->setDelegate(delegate);
    queue->addOperation(r);
    ASSERT_TRUE(waitEnded(1));
    EXPECT_EQ(delegate->failures, std::vector<NetError::Code>{NetError::Code::ConnectionFailed});
    EXPECT_FALSE(dest("x.caf"));
}

TEST_F(DownloadQueueTest, PathsOutsideTheDeviceOrMissingFoldersFail) {
    auto outside = makeRequest("a.caf", 1);
    outside->setTemporaryFileDownloadPath("/var/mobile/../../../tmp/escape.temp");
    auto noFolder = makeRequest("b.caf", 2);
    noFolder->setTemporaryFileDownloadPath("/var/mobile/Library/Caches/missing/b.caf.temp");
    blobs.blobs["a.caf"] = blobs.blobs["b.caf"] = makeBlob(100, 4);
    queue->addOperation(outside);
    queue->addOperation(noFolder);
    ASSERT_TRUE(waitEnded(2));
    EXPECT_EQ(delegate->failures,
              (std::vector<NetError::Code>{NetError::Code::File, NetError::Code::File}));
    EXPECT_FALSE(dest("a.caf"));
    EXPECT_FALSE(dest("b.caf"));
}

TEST_F(DownloadQueueTest, InterruptedDownloadResumesToTheSameBytes) {
    std::string blob = makeBlob(100000, 5);
    blobs.blobs["a.caf"] = blob;
    blobs.truncateAt = 40000;
    queue->addOperation(makeRequest("a.caf", 1));
    ASSERT_TRUE(waitEnded(1));
    EXPECT_EQ(delegate->failures, std::vector<NetError::Code>{NetError::Code::Truncated});
    EXPECT_EQ(temp("a.caf"), blob.substr(0, 40000));
    EXPECT_FALSE(dest("a.caf"));

    blobs.truncateAt = -1;
    auto again = makeRequest("a.caf", 1);
    queue->addOperation(again);
    ASSERT_TRUE(waitEnded(2));
    EXPECT_EQ(delegate->finished, std::vector<int>{1});
    EXPECT_EQ(blobs.ranges.back(), "bytes=40000-");
    EXPECT_EQ(again->responseStatusCode(), 206);
    EXPECT_EQ(dest("a.caf"), blob);
}

TEST_F(DownloadQueueTest, ServerIgnoringRangesRestartsTheFileCleanly) {
    std::string blob = makeBlob(50000, 6);
    blobs.blobs["a.caf"] = blob;
    blobs.honourRanges = false;
    device.writeFile(std::string(kCache) + "a.caf.temp", blob.substr(0, 20000) + "garbage");
    queue->addOperation(makeRequest("a.caf", 1));
    ASSERT_TRUE(waitEnded(1));
    EXPECT_EQ(blobs.ranges.back(), "bytes=20007-");
    EXPECT_EQ(delegate->finished, std::vector<int>{1});
    EXPECT_EQ(dest("a.caf"), blob);
}

TEST_F(DownloadQueueTest, CompleteTemporaryFileAnsweredWith416Finishes) {
    std::string blob = makeBlob(3000, 7);
    blobs.blobs["a.caf"] = blob;
    device.writeFile(std::string(kCache) + "a.caf.temp", blob);
    queue->addOperation(makeRequest("a.caf", 1));
    ASSERT_TRUE(waitEnded(1));
    EXPECT_EQ(delegate->finished, std::vector<int>{1});
    EXPECT_EQ(dest("a.caf"), blob);
}

TEST_F(DownloadQueueTest, TemporaryFileLongerThanTheFileStartsOver) {
    std::string blob = makeBlob(3000, 8);
    blobs.blobs["a.caf"] = blob;
    device.writeFile(std::string(kCache) + "a.caf.temp", blob + "stale tail");
    queue->addOperation(makeRequest("a.caf", 1));
    ASSERT_TRUE(waitEnded(1));
    EXPECT_EQ(delegate->finished, std::vector<int>{1});
    EXPECT_EQ(dest("a.caf"), blob);
    EXPECT_EQ(blobs.ranges, (std::vector<std::string>{"bytes=3010-", ""}));
}

TEST_F(DownloadQueueTest, WithoutResumeAnOldTemporaryFileIsOverwritten) {
    std::string blob = makeBlob(3000, 9);
    blobs.blobs["a.caf"] = blob;
    device.writeFile(std::string(kCache) + "a.caf.temp", "old");
    auto r = makeRequest("a.caf", 1);
    r->setAllowResumeForFileDownloads(false);
    queue->addOperation(r);
    ASSERT_TRUE(waitEnded(1));
    EXPECT_EQ(blobs.ranges, std::vector<std::string>{""});
    EXPECT_EQ(dest("a.caf"), blob);
}

TEST_F(DownloadQueueTest, FiftyConcurrentDownloadsAllCompleteWithinTheBound) {
    constexpr int kCount = 50;
    for (int i = 0; i < kCount; ++i) {
        blobs.blobs["t" + std::to_string(i) + ".caf"] = makeBlob(20000 + 37 * i, 100 + i);
    }
    for (int i = 0; i < kCount; ++i) {
        queue->addOperation(makeRequest("t" + std::to_string(i) + ".caf", i));
    }
    EXPECT_EQ(queue->requestsCount(), kCount);
    ASSERT_TRUE(waitEnded(kCount));
    EXPECT_EQ(delegate->finished.size(), static_cast<size_t>(kCount));
    for (size_t i = 0; i < delegate->failed.size(); ++i) {
        ADD_FAILURE() << "t" << delegate->failed[i]
                      << " failed: " << static_cast<int>(delegate->failures[i]) << " "
                      << delegate->lastError;
    }
    EXPECT_TRUE(delegate->allOnMain);
    for (int i = 0; i < kCount; ++i) {
        std::string name = "t" + std::to_string(i) + ".caf";
        EXPECT_TRUE(dest(name) == blobs.blobs[name]) << name; // bytes unprinted
    }
    EXPECT_LE(blobs.mostRunning.load(), DownloadQueue::kDefaultMaxConcurrentOperationCount);
}

TEST_F(DownloadQueueTest, OperationsListWaitingAndRunningRequestsInOrder) {
    auto fresh = DownloadQueue::queue(); // not started: everything waits
    std::vector<std::shared_ptr<DownloadRequest>> added;
    for (int i = 0; i < 6; ++i) {
        blobs.blobs["o" + std::to_string(i)] = makeBlob(500, i);
        added.push_back(makeRequest("o" + std::to_string(i), i));
        fresh->addOperation(added.back());
    }
    EXPECT_EQ(fresh->operations(), added);
    EXPECT_TRUE(fresh->isSuspended());
    for (auto& r : added) {
        EXPECT_EQ(r->state(), DownloadRequest::State::Waiting);
    }
    fresh->go();
    fresh->go();
    int running = 0;
    for (auto& r : added) {
        running += r->state() == DownloadRequest::State::Running ? 1 : 0;
    }
    EXPECT_EQ(running, DownloadQueue::kDefaultMaxConcurrentOperationCount);
    added[1]->clearDelegatesAndCancel();
    EXPECT_EQ(fresh->operations(), (std::vector<std::shared_ptr<DownloadRequest>>{
                                       added[0], added[2], added[3], added[4], added[5]}));
    ASSERT_TRUE(waitEnded(5));
    EXPECT_EQ(delegate->finished.size(), 5u);
    EXPECT_TRUE(fresh->operations().empty());
}

TEST_F(DownloadQueueTest, ClearedAndCancelledRightAfterStartNeverCallsBack) {
    blobs.blobs["a.caf"] = makeBlob(200000, 10);
    auto r = makeRequest("a.caf", 1);
    queue->addOperation(r);
    r->clearDelegatesAndCancel();
    EXPECT_TRUE(queue->operations().empty());
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(delegate->ended(), 0u);
    EXPECT_FALSE(dest("a.caf"));
    EXPECT_TRUE(r->isCancelled());
}

TEST_F(DownloadQueueTest, CancelAfterTheTransferEndedButBeforeDeliveryNeverCallsBack) {
    blobs.blobs["a.caf"] = makeBlob(1000, 11);
    auto r = makeRequest("a.caf", 1);
    queue->addOperation(r);
    // The main loop is not pumped, so the finished transfer waits in the main queue.
    for (int i = 0; i < 1000 && blobs.requestCount() == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_EQ(blobs.requestCount(), 1u);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    r->clearDelegatesAndCancel();
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(delegate->ended(), 0u);
    EXPECT_FALSE(dest("a.caf")) << "a cancelled download is not moved into place";
}

TEST_F(DownloadQueueTest, PlainCancelTellsTheDelegateOfACancellation) {
    blobs.blobs["a.caf"] = makeBlob(1000, 12);
    auto r = makeRequest("a.caf", 3);
    queue->addOperation(r);
    r->cancel();
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(delegate->failed, std::vector<int>{3});
    EXPECT_EQ(delegate->failures, std::vector<NetError::Code>{NetError::Code::Cancelled});
}

TEST_F(DownloadQueueTest, OneFailureCancelsTheOthersOnlyWhenAsked) {
    for (bool cancelAll : {false, true}) {
        SCOPED_TRACE(cancelAll);
        delegate = std::make_shared<Recorder>();
        auto q = DownloadQueue::queue();
        q->setShouldCancelAllRequestsOnFailure(cancelAll);
        q->setMaxConcurrentOperationCount(1); // the failing one runs first, others wait
        auto bad = DownloadRequest::requestWithURL(
            "http://127.0.0.1:" + std::to_string(LoopbackServer::closedPort()) + "/x");
        bad->setDownloadDestinationPath(std::string(kTones) + "bad.caf");
        bad->setTemporaryFileDownloadPath(std::string(kCache) + "bad.caf.temp");
        bad->setTag(0);
        bad->setDelegate(delegate);
        q->addOperation(bad);
        for (int i = 1; i <= 3; ++i) {
            blobs.blobs["c" + std::to_string(i)] = makeBlob(100, i);
            q->addOperation(makeRequest("c" + std::to_string(i), i));
        }
        q->go();
        ASSERT_TRUE(waitEnded(4));
        ASSERT_TRUE(waitIdle());
        if (cancelAll) {
            EXPECT_TRUE(delegate->finished.empty());
            EXPECT_EQ(delegate->failures,
                      (std::vector<NetError::Code>{
                          NetError::Code::ConnectionFailed, NetError::Code::Cancelled,
                          NetError::Code::Cancelled, NetError::Code::Cancelled}));
        } else {
            EXPECT_EQ(delegate->finished, (std::vector<int>{1, 2, 3}));
            EXPECT_EQ(delegate->failed, std::vector<int>{0});
        }
    }
}

TEST_F(DownloadQueueTest, DelegateIsNotKeptAlive) {
    blobs.blobs["a.caf"] = makeBlob(100, 13);
    auto r = makeRequest("a.caf", 1);
    std::weak_ptr<Recorder> watch = delegate;
    delegate.reset();
    EXPECT_TRUE(watch.expired());
    delegate = std::make_shared<Recorder>(); // for waitEnded's sake; not attached
    queue->addOperation(r);
    ASSERT_TRUE(waitIdle());
    EXPECT_TRUE(r->isFinished());
    EXPECT_EQ(dest("a.caf"), blobs.blobs["a.caf"]);
}

} // namespace
