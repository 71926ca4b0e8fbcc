#include "app/transfers/DownloadManager.h"
#include "app/storage/StoreManager.h"
#include "platform/foundation/RunLoop.h"
#include "service/TestCatalogue.h"
#include "tests/app/support/StubServer.h"
#include "tests/support/TestDevice.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using testing::ElementsAre;
using testing::IsEmpty;

const std::string kTones = "/var/mobile/Documents/tones";
const std::string kCache = "/var/mobile/Library/Caches/tones";

bool runUntilIdle() {
    return RunLoop::main().runUntil([] { return RunLoop::main().isIdle(); }, 15);
}

struct RecordingDelegate : DownloadManagerDelegate {
    void downloadDone(int taskID) override { done.push_back(taskID); }
    void downloadFailed(int taskID) override { failed.push_back(taskID); }
    std::vector<int> done;
    std::vector<int> failed;
};

// Neither operation implemented: it is simply not told.
struct SilentDelegate : DownloadManagerDelegate {};

std::string blob(size_t size) {
    std::string out(size, '\0');
    for (size_t i = 0; i < size; ++i) {
        out[i] = static_cast<char>((i * 131 + 7) & 0xff);
    }
    return out;
}

class DownloadManagerTest : public testing::Test {
protected:
    void SetUp() override {
        StoreManager::load();
        manager = DownloadManager::shared();
        // As every tone list does when it is made.
        manager->setMTargetDirPath(StoreManager::getPathForDocumentsTonesDir());
        manager->setMCacheDirPath(StoreManager::getPathForTonesCacheDir());
    }

    uintmax_t sizeOf(const std::string& devicePath) {
        std::error_code ec;
        auto size = std::filesystem::file_size(dev.hostPath(devicePath), ec);
        return ec ? 0 : size;
    }

    bool start(const std::string& url, const std::string& name, int id,
               const std::shared_ptr<DownloadManagerDelegate>& delegate) {
        return manager->startTaskForURL(url, name, nullptr, id, delegate);
    }

    testsupport::TestDevice dev;
    std::shared_ptr<DownloadManager> manager;
};

TEST_F(DownloadManagerTest, TheSharedManagerRunsItsQueueAndKeepsGoingAfterFailures) {
    EXPECT_EQ(DownloadManager::shared(), manager);
    ASSERT_TRUE(manager->mNetQueue());
    EXPECT_FALSE(manager->mNetQueue()->isSuspended());
    EXPECT_FALSE(manager->mNetQueue()->shouldCancelAllRequestsOnFailure());
}

TEST_F(DownloadManagerTest, DownloadsACatalogueToneIntoTheTonesDirectory) {
    chimora::service::TestCatalogue catalogue(3);
    ASSERT_TRUE(catalogue.ok()) << catalogue.error();
    const auto tone = catalogue.store().allTones().at(1);
    std::ifstream in(catalogue.filesDir() / tone.file, std::ios::binary);
    std::stringstream expected;
    expected << in.rdbuf();
    ASSERT_FALSE(expected.str().empty());

    auto delegate = std::make_shared<RecordingDelegate>();
    ASSERT_TRUE(start(catalogue.baseURL() + "files/" + std::to_string(tone.id) + ".caf", tone.name,
                      tone.id, delegate));
    ASSERT_TRUE(runUntilIdle());
    EXPECT_THAT(delegate->done, ElementsAre(tone.id));
    EXPECT_THAT(delegate->failed, IsEmpty());
    EXPECT_EQ(dev.readFile(kTones + "/" + tone.name), expected.str());
    EXPECT_FALSE(dev.exists(kCache + "/" + tone.name + ".temp"));
    EXPECT_THAT(StoreManager::getDownloadedFileNames(), ElementsAre(tone.name));
}

TEST_F(DownloadManagerTest, BytesGoToTheTemporaryFileUntilTheDownloadIsComplete) {
    const std::string body = blob(64 * 1024);
    StubServer server;
    server.on("/abc.caf", [&](const StubRequest&) {
        return StubReply{200, "audio/x-caf", body, 40000};
    });
    ASSERT_TRUE(server.start());

    auto delegate = std::make_shared<RecordingDelegate>();
    ASSERT_TRUE(start(server.baseURL() + "abc.caf", "abc.caf", 11, delegate));
    // Written through a buffer: what shows is some bytes, not the whole first part.
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return sizeOf(kCache + "/abc.caf.temp") > 0; }, 15));
    EXPECT_FALSE(dev.exists(kTones + "/abc.caf"));
    EXPECT_THAT(delegate->done, IsEmpty());

    server.release();
    ASSERT_TRUE(runUntilIdle());
    EXPECT_THAT(delegate->done, ElementsAre(11));
    EXPECT_EQ(dev.readFile(kTones + "/abc.caf"), body);
    EXPECT_FALSE(dev.exists(kCache + "/abc.caf.temp"));
}

TEST_F(DownloadManagerTest, AFailureIsReportedOnceAndLeavesNoFile) {
    StubServer server;
    server.on("/missing.caf", [](const StubRequest&) {
        return StubReply{404, "text/html", "not here"};
    });
    server.on("/broken.caf", [](const StubRequest&) {
        return StubReply{500, "text/html", "oops"};
    });
    ASSERT_TRUE(server.start());
    const std::string base = server.baseURL();

    struct Case {
        std::string url;
        std::string name;
        int id;
    };
    const Case cases[] = {
        {base + "missing.caf", "missing.caf", 21},
        {base + "broken.caf", "broken.caf", 22},
        {"http://127.0.0.1:1/refused.caf", "refused.caf", 23},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto delegate = std::make_shared<RecordingDelegate>();
        ASSERT_TRUE(start(c.url, c.name, c.id, delegate));
        ASSERT_TRUE(runUntilIdle());
        EXPECT_THAT(delegate->failed, ElementsAre(c.id));
        EXPECT_THAT(delegate->done, IsEmpty());
        EXPECT_FALSE(dev.exists(kTones + "/" + c.name));
        auto log = dev.device().logLines();
        EXPECT_EQ(std::count(log.begin(), log.end(), "Failed: " + std::to_string(c.id)), 1);
    }
}

TEST_F(DownloadManagerTest, OneFailureDoesNotStopTheOthers) {
    const std::string body = blob(64 * 1024);
    StubServer server;
    server.on("/slow.caf", [&](const StubRequest&) {
        return StubReply{200, "audio/x-caf", body, 40000};
    });
    server.on("/bad.caf", [](const StubRequest&) { return StubReply{500, "text/plain", "x"}; });
    ASSERT_TRUE(server.start());

    auto delegate = std::make_shared<RecordingDelegate>();
    ASSERT_TRUE(start(server.baseURL() + "slow.caf", "slow.caf", 31, delegate));
    ASSERT_TRUE(
        RunLoop::main().runUntil([&] { return sizeOf(kCache + "/slow.caf.temp") > 0; }, 15));
    ASSERT_TRUE(start(server.baseURL() + "bad.caf", "bad.caf", 32, delegate));
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return !delegate->failed.empty(); }, 15));
    server.release();
    ASSERT_TRUE(runUntilIdle());
    EXPECT_THAT(delegate->failed, ElementsAre(32));
    EXPECT_THAT(delegate->done, ElementsAre(31));
    EXPECT_EQ(dev.readFile(kTones + "/slow.caf"), body);
}

TEST_F(DownloadManagerTest, WithoutATargetDirectoryNothingStarts) {
    StubServer server;
    server.on("/a.caf", [](const StubRequest&) { return StubReply{200, "audio/x-caf", "x"}; });
    ASSERT_TRUE(server.start());
    manager->setMTargetDirPath("");
    auto delegate = std::make_shared<RecordingDelegate>();
    EXPECT_FALSE(start(server.baseURL() + "a.caf", "a.caf", 41, delegate));
    ASSERT_TRUE(runUntilIdle());
    EXPECT_TRUE(server.requests().empty());
    EXPECT_THAT(delegate->done, IsEmpty());
    EXPECT_THAT(delegate->failed, IsEmpty());
    EXPECT_EQ(manager->mDelegates().count(41), 0u);
}

TEST_F(DownloadManagerTest, UnsafeFileNamesAreRefused) {
    StubServer server;
    server.on("/x.caf", [](const StubRequest&) { return StubReply{200, "audio/x-caf", "evil"}; });
    ASSERT_TRUE(server.start());
    auto delegate = std::make_shared<RecordingDelegate>();
    const std::vector<std::string> names = {
        "", ".", "..", "../x.caf", "../../Documents/x.caf", "a/b.caf", std::string("x\0.caf", 6)};
    for (const auto& name : names) {
        EXPECT_FALSE(start(server.baseURL() + "x.caf", name, 42, delegate))
            << testing::PrintToString(name);
    }
    ASSERT_TRUE(runUntilIdle());
    EXPECT_TRUE(server.requests().empty());
    EXPECT_THAT(delegate->done, IsEmpty());
    EXPECT_THAT(delegate->failed, IsEmpty());
    EXPECT_FALSE(dev.exists("/var/mobile/Documents/x.caf"));
    EXPECT_FALSE(dev.exists("/var/mobile/Library/Caches/x.caf.temp"));
}

TEST_F(DownloadManagerTest, TheURLIsEscapedAsUTF8) {
    StubServer server;
    server.on("/new tones/铃声 1.caf", [](const StubRequest&) {
        return StubReply{200, "audio/x-caf", "ring"};
    });
    ASSERT_TRUE(server.start());
    auto delegate = std::make_shared<RecordingDelegate>();
    ASSERT_TRUE(start(server.baseURL() + "new tones/铃声 1.caf", "铃声 1.caf", 51, delegate));
    ASSERT_TRUE(runUntilIdle());
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0].target, "/new%20tones/%E9%93%83%E5%A3%B0%201.caf");
    EXPECT_THAT(delegate->done, ElementsAre(51));
    EXPECT_EQ(dev.readFile(kTones + "/铃声 1.caf"), "ring");
}

TEST_F(DownloadManagerTest, ASecondTaskWithTheSameIdReplacesTheDelegate) {
    StubServer server;
    server.on("/one.caf", [](const StubRequest&) { return StubReply{200, "audio/x-caf", "1"}; });
    server.on("/two.caf", [](const StubRequest&) { return StubReply{200, "audio/x-caf", "2"}; });
    ASSERT_TRUE(server.start());
    auto first = std::make_shared<RecordingDelegate>();
    auto second = std::make_shared<RecordingDelegate>();
    ASSERT_TRUE(start(server.baseURL() + "one.caf", "one.caf", 61, first));
    ASSERT_TRUE(start(server.baseURL() + "two.caf", "two.caf", 61, second));
    EXPECT_EQ(manager->mDelegates().at(61), second);
    ASSERT_TRUE(runUntilIdle());
    EXPECT_THAT(first->done, IsEmpty());
    EXPECT_THAT(second->done, ElementsAre(61, 61));
}

TEST_F(DownloadManagerTest, ADelegateWithoutTheOperationsIsNotTold) {
    StubServer server;
    server.on("/ok.caf", [](const StubRequest&) { return StubReply{200, "audio/x-caf", "ok"}; });
    ASSERT_TRUE(server.start());
    ASSERT_TRUE(
        start(server.baseURL() + "ok.caf", "ok.caf", 71, std::make_shared<SilentDelegate>()));
    ASSERT_TRUE(start("http://127.0.0.1:1/no.caf", "no.caf", 72, nullptr));
    ASSERT_TRUE(runUntilIdle());
    EXPECT_EQ(dev.readFile(kTones + "/ok.caf"), "ok");
}

TEST_F(DownloadManagerTest, PauseSendsNothingAndKeepsTheTemporaryFileForTheNextStart) {
    const std::string body = blob(32 * 1024);
    StubServer server;
    server.on("/p.caf", [&](const StubRequest&) {
        return StubReply{200, "audio/x-caf", body, 20000};
    });
    ASSERT_TRUE(server.start());

    manager->pause(81); // nothing running under that id: nothing happens
    auto delegate = std::make_shared<RecordingDelegate>();
    ASSERT_TRUE(start(server.baseURL() + "p.caf", "p.caf", 81, delegate));
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return sizeOf(kCache + "/p.caf.temp") > 0; }, 15));
    manager->pause(81);
    server.release();
    ASSERT_TRUE(runUntilIdle());
    EXPECT_THAT(delegate->done, IsEmpty());
    EXPECT_THAT(delegate->failed, IsEmpty());
    EXPECT_FALSE(dev.exists(kTones + "/p.caf"));
    const auto kept = sizeOf(kCache + "/p.caf.temp");
    EXPECT_GT(kept, 0u);
    EXPECT_LT(kept, body.size());

    // Starting the same file again continues from the kept bytes.
    ASSERT_TRUE(start(server.baseURL() + "p.caf", "p.caf", 81, delegate));
    ASSERT_TRUE(runUntilIdle());
    auto seen = server.requests();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].range, "");
    EXPECT_EQ(seen[1].range, "bytes=" + std::to_string(kept) + "-");
    EXPECT_THAT(delegate->done, ElementsAre(81));
    EXPECT_EQ(dev.readFile(kTones + "/p.caf"), body);
}

} // namespace
