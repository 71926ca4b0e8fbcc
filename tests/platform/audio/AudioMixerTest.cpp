#include "platform/audio/AudioMixer.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using platform::AudioMixer;
using platform::DecodedSound;

namespace {

std::shared_ptr<const DecodedSound> sound(int rate, int channels, std::vector<float> samples) {
    auto s = std::make_shared<DecodedSound>();
    s->sampleRate = rate;
    s->channels = channels;
    s->samples = std::move(samples);
    return s;
}

TEST(AudioMixer, UpsamplesByLinearInterpolationIntoEveryChannel) {
    AudioMixer mixer(200, 2);
    mixer.add(1, sound(100, 1, {0.0f, 0.4f, -0.4f}));
    std::vector<float> out(2 * 8, 9.0f);
    const auto finished = mixer.render(out.data(), 8);
    const std::vector<float> expected = {0.0f,  0.0f,  0.2f,  0.2f,  0.4f, 0.4f, 0.0f, 0.0f,
                                         -0.4f, -0.4f, -0.4f, -0.4f, 0.0f, 0.0f, 0.0f, 0.0f};
    ASSERT_EQ(out.size(), expected.size());
    for (size_t i = 0; i < out.size(); ++i) {
        EXPECT_NEAR(out[i], expected[i], 1e-6) << "at " << i;
    }
    EXPECT_EQ(finished, std::vector<AudioMixer::VoiceId>{1});
    EXPECT_FALSE(mixer.contains(1));
}

TEST(AudioMixer, DownsamplesBySkipping) {
    AudioMixer mixer(50, 1);
    mixer.add(1, sound(100, 1, {0.1f, 0.2f, 0.3f, 0.4f, 0.5f}));
    std::vector<float> out(4);
    const auto finished = mixer.render(out.data(), 4);
    EXPECT_NEAR(out[0], 0.1f, 1e-6);
    EXPECT_NEAR(out[1], 0.3f, 1e-6);
    EXPECT_NEAR(out[2], 0.5f, 1e-6);
    EXPECT_NEAR(out[3], 0.0f, 1e-6);
    EXPECT_EQ(finished.size(), 1u);
}

TEST(AudioMixer, SumsVoicesAndClips) {
    AudioMixer mixer(100, 1);
    mixer.add(1, sound(100, 1, {0.25f, 0.75f, 0.5f, 0.5f}));
    mixer.add(2, sound(100, 1, {0.25f, 0.75f}));
    std::vector<float> out(2);
    EXPECT_EQ(mixer.render(out.data(), 2), std::vector<AudioMixer::VoiceId>{2});
    EXPECT_NEAR(out[0], 0.5f, 1e-6);
    EXPECT_NEAR(out[1], 1.0f, 1e-6) << "1.5 clipped";
    EXPECT_EQ(mixer.render(out.data(), 2), std::vector<AudioMixer::VoiceId>{1});
    EXPECT_NEAR(out[0], 0.5f, 1e-6);
    EXPECT_NEAR(out[1], 0.5f, 1e-6);
    EXPECT_EQ(mixer.size(), 0u);
}

TEST(AudioMixer, MapsChannels) {
    struct Case {
        int sourceChannels, outputChannels;
        std::vector<float> frame, expected;
    };
    const Case cases[] = {
        {2, 2, {0.2f, -0.6f}, {0.2f, -0.6f}},     {2, 1, {0.2f, -0.6f}, {-0.2f}},
        {1, 3, {0.3f}, {0.3f, 0.3f, 0.3f}},       {2, 3, {0.2f, 0.4f}, {0.2f, 0.4f, 0.0f}},
        {3, 2, {0.1f, 0.2f, 0.9f}, {0.1f, 0.2f}},
    };
    for (const Case& c : cases) {
        AudioMixer mixer(100, c.outputChannels);
        mixer.add(7, sound(100, c.sourceChannels, c.frame));
        std::vector<float> out(size_t(c.outputChannels));
        mixer.render(out.data(), 1);
        for (size_t i = 0; i < out.size(); ++i) {
            EXPECT_NEAR(out[i], c.expected[i], 1e-6)
                << c.sourceChannels << " into " << c.outputChannels << " channel " << i;
        }
    }
}

TEST(AudioMixer, RemovedVoiceIsSilentAndNeverReported) {
    AudioMixer mixer(100, 1);
    mixer.add(1, sound(100, 1, {0.5f, 0.5f}));
    EXPECT_TRUE(mixer.remove(1));
    EXPECT_FALSE(mixer.remove(1));
    std::vector<float> out(4);
    EXPECT_TRUE(mixer.render(out.data(), 4).empty());
    EXPECT_EQ(out, std::vector<float>(4, 0.0f));
}

TEST(AudioMixer, EmptySoundEndsAtOnce) {
    AudioMixer mixer(100, 1);
    mixer.add(3, sound(100, 1, {}));
    std::vector<float> out(1);
    EXPECT_EQ(mixer.render(out.data(), 1), std::vector<AudioMixer::VoiceId>{3});
}

} // namespace
