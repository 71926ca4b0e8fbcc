#include "platform/audio/AudioMixer.h"

#include <algorithm>
#include <cmath>

namespace platform {

AudioMixer::AudioMixer(int outputRate, int outputChannels)
    : outputRate_(std::max(outputRate, 1)), outputChannels_(std::max(outputChannels, 1)) {}

void AudioMixer::add(VoiceId id, std::shared_ptr<const DecodedSound> sound) {
    if (!sound) {
        return;
    }
    Voice voice;
    voice.step = double(sound->sampleRate) / outputRate_;
    voice.sound = std::move(sound);
    voices_[id] = std::move(voice);
}

bool AudioMixer::remove(VoiceId id) {
    return voices_.erase(id) != 0;
}

// Mono feeds every output channel; a source with fewer channels than the output leaves the
// extra ones silent; a mono output hears the average of all source channels.
float AudioMixer::sample(const Voice& voice, size_t frame, int outChannel) const {
    const DecodedSound& s = *voice.sound;
    const size_t base = frame * size_t(s.channels);
    if (s.channels == 1) {
        return s.samples[base];
    }
    if (outputChannels_ == 1) {
        float sum = 0;
        for (int c = 0; c < s.channels; ++c) {
            sum += s.samples[base + size_t(c)];
        }
        return sum / float(s.channels);
    }
    return outChannel < s.channels ? s.samples[base + size_t(outChannel)] : 0.0f;
}

std::vector<AudioMixer::VoiceId> AudioMixer::render(float* out, size_t frames) {
    std::fill(out, out + frames * size_t(outputChannels_), 0.0f);
    std::vector<VoiceId> finished;
    for (auto& [id, voice] : voices_) {
        const size_t total = voice.sound->frames();
        size_t f = 0;
        for (; f < frames && voice.position < double(total); ++f) {
            const auto i0 = size_t(voice.position);
            const size_t i1 = std::min(i0 + 1, total - 1);
            const float t = float(voice.position - double(i0));
            for (int c = 0; c < outputChannels_; ++c) {
                const float a = sample(voice, i0, c);
                const float b = sample(voice, i1, c);
                out[f * size_t(outputChannels_) + size_t(c)] += a + (b - a) * t;
            }
            voice.position += voice.step;
        }
        if (voice.position >= double(total)) {
            finished.push_back(id);
        }
    }
    for (VoiceId id : finished) {
        voices_.erase(id);
    }
    for (size_t i = 0; i < frames * size_t(outputChannels_); ++i) {
        out[i] = std::clamp(out[i], -1.0f, 1.0f);
    }
    return finished;
}

} // namespace platform
