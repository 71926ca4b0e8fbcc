#pragma once
// Sums the sounds that are playing into the output's buffer: one voice per sound, each
// resampled to the output rate by linear interpolation and spread over its channels.
// Not thread-safe: its owner serialises access.
#include "platform/audio/SoundDecoder.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace platform {

class AudioMixer {
public:
    using VoiceId = uint64_t;

    AudioMixer(int outputRate, int outputChannels);

    void add(VoiceId id, std::shared_ptr<const DecodedSound> sound);
    // Answers whether the voice was still there.
    bool remove(VoiceId id);
    bool contains(VoiceId id) const { return voices_.count(id) != 0; }
    size_t size() const { return voices_.size(); }

    // Writes `frames` interleaved frames (overwriting `out`) and answers the voices that
    // reached their end in this buffer; those are gone from the mixer afterwards.
    std::vector<VoiceId> render(float* out, size_t frames);

private:
    struct Voice {
        std::shared_ptr<const DecodedSound> sound;
        double position = 0; // in source frames
        double step = 1;     // source frames per output frame
    };

    float sample(const Voice& voice, size_t frame, int outChannel) const;

    int outputRate_;
    int outputChannels_;
    std::map<VoiceId, Voice> voices_;
};

} // namespace platform
