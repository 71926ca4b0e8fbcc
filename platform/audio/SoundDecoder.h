#pragma once
// Turns a sound file (CAF, WAV, AIFF, FLAC, … whatever the decoder reads) into samples held
// in memory. Sounds here are short tones, so decoding everything up front is cheap and puts
// every decoding error where the sound is made.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace platform {

struct DecodedSound {
    int sampleRate = 0;
    int channels = 0;
    std::vector<float> samples; // interleaved, -1..1

    size_t frames() const { return channels > 0 ? samples.size() / size_t(channels) : 0; }
    double duration() const { return sampleRate > 0 ? double(frames()) / sampleRate : 0; }
};

class SoundDecoder {
public:
    // Absent, with the decoder's reason in `error` (when given), for a file that is missing
    // or not a sound the decoder understands.
    static std::shared_ptr<const DecodedSound> decodeFile(const std::filesystem::path& path,
                                                          std::string* error);
    static std::shared_ptr<const DecodedSound> decodeMemory(const std::string& bytes,
                                                            std::string* error);
};

} // namespace platform
