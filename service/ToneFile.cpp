#include "service/ToneFile.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace chimora::service {

std::optional<ToneFile::Info> ToneFile::inspect(const std::filesystem::path& path) {
    SF_INFO info{};
    SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
    if (!f)
        return std::nullopt;
    sf_close(f);
    if ((info.format & SF_FORMAT_TYPEMASK) != SF_FORMAT_CAF || info.frames <= 0 ||
        info.samplerate <= 0)
        return std::nullopt;
    return Info{static_cast<double>(info.frames) / info.samplerate, info.samplerate, info.channels};
}

bool ToneFile::writeMelody(const std::filesystem::path& path, const std::vector<Note>& notes,
                           Wave wave) {
    std::vector<short> samples;
    for (const auto& note : notes) {
        auto frames = static_cast<std::size_t>(std::lround(note.seconds * kSampleRate));
        // A short fade at both ends keeps notes from clicking.
        std::size_t fade = std::min<std::size_t>(frames / 4, kSampleRate / 100);
        for (std::size_t i = 0; i < frames; ++i) {
            double v = 0;
            if (note.frequency > 0) {
                double phase =
                    std::fmod(note.frequency * static_cast<double>(i) / kSampleRate, 1.0);
                switch (wave) {
                case Wave::Sine:
                    v = std::sin(2 * std::numbers::pi * phase);
                    break;
                case Wave::Triangle:
                    v = 4 * std::abs(phase - 0.5) - 1;
                    break;
                case Wave::Square:
                    v = (phase < 0.5 ? 0.6 : -0.6);
                    break;
                case Wave::Bell: {
                    double t = static_cast<double>(i) / kSampleRate;
                    v = (std::sin(2 * std::numbers::pi * phase) +
                         0.4 * std::sin(2 * std::numbers::pi * std::fmod(phase * 2.76, 1.0))) *
                        std::exp(-4.0 * t) / 1.4;
                    break;
                }
                }
                double env = 1;
                if (fade > 0 && i < fade)
                    env = static_cast<double>(i) / fade;
                else if (fade > 0 && frames - i <= fade)
                    env = static_cast<double>(frames - i) / fade;
                v *= env;
            }
            samples.push_back(static_cast<short>(std::lround(v * 0.7 * 32767)));
        }
    }
    if (samples.empty())
        return false;
    SF_INFO info{};
    info.samplerate = kSampleRate;
    info.channels = 1;
    info.format = SF_FORMAT_CAF | SF_FORMAT_PCM_16;
    SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!f)
        return false;
    auto written = sf_write_short(f, samples.data(), static_cast<sf_count_t>(samples.size()));
    bool ok = written == static_cast<sf_count_t>(samples.size());
    ok = sf_close(f) == 0 && ok;
    return ok;
}

} // namespace chimora::service
