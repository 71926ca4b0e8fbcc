#pragma once
// What a player tells its delegate, always on the main thread.
#include <memory>
#include <string>

class AVAudioPlayer;

class AVAudioPlayerDelegate {
public:
    virtual ~AVAudioPlayerDelegate() = default;
    // The sound ended by itself (not by stop); `successfully` is false when decoding failed.
    virtual void audioPlayerDidFinishPlaying(const std::shared_ptr<AVAudioPlayer>& player,
                                             bool successfully) {}
    // `error` is the error's description.
    virtual void audioPlayerDecodeErrorDidOccur(const std::shared_ptr<AVAudioPlayer>& player,
                                                const std::string& error) {}
};
