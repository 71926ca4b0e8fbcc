#pragma once
// Plays one sound held in memory, with a delegate told when it ends.
//
// Whoever holds the player keeps it playing: when the last reference goes, the sound stops
// at once and the delegate hears nothing. Safe to use from any thread; delegate calls come
// on the main thread.
#include "platform/audio/AVAudioPlayerDelegate.h"
#include "platform/audio/Forward.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

class AVAudioPlayer : public std::enable_shared_from_this<AVAudioPlayer> {
public:
    // Absent, with the reason in `error` (when given), when the bytes are no sound the
    // device can decode. `source` names the sound in the device's record of plays.
    // Differs from the device: the whole sound is decoded here, so a decoding error is
    // reported now and audioPlayerDecodeErrorDidOccur is never sent.
    static std::shared_ptr<AVAudioPlayer> initWithData(const std::string& data, std::string* error,
                                                       std::string source = "memory");
    ~AVAudioPlayer();
    AVAudioPlayer(const AVAudioPlayer&) = delete;
    AVAudioPlayer& operator=(const AVAudioPlayer&) = delete;

    // Readies the output; answers whether the player can play.
    bool prepareToPlay();
    // Starts (or keeps) playing and returns at once; answers whether it plays.
    // Differs from the device: a play after stop() starts again from the beginning.
    bool play();
    // Ends the sound without telling the delegate.
    void stop();
    bool isPlaying() const;
    // Seconds.
    double duration() const;

    void setDelegate(std::weak_ptr<AVAudioPlayerDelegate> delegate);
    std::weak_ptr<AVAudioPlayerDelegate> delegate() const;

private:
    AVAudioPlayer(std::shared_ptr<const platform::DecodedSound> sound, std::string source);
    void finished(uint64_t voice);

    std::shared_ptr<const platform::DecodedSound> sound_;
    std::string source_;
    mutable std::mutex mutex_;
    uint64_t voice_ = 0; // the voice playing now, 0 when none
    std::weak_ptr<AVAudioPlayerDelegate> delegate_;
};
