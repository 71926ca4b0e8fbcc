#include "platform/audio/AudioOutput.h"

#include "platform/audio/AudioMixer.h"
#include "platform/foundation/RunLoop.h"

#include <SDL.h>

#include <cstdio>

namespace platform {

namespace {

constexpr int kRate = 44100;
constexpr int kChannels = 2;

void audioCallback(void* user, Uint8* stream, int length) {
    const size_t frames = size_t(length) / (sizeof(float) * kChannels);
    static_cast<AudioOutput*>(user)->fill(reinterpret_cast<float*>(stream), frames);
}

} // namespace

AudioOutput& AudioOutput::shared() {
    // Never destroyed: the device thread may still call in while the process exits.
    static AudioOutput* output = new AudioOutput();
    return *output;
}

void AudioOutput::prepare() {
    std::call_once(opened_, [this] { open(); });
}

bool AudioOutput::hasDevice() {
    prepare();
    return deviceId_ != 0;
}

void AudioOutput::open() {
    {
        std::lock_guard lock(mutex_);
        mixer_ = std::make_unique<AudioMixer>(kRate, kChannels);
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "audio: no output (%s); sounds are timed silence\n", SDL_GetError());
        return;
    }
    SDL_AudioSpec want{};
    want.freq = kRate;
    want.format = AUDIO_F32SYS;
    want.channels = kChannels;
    want.samples = 1024;
    want.callback = audioCallback;
    want.userdata = this;
    SDL_AudioSpec have{};
    // No changes allowed: SDL converts to whatever the hardware wants, the mixer stays simple.
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device == 0) {
        std::fprintf(stderr, "audio: no output (%s); sounds are timed silence\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    deviceId_ = device;
    SDL_PauseAudioDevice(device, 0);
}

AudioOutput::VoiceId AudioOutput::start(std::shared_ptr<const DecodedSound> sound,
                                        std::function<void(VoiceId)> onFinished) {
    prepare();
    const double seconds = sound ? sound->duration() : 0;
    VoiceId id;
    {
        std::lock_guard lock(mutex_);
        id = nextId_++;
        pending_[id] = std::move(onFinished);
        mixer_->add(id, std::move(sound));
    }
    if (deviceId_ == 0) {
        // Timed silence: the voice ends when its duration has passed, unless stopped first.
        RunLoop::main().dispatchAfter(seconds, [this, id] {
            bool ended;
            {
                std::lock_guard lock(mutex_);
                ended = mixer_->remove(id);
            }
            if (ended) {
                finish(id);
            }
        });
    }
    return id;
}

bool AudioOutput::stop(VoiceId id) {
    std::lock_guard lock(mutex_);
    pending_.erase(id);
    return mixer_ && mixer_->remove(id);
}

bool AudioOutput::isPlaying(VoiceId id) const {
    std::lock_guard lock(mutex_);
    return mixer_ && mixer_->contains(id);
}

void AudioOutput::fill(float* out, size_t frames) {
    std::lock_guard lock(mutex_);
    for (VoiceId id : mixer_->render(out, frames)) {
        // Looked up again on the main thread so that a stop() in between still wins.
        RunLoop::main().dispatch([this, id] { finish(id); });
    }
}

void AudioOutput::finish(VoiceId id) {
    std::function<void(VoiceId)> done;
    {
        std::lock_guard lock(mutex_);
        auto it = pending_.find(id);
        if (it == pending_.end()) {
            return;
        }
        done = std::move(it->second);
        pending_.erase(it);
    }
    if (done) {
        done(id);
    }
}

} // namespace platform
