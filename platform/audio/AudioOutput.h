#pragma once
// The device's one audio output, shared by system sounds and players. Opened on first use;
// when no output device can be opened at all, sounds still "play" for their duration, so
// callers see the same sequence of events either way.
//
// A playing sound does not count as activity for the run loop's idle test: a tone lasts
// seconds, and scripts that wait for idle after a tap should not wait for it to end (the
// app does nothing when a sound ends besides an optional log line).
#include "platform/audio/SoundDecoder.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

namespace platform {

class AudioMixer;

class AudioOutput {
public:
    using VoiceId = uint64_t;

    static AudioOutput& shared();

    // Opens the output if not done yet (slow the first time). Safe from any thread.
    void prepare();
    // Starts a voice at once. `onFinished` (given the id) runs on the main thread when the sound
    // has played to its end, never after stop(). Answers a non-zero id.
    VoiceId start(std::shared_ptr<const DecodedSound> sound,
                  std::function<void(VoiceId)> onFinished);
    // Answers whether the voice was still playing.
    bool stop(VoiceId id);
    bool isPlaying(VoiceId id) const;

    // Whether a real (possibly dummy) output device is open; false means timed silence.
    bool hasDevice();

    // Called by the output device's thread.
    void fill(float* out, size_t frames);

private:
    AudioOutput() = default;
    void open();
    // On the main thread: runs the voice's finish callback unless it was stopped.
    void finish(VoiceId id);

    std::once_flag opened_;
    unsigned deviceId_ = 0;
    mutable std::mutex mutex_;
    std::unique_ptr<AudioMixer> mixer_;
    std::map<VoiceId, std::function<void(VoiceId)>> pending_; // finish callbacks of live voices
    VoiceId nextId_ = 1;
};

} // namespace platform
