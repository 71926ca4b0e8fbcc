#include "app/transfers/Preplayer.h"

#include "app/storage/StoreManager.h"
#include "platform/foundation/NSOperation.h"
#include "platform/foundation/RunLoop.h"
#include "service/ToneFile.h"
#include "tests/app/support/StubServer.h"
#include "tests/support/TestDevice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

namespace {

using testsupport::TestDevice;
namespace fs = std::filesystem;

constexpr const char* kPretones = "/var/mobile/Documents/pretones/";
constexpr const char* kTones = "/var/mobile/Documents/tones/";

// A short real tone, so that a player can be made of it and finishes quickly.
std::string toneBytes(const fs::path& dir) {
    const fs::path file = dir / "preview-source.caf";
    if (!chimora::service::ToneFile::writeMelody(file, {{880, 0.05}, {660, 0.05}},
                                                 chimora::service::ToneFile::Wave::Sine)) {
        return {};
    }
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool runUntilIdle() {
    return RunLoop::main().runUntil([] { return RunLoop::main().isIdle(); }, 20);
}

// Holds a queue's only worker until released, so that what is queued behind it waits.
class Blocker : public NSOperation {
public:
    void main() override {
        while (!released) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    std::atomic<bool> released{false};
};

class Preview : public testing::Test {
protected:
    void SetUp() override {
        StoreManager::load();
        tone = toneBytes(dev.root().parent_path());
        ASSERT_FALSE(tone.empty());
    }

    // Serves the tone at each path (decoded, as the server sees it).
    void serveTone(std::initializer_list<std::string> paths, long holdAfter = -1) {
        for (const auto& path : paths) {
            server.on(path, [this, holdAfter](const StubRequest&) {
                return StubReply{200, "audio/x-caf", tone, holdAfter};
            });
        }
    }

    // The sounds the device played from a player, by source.
    size_t playerSoundsOf(const std::string& source) {
        const auto sounds = dev.device().sounds();
        return std::count_if(sounds.begin(), sounds.end(), [&](const host::SoundRecord& s) {
            return s.kind == platform::SoundKind::Player && s.source == source;
        });
    }

    std::vector<std::string> pretones() {
        std::vector<std::string> names;
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(dev.hostPath(kPretones), ec)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    TestDevice dev;
    StubServer server;
    std::string tone;
};

TEST_F(Preview, LocalPlayPlaysOnlyARealSoundFile) {
    const std::string good = std::string(kTones) + "ding.caf";
    dev.writeFile(good, tone);
    dev.writeFile(std::string(kTones) + "text.caf", "no sound in here");
    const struct {
        std::string path;
        bool plays;
    } cases[] = {
        {good, true},
        {std::string(kTones) + "missing.caf", false},
        {std::string(kTones) + "text.caf", false},
        {kTones, false},
    };
    for (const auto& c : cases) {
        dev.device().clearRecords();
        Preplayer::playLocalFile(c.path);
        const auto sounds = dev.device().sounds();
        if (c.plays) {
            ASSERT_EQ(sounds.size(), 1u) << c.path;
            EXPECT_EQ(sounds[0].kind, platform::SoundKind::System);
            EXPECT_EQ(sounds[0].source, c.path);
        } else {
            EXPECT_TRUE(sounds.empty()) << c.path;
        }
    }
}

TEST_F(Preview, LocalPlaysOfOneFileOverlap) {
    const std::string path = std::string(kTones) + "ding.caf";
    dev.writeFile(path, tone);
    Preplayer::playLocalFile(path);
    Preplayer::playLocalFile(path);
    EXPECT_EQ(dev.device().sounds().size(), 2u);
}

TEST_F(Preview, RemotePreviewStoresThePretoneAndPlaysOnlyWhenAsked) {
    serveTone({"/tones/played.caf", "/tones/stored.caf"});
    ASSERT_TRUE(server.start());
    const struct {
        const char* name;
        bool needPlay;
    } cases[] = {{"played.caf", true}, {"stored.caf", false}};
    Preplayer player;
    for (const auto& c : cases) {
        const std::string url = server.baseURL() + "tones/" + c.name;
        player.playOnline(url, c.needPlay);
        auto operation = player.mCurrentOperation();
        ASSERT_TRUE(operation);
        EXPECT_EQ(operation->mCafURLStr(), url);
        ASSERT_TRUE(runUntilIdle());

        EXPECT_EQ(dev.readFile(std::string(kPretones) + c.name), tone) << c.name;
        EXPECT_EQ(playerSoundsOf(url), c.needPlay ? 1u : 0u) << c.name;
        EXPECT_EQ(operation->mPlayer() != nullptr, c.needPlay) << c.name;
        EXPECT_EQ(server.countFor(std::string("/tones/") + c.name), 1u);
    }
}

TEST_F(Preview, PlayedPreviewTellsItsEndToTheLog) {
    serveTone({"/tones/short.caf"});
    ASSERT_TRUE(server.start());
    Preplayer player;
    player.playOnline(server.baseURL() + "tones/short.caf", true);
    // The operation is held as the current one, so its player plays to the end.
    const auto heard = [&] {
        const auto log = dev.device().logLines();
        return std::find(log.begin(), log.end(), "yes") != log.end();
    };
    EXPECT_TRUE(RunLoop::main().runUntil(heard, 20));
}

TEST_F(Preview, UrlTextIsEscapedForTheFetchAndNamesThePretoneUnescaped) {
    serveTone({"/tones/我的 铃声.caf"});
    ASSERT_TRUE(server.start());
    Preplayer player;
    player.playOnline(server.baseURL() + "tones/我的 铃声.caf", false);
    ASSERT_TRUE(runUntilIdle());
    EXPECT_EQ(server.countFor("/tones/我的 铃声.caf"), 1u);
    EXPECT_EQ(dev.readFile(std::string(kPretones) + "我的 铃声.caf"), tone);
}

TEST_F(Preview, FailedFetchGivesNoSoundAndNoPretone) {
    ASSERT_TRUE(server.start());
    server.on("/tones/gone.caf", [](const StubRequest&) {
        return StubReply{404, "text/plain", "", -1};
    });
    server.on("/tones/noise.caf", [](const StubRequest&) {
        return StubReply{200, "audio/x-caf", "not a sound", -1};
    });
    Preplayer player;
    const std::string gone = server.baseURL() + "tones/gone.caf";
    player.playOnline(gone, true);
    ASSERT_TRUE(runUntilIdle());
    EXPECT_TRUE(pretones().empty());
    EXPECT_EQ(playerSoundsOf(gone), 0u);
    EXPECT_FALSE(player.mCurrentOperation()->mPlayer());

    // Bytes that are no sound make no player; they are still what the server sent.
    const std::string noise = server.baseURL() + "tones/noise.caf";
    player.playOnline(noise, true);
    ASSERT_TRUE(runUntilIdle());
    EXPECT_EQ(playerSoundsOf(noise), 0u);
    EXPECT_FALSE(player.mCurrentOperation()->mPlayer());
    EXPECT_EQ(dev.readFile(std::string(kPretones) + "noise.caf"), "not a sound");
}

TEST_F(Preview, ExistingPretoneIsKeptWhileThePreviewPlaysAgain) {
    serveTone({"/tones/abc.caf"});
    ASSERT_TRUE(server.start());
    const std::string url = server.baseURL() + "tones/abc.caf";
    dev.writeFile(std::string(kPretones) + "abc.caf", "kept from before");
    Preplayer player;
    for (int round = 1; round <= 2; ++round) {
        player.playOnline(url, true);
        ASSERT_TRUE(runUntilIdle());
        EXPECT_EQ(playerSoundsOf(url), static_cast<size_t>(round));
        EXPECT_EQ(dev.readFile(std::string(kPretones) + "abc.caf"), "kept from before");
    }
}

TEST_F(Preview, UrlWithoutAPlainLastComponentStoresNothing) {
    serveTone({"/", "/tones/", "/tones/.", "/tones/.."});
    ASSERT_TRUE(server.start());
    const struct {
        const char* tail;
        const char* name;
    } cases[] = {{"tones/", ""}, {"tones/.", "."}, {"tones/..", ".."}};
    Preplayer player;
    for (const auto& c : cases) {
        const std::string url = server.baseURL() + c.tail;
        EXPECT_EQ(RemotePlayOpertion::pretoneFileName(url), c.name);
        player.playOnline(url, true);
        ASSERT_TRUE(runUntilIdle());
        // Fetched and played: only the name is refused.
        EXPECT_EQ(playerSoundsOf(url), 1u) << url;
        EXPECT_TRUE(pretones().empty()) << url;
        EXPECT_TRUE(fs::is_directory(dev.hostPath(kPretones)));
    }
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dev.hostPath("/var/mobile/Documents"), ec)) {
        EXPECT_TRUE(entry.is_directory()) << entry.path();
    }
}

TEST_F(Preview, PretoneNameIsTheTextAfterTheLastSlash) {
    const struct {
        const char* url;
        const char* name;
    } cases[] = {
        {"http://host/files/abc.caf", "abc.caf"},
        {"http://host/files/a%20b.caf", "a%20b.caf"},
        {"http://host/files/abc.caf?v=2", "abc.caf?v=2"},
        {"abc.caf", "abc.caf"},
        {"http://host/files/", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RemotePlayOpertion::pretoneFileName(c.url), c.name) << c.url;
    }
}

TEST_F(Preview, OperationCancelledBeforeItRunsFetchesNothing) {
    serveTone({"/tones/early.caf"});
    ASSERT_TRUE(server.start());
    auto operation = RemotePlayOpertion::initWithURLStr(server.baseURL() + "tones/early.caf", true);
    operation->cancel();
    operation->main();
    EXPECT_EQ(server.countFor("/tones/early.caf"), 0u);
    EXPECT_TRUE(pretones().empty());
    EXPECT_FALSE(operation->mPlayer());
}

TEST_F(Preview, NextPreviewCancelsAWaitingOneBeforeItsFetch) {
    serveTone({"/tones/first.caf", "/tones/second.caf"});
    ASSERT_TRUE(server.start());
    Preplayer player;
    player.mOperationQueue()->setMaxConcurrentOperationCount(1);
    auto blocker = std::make_shared<Blocker>();
    player.mOperationQueue()->addOperation(blocker);

    const std::string first = server.baseURL() + "tones/first.caf";
    const std::string second = server.baseURL() + "tones/second.caf";
    player.playOnline(first, true);
    auto firstOperation = player.mCurrentOperation();
    player.playOnline(second, true);
    EXPECT_TRUE(firstOperation->isCancelled());
    EXPECT_NE(player.mCurrentOperation(), firstOperation);
    blocker->released = true;
    ASSERT_TRUE(runUntilIdle());

    EXPECT_EQ(server.countFor("/tones/first.caf"), 0u);
    EXPECT_EQ(playerSoundsOf(first), 0u);
    EXPECT_EQ(pretones(), std::vector<std::string>{"second.caf"});
    EXPECT_EQ(playerSoundsOf(second), 1u);
}

TEST_F(Preview, CancelDuringTheFetchStopsThePlayButNotThePretone) {
    serveTone({"/tones/slow.caf"}, 0);
    serveTone({"/tones/next.caf"});
    ASSERT_TRUE(server.start());
    Preplayer player;
    const std::string slow = server.baseURL() + "tones/slow.caf";
    const std::string next = server.baseURL() + "tones/next.caf";
    player.playOnline(slow, true);
    auto slowOperation = player.mCurrentOperation();
    ASSERT_TRUE(
        RunLoop::main().runUntil([&] { return server.countFor("/tones/slow.caf") == 1; }, 20));

    player.playOnline(next, true);
    EXPECT_TRUE(slowOperation->isCancelled());
    server.release();
    ASSERT_TRUE(runUntilIdle());

    EXPECT_TRUE(slowOperation->isFinished());
    EXPECT_FALSE(slowOperation->mPlayer());
    EXPECT_EQ(playerSoundsOf(slow), 0u);
    EXPECT_EQ(playerSoundsOf(next), 1u);
    EXPECT_EQ(pretones(), (std::vector<std::string>{"next.caf", "slow.caf"}));
    EXPECT_EQ(dev.readFile(std::string(kPretones) + "slow.caf"), tone);
}

TEST(PreplayerShared, IsOneInstanceWithItsQueue) {
    auto player = Preplayer::shared();
    ASSERT_TRUE(player);
    EXPECT_EQ(player, Preplayer::shared());
    EXPECT_TRUE(player->mOperationQueue());
}

} // namespace
