#include "platform/audio/AVAudioPlayer.h"

#include "platform/audio/AudioOutput.h"
#include "platform/audio/SoundDecoder.h"
#include "platform/foundation/DeviceHost.h"

using platform::AudioOutput;

std::shared_ptr<AVAudioPlayer> AVAudioPlayer::initWithData(const std::string& data,
                                                           std::string* error, std::string source) {
    std::string reason;
    auto sound = platform::SoundDecoder::decodeMemory(data, &reason);
    if (!sound) {
        if (error) {
            *error = "The sound could not be decoded: " + reason;
        }
        return nullptr;
    }
    if (error) {
        error->clear();
    }
    return std::shared_ptr<AVAudioPlayer>(new AVAudioPlayer(std::move(sound), std::move(source)));
}

AVAudioPlayer::AVAudioPlayer(std::shared_ptr<const platform::DecodedSound> sound,
                             std::string source)
    : sound_(std::move(sound)), source_(std::move(source)) {}

AVAudioPlayer::~AVAudioPlayer() {
    if (voice_ != 0) {
        AudioOutput::shared().stop(voice_);
    }
}

bool AVAudioPlayer::prepareToPlay() {
    AudioOutput::shared().prepare();
    return sound_ != nullptr;
}

bool AVAudioPlayer::play() {
    std::lock_guard lock(mutex_);
    if (voice_ != 0 && AudioOutput::shared().isPlaying(voice_)) {
        return true;
    }
    std::weak_ptr<AVAudioPlayer> weak = weak_from_this();
    // The finish callback takes mutex_, so it sees voice_ set however short the sound.
    voice_ = AudioOutput::shared().start(sound_, [weak](uint64_t voice) {
        if (auto self = weak.lock()) {
            self->finished(voice);
        }
    });
    if (platform::hasDeviceHost()) {
        platform::deviceHost().recordSound(platform::SoundKind::Player, source_);
    }
    return true;
}

void AVAudioPlayer::finished(uint64_t voice) {
    std::weak_ptr<AVAudioPlayerDelegate> delegate;
    {
        std::lock_guard lock(mutex_);
        if (voice_ != voice) {
            return;
        }
        voice_ = 0;
        delegate = delegate_;
    }
    if (auto d = delegate.lock()) {
        d->audioPlayerDidFinishPlaying(shared_from_this(), true);
    }
}

void AVAudioPlayer::stop() {
    std::lock_guard lock(mutex_);
    if (voice_ != 0) {
        AudioOutput::shared().stop(voice_);
        voice_ = 0;
    }
}

bool AVAudioPlayer::isPlaying() const {
    std::lock_guard lock(mutex_);
    return voice_ != 0 && AudioOutput::shared().isPlaying(voice_);
}

double AVAudioPlayer::duration() const {
    return sound_->duration();
}

void AVAudioPlayer::setDelegate(std::weak_ptr<AVAudioPlayerDelegate> delegate) {
    std::lock_guard lock(mutex_);
    delegate_ = std::move(delegate);
}

std::weak_ptr<AVAudioPlayerDelegate> AVAudioPlayer::delegate() const {
    std::lock_guard lock(mutex_);
    return delegate_;
}
