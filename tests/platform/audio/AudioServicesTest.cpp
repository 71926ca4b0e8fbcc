#include "platform/audio/AudioServices.h"

#include "tests/platform/audio/ToneFile.h"
#include "tests/support/TestDevice.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using testsupport::TestDevice;

constexpr const char* kTones = "/var/mobile/Documents/tones/";

class SystemSound : public testing::Test {
protected:
    // Writes a tone at a device path and answers that path.
    std::string tone(const std::string& name,
                     audiotest::ToneFormat format = audiotest::ToneFormat::Caf) {
        const std::string path = kTones + name;
        EXPECT_TRUE(audiotest::writeTone(dev.hostPath(path), 0.2, 8000, 1, format));
        return path;
    }

    TestDevice dev;
};

TEST_F(SystemSound, PlaysAFileAndRecordsItsDevicePath) {
    struct Case {
        const char* name;
        audiotest::ToneFormat format;
    };
    const Case cases[] = {
        {"ding.caf", audiotest::ToneFormat::Caf},
        // The URL escapes these; the record shows the path as the app wrote it.
        {"默认 tone.caf", audiotest::ToneFormat::Caf},
        {"old.wav", audiotest::ToneFormat::Wav},
        {"old.aiff", audiotest::ToneFormat::Aiff},
    };
    size_t played = 0;
    for (const Case& c : cases) {
        const std::string path = tone(c.name, c.format);
        SystemSoundID id = 0;
        ASSERT_EQ(AudioServicesCreateSystemSoundID(NSURL::fileURLWithPath(path), &id),
                  kAudioServicesNoError)
            << c.name;
        EXPECT_NE(id, 0u);
        AudioServicesPlaySystemSound(id);
        ++played;
        const auto sounds = dev.device().sounds();
        ASSERT_EQ(sounds.size(), played);
        EXPECT_EQ(sounds.back().kind, platform::SoundKind::System);
        EXPECT_EQ(sounds.back().source, path);
    }
}

TEST_F(SystemSound, EachCreationIsANewIdAndPlaysOverlap) {
    const std::string path = tone("a.caf");
    SystemSoundID first = 0, second = 0;
    ASSERT_EQ(AudioServicesCreateSystemSoundID(NSURL::fileURLWithPath(path), &first), 0);
    ASSERT_EQ(AudioServicesCreateSystemSoundID(NSURL::fileURLWithPath(path), &second), 0);
    EXPECT_NE(first, second);
    AudioServicesPlaySystemSound(first);
    AudioServicesPlaySystemSound(second);
    AudioServicesPlaySystemSound(first);
    EXPECT_EQ(dev.device().sounds().size(), 3u);
}

TEST_F(SystemSound, FileThatIsNoSoundFailsAndRegistersNothing) {
    dev.writeFile("/var/mobile/Documents/tones/text.caf", "this is not a sound at all");
    const struct {
        const char* path;
        OSStatus expected;
    } cases[] = {
        {"/var/mobile/Documents/tones/missing.caf", kAudioServicesSystemSoundUnspecifiedError},
        {"/var/mobile/Documents/tones/text.caf", kAudioServicesSystemSoundUnspecifiedError},
        {"/var/mobile/Documents/tones", kAudioServicesSystemSoundUnspecifiedError},
        // The device refuses to map a path that climbs out of it.
        {"/var/../../../etc/passwd", kAudio_ParamError},
    };
    for (const auto& c : cases) {
        SystemSoundID id = 12345;
        EXPECT_EQ(AudioServicesCreateSystemSoundID(NSURL::fileURLWithPath(c.path), &id), c.expected)
            << c.path;
        EXPECT_EQ(id, 12345u) << "id left alone for " << c.path;
    }
    EXPECT_TRUE(dev.device().sounds().empty());
}

TEST_F(SystemSound, NonFileURLOrNoPlaceForTheIdIsAParameterError) {
    const auto web = NSURL::URLWithString("http://127.0.0.1/a.caf");
    ASSERT_TRUE(web.has_value());
    SystemSoundID id = 0;
    EXPECT_EQ(AudioServicesCreateSystemSoundID(*web, &id), kAudio_ParamError);
    EXPECT_EQ(AudioServicesCreateSystemSoundID(NSURL::fileURLWithPath(tone("b.caf")), nullptr),
              kAudio_ParamError);
}

TEST_F(SystemSound, UnknownOrDisposedIdPlaysNothing) {
    SystemSoundID id = 0;
    ASSERT_EQ(AudioServicesCreateSystemSoundID(NSURL::fileURLWithPath(tone("c.caf")), &id), 0);
    AudioServicesPlaySystemSound(id + 1000);
    EXPECT_TRUE(dev.device().sounds().empty());
    EXPECT_EQ(AudioServicesDisposeSystemSoundID(id), kAudioServicesNoError);
    AudioServicesPlaySystemSound(id);
    EXPECT_TRUE(dev.device().sounds().empty());
    EXPECT_EQ(AudioServicesDisposeSystemSoundID(id), kAudioServicesBadSpecifierError);
}

TEST_F(SystemSound, ReplacedFileIsReadAgainForANewId) {
    const std::string path = tone("d.caf");
    SystemSoundID before = 0, after = 0;
    ASSERT_EQ(AudioServicesCreateSystemSoundID(NSURL::fileURLWithPath(path), &before), 0);
    dev.writeFile(path, "no longer a sound");
    EXPECT_EQ(AudioServicesCreateSystemSoundID(NSURL::fileURLWithPath(path), &after),
              kAudioServicesSystemSoundUnspecifiedError);
    // The id made earlier still holds the sound it was made from.
    AudioServicesPlaySystemSound(before);
    EXPECT_EQ(dev.device().sounds().size(), 1u);
}

} // namespace
