#pragma once
// Declarations of the audio library's types for headers that only pass them around.
#include <cstdint>

class AVAudioPlayer;
class AVAudioPlayerDelegate;

using OSStatus = int32_t;
using SystemSoundID = uint32_t;

namespace platform {
struct DecodedSound;
class AudioMixer;
class AudioOutput;
class SoundDecoder;
} // namespace platform
