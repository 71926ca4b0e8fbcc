#pragma once
// One remote preview: fetches a tone by URL on a queue's worker thread, plays it from memory
// when asked to, and keeps the bytes as a pretone so that a later download is a local move.
#include "platform/audio/AVAudioPlayer.h"
#include "platform/audio/AVAudioPlayerDelegate.h"
#include "platform/foundation/NSOperation.h"

#include <memory>
#include <mutex>
#include <string>

class RemotePlayOpertion : public NSOperation,
                           public AVAudioPlayerDelegate,
                           public std::enable_shared_from_this<RemotePlayOpertion> {
public:
    // `urlStr` is the tone's download URL as the catalogue gives it, not yet escaped.
    static std::shared_ptr<RemotePlayOpertion> initWithURLStr(const std::string& urlStr,
                                                              bool needPlay);

    const std::string& mCafURLStr() const { return mCafURLStr_; }
    bool mNeedPlay() const { return mNeedPlay_; }
    // Absent until the fetched bytes made a player.
    std::shared_ptr<AVAudioPlayer> mPlayer() const;
    void setMPlayer(std::shared_ptr<AVAudioPlayer> player);

    void main() override;

    void audioPlayerDidFinishPlaying(const std::shared_ptr<AVAudioPlayer>& player,
                                     bool successfully) override;
    void audioPlayerDecodeErrorDidOccur(const std::shared_ptr<AVAudioPlayer>& player,
                                        const std::string& error) override;

    // The pretone's name: the text after the last "/" of the unescaped URL string.
    static std::string pretoneFileName(const std::string& urlStr);

    RemotePlayOpertion(std::string urlStr, bool needPlay); // use initWithURLStr

private:
    const std::string mCafURLStr_;
    const bool mNeedPlay_;
    mutable std::mutex playerMutex_;
    std::shared_ptr<AVAudioPlayer> mPlayer_;
};
