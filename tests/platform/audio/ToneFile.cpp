#include "tests/platform/audio/ToneFile.h"

#include <sndfile.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace audiotest {

bool writeTone(const std::filesystem::path& file, double seconds, int rate, int channels,
               ToneFormat format) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    const int container = format == ToneFormat::Caf   ? SF_FORMAT_CAF
                          : format == ToneFormat::Wav ? SF_FORMAT_WAV
                                                      : SF_FORMAT_AIFF;
    info.format = container | SF_FORMAT_PCM_16;
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    SNDFILE* out = sf_open(file.c_str(), SFM_WRITE, &info);
    if (!out) {
        return false;
    }
    const auto frames = sf_count_t(seconds * rate);
    std::vector<float> samples(size_t(frames) * size_t(channels));
    for (sf_count_t f = 0; f < frames; ++f) {
        for (int c = 0; c < channels; ++c) {
            samples[size_t(f) * size_t(channels) + size_t(c)] =
                float(0.5 * std::sin(2 * M_PI * 440 * double(f) / rate));
        }
    }
    const bool ok = sf_writef_float(out, samples.data(), frames) == frames;
    return sf_close(out) == 0 && ok;
}

std::string toneBytes(double seconds, int rate, int channels, ToneFormat format) {
    const auto file = std::filesystem::temp_directory_path() /
                      ("chimora-tone-" + std::to_string(::getpid()) + ".snd");
    std::string bytes;
    if (writeTone(file, seconds, rate, channels, format)) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream all;
        all << in.rdbuf();
        bytes = all.str();
    }
    std::error_code ec;
    std::filesystem::remove(file, ec);
    return bytes;
}

} // namespace audiotest
