#pragma once
// Sound files for the audio tests, written with the same decoder library the device reads.
#include <filesystem>
#include <string>

namespace audiotest {

enum class ToneFormat { Caf, Wav, Aiff };

// A sine tone of `seconds` at `rate` with `channels`; answers false when it could not be written.
bool writeTone(const std::filesystem::path& file, double seconds, int rate = 8000, int channels = 1,
               ToneFormat format = ToneFormat::Caf);
// The same tone as bytes in memory (empty on failure).
std::string toneBytes(double seconds, int rate = 8000, int channels = 1,
                      ToneFormat format = ToneFormat::Caf);

} // namespace audiotest
