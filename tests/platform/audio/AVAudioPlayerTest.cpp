#include "platform/audio/AVAudioPlayer.h"

#include "platform/foundation/RunLoop.h"
#include "tests/platform/audio/ToneFile.h"
#include "tests/support/TestDevice.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using testsupport::TestDevice;

struct Event {
    std::weak_ptr<AVAudioPlayer> player;
    bool successfully;
    bool onMainThread;
};

class RecordingDelegate : public AVAudioPlayerDelegate {
public:
    void audioPlayerDidFinishPlaying(const std::shared_ptr<AVAudioPlayer>& player,
                                     bool successfully) override {
        finished.push_back({player, successfully, RunLoop::main().isMainThread()});
    }
    std::vector<Event> finished;
};

constexpr double kSeconds = 0.3;

class Player : public testing::Test {
protected:
    void SetUp() override {
        bytes = audiotest::toneBytes(kSeconds);
        ASSERT_FALSE(bytes.empty());
        delegate = std::make_shared<RecordingDelegate>();
    }

    // Lets the loop run well past the end of the sound.
    void runPastTheEnd() {
        RunLoop::main().runUntil([] { return false; }, kSeconds + 0.5);
    }

    TestDevice dev;
    std::string bytes;
    std::shared_ptr<RecordingDelegate> delegate;
};

TEST_F(Player, FinishReachesTheDelegateOnTheMainThreadAfterTheSound) {
    std::string error = "stale";
    auto player = AVAudioPlayer::initWithData(bytes, &error);
    ASSERT_TRUE(player);
    EXPECT_EQ(error, "");
    EXPECT_NEAR(player->duration(), kSeconds, 1e-3);
    player->setDelegate(delegate);
    EXPECT_TRUE(player->prepareToPlay());
    const double start = RunLoop::now();
    EXPECT_TRUE(player->play());
    EXPECT_TRUE(player->isPlaying());
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return !delegate->finished.empty(); }, 30));
    // Not before the sound could have played (no upper bound: the machine may be slow).
    EXPECT_GE(RunLoop::now() - start, kSeconds * 0.5);
    ASSERT_EQ(delegate->finished.size(), 1u);
    EXPECT_TRUE(delegate->finished[0].successfully);
    EXPECT_TRUE(delegate->finished[0].onMainThread);
    EXPECT_EQ(delegate->finished[0].player.lock(), player);
    EXPECT_FALSE(player->isPlaying());
    runPastTheEnd();
    EXPECT_EQ(delegate->finished.size(), 1u) << "told once";
}

TEST_F(Player, StartedOnAWorkerTheDelegateStillHearsOnTheMainThread) {
    std::shared_ptr<AVAudioPlayer> player;
    std::thread worker([&] {
        player = AVAudioPlayer::initWithData(bytes, nullptr);
        if (player) {
            player->setDelegate(delegate);
            player->prepareToPlay();
            player->play();
        }
    });
    worker.join();
    ASSERT_TRUE(player);
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return !delegate->finished.empty(); }, 30));
    EXPECT_TRUE(delegate->finished[0].onMainThread);
}

TEST_F(Player, RecordsEachPlayWithItsSource) {
    auto fromMemory = AVAudioPlayer::initWithData(bytes, nullptr);
    auto named = AVAudioPlayer::initWithData(bytes, nullptr, "http://127.0.0.1/a.caf");
    ASSERT_TRUE(fromMemory && named);
    fromMemory->play();
    named->play();
    named->play(); // already playing: not a new play
    const auto sounds = dev.device().sounds();
    ASSERT_EQ(sounds.size(), 2u);
    EXPECT_EQ(sounds[0].kind, platform::SoundKind::Player);
    EXPECT_EQ(sounds[0].source, "memory");
    EXPECT_EQ(sounds[1].source, "http://127.0.0.1/a.caf");
}

TEST_F(Player, StopEndsTheSoundWithoutTellingTheDelegate) {
    auto player = AVAudioPlayer::initWithData(bytes, nullptr);
    ASSERT_TRUE(player);
    player->setDelegate(delegate);
    player->play();
    player->stop();
    EXPECT_FALSE(player->isPlaying());
    runPastTheEnd();
    EXPECT_TRUE(delegate->finished.empty());
    // It can play again, and then finishes as usual.
    EXPECT_TRUE(player->play());
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return !delegate->finished.empty(); }, 30));
    EXPECT_EQ(delegate->finished.size(), 1u);
}

TEST_F(Player, ReleasedPlayerFallsSilentAndTellsNoOne) {
    auto player = AVAudioPlayer::initWithData(bytes, nullptr);
    ASSERT_TRUE(player);
    player->setDelegate(delegate);
    player->play();
    player.reset();
    runPastTheEnd();
    EXPECT_TRUE(delegate->finished.empty());
}

TEST_F(Player, GoneDelegateIsNotCalled) {
    auto player = AVAudioPlayer::initWithData(bytes, nullptr);
    ASSERT_TRUE(player);
    std::weak_ptr<RecordingDelegate> watch = delegate;
    player->setDelegate(delegate);
    delegate.reset();
    EXPECT_TRUE(watch.expired()) << "the player holds its delegate weakly";
    player->play();
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return !player->isPlaying(); }, 30));
}

TEST_F(Player, ReadsTheFormatsTheDeviceDecodes) {
    struct Case {
        audiotest::ToneFormat format;
        int rate, channels;
    };
    const Case cases[] = {{audiotest::ToneFormat::Caf, 44100, 2},
                          {audiotest::ToneFormat::Wav, 22050, 1},
                          {audiotest::ToneFormat::Aiff, 8000, 2}};
    for (const Case& c : cases) {
        const std::string data = audiotest::toneBytes(0.5, c.rate, c.channels, c.format);
        std::string error;
        auto player = AVAudioPlayer::initWithData(data, &error);
        ASSERT_TRUE(player) << error;
        EXPECT_NEAR(player->duration(), 0.5, 1e-3);
    }
}

TEST_F(Player, BytesThatAreNoSoundGiveNoPlayerAndAReason) {
    const std::string cut = bytes.substr(0, bytes.size() / 2);
    const std::string cases[] = {"", "garbage bytes, not a sound", std::string(4096, '\0'), cut};
    for (const std::string& data : cases) {
        std::string error;
        EXPECT_FALSE(AVAudioPlayer::initWithData(data, &error)) << data.size() << " bytes";
        EXPECT_FALSE(error.empty());
    }
    EXPECT_FALSE(AVAudioPlayer::initWithData("garbage", nullptr));
    EXPECT_TRUE(dev.device().sounds().empty());
}

} // namespace
