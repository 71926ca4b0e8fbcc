#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace chimora::service {

// Tone files in Core Audio Format, read and written with libsndfile.
class ToneFile {
public:
    struct Info {
        double seconds = 0;
        int sampleRate = 0;
        int channels = 0;
    };
    struct Note {
        double frequency = 0; // Hz; 0 is a rest
        double seconds = 0;
    };
    enum class Wave { Sine, Triangle, Square, Bell };

    static constexpr int kSampleRate = 22050;

    // Answers the tone's shape when the file is a readable CAF with at least one frame.
    static std::optional<Info> inspect(const std::filesystem::path& path);
    // Writes the melody as 16-bit mono CAF; false when the file cannot be written.
    static bool writeMelody(const std::filesystem::path& path, const std::vector<Note>& notes,
                            Wave wave);
};

} // namespace chimora::service
