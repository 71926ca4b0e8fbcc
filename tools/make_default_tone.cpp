// Writes the application's default message tone: a short two-note chime, 16-bit mono CAF.
// Usage: make_default_tone OUTPUT.caf
// The samples depend only on the constants below, so every build produces the same file.
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <vector>

namespace {

constexpr int kSampleRate = 22050;
constexpr double kLength = 0.6;

struct Note {
    double start;     // seconds
    double frequency; // Hz
    double gain;
};

// A falling major third, E6 then C6: a friendly "ding-dong".
constexpr Note kNotes[] = {{0.0, 1318.51, 0.55}, {0.16, 1046.50, 0.6}};

// A bell-like voice: fundamental, a soft octave and a faint inharmonic partial that dies fast.
double voice(double t, double f) {
    if (t < 0) {
        return 0;
    }
    const double attack = std::min(1.0, t / 0.004);
    const double twoPi = 2 * std::numbers::pi;
    const double body = std::sin(twoPi * f * t) * std::exp(-t * 7.0);
    const double octave = 0.25 * std::sin(twoPi * 2 * f * t) * std::exp(-t * 11.0);
    const double shimmer = 0.08 * std::sin(twoPi * 2.76 * f * t) * std::exp(-t * 25.0);
    return attack * (body + octave + shimmer);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.caf\n", argv[0]);
        return 2;
    }
    const auto frames = static_cast<int>(kLength * kSampleRate);
    std::vector<short> samples(static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        double v = 0;
        for (const Note& n : kNotes) {
            v += n.gain * voice(t - n.start, n.frequency);
        }
        // Fade the tail so the file does not end on a click.
        const double left = kLength - t;
        v *= std::min(1.0, left / 0.05);
        const double clipped = std::clamp(v, -1.0, 1.0);
        samples[static_cast<size_t>(i)] = static_cast<short>(std::lround(clipped * 32000.0));
    }

    SF_INFO info{};
    info.samplerate = kSampleRate;
    info.channels = 1;
    info.format = SF_FORMAT_CAF | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(argv[1], SFM_WRITE, &info);
    if (file == nullptr) {
        std::fprintf(stderr, "cannot write %s: %s\n", argv[1], sf_strerror(nullptr));
        return 1;
    }
    const sf_count_t written = sf_write_short(file, samples.data(), frames);
    const int closed = sf_close(file);
    if (written != frames || closed != 0) {
        std::fprintf(stderr, "short write to %s\n", argv[1]);
        std::remove(argv[1]);
        return 1;
    }
    return 0;
}
