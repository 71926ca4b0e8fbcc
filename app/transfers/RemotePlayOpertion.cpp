#include "app/transfers/RemotePlayOpertion.h"

#include "app/storage/StoreManager.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/PercentEscapes.h"
#include "platform/net/SyncFetch.h"

#include <optional>
#include <utility>

namespace {

// A preview is a short sound; a server that has not sent it by then is not going to.
constexpr double kFetchTimeoutSeconds = 30;

} // namespace

std::shared_ptr<RemotePlayOpertion> RemotePlayOpertion::initWithURLStr(const std::string& urlStr,
                                                                       bool needPlay) {
    return std::make_shared<RemotePlayOpertion>(urlStr, needPlay);
}

RemotePlayOpertion::RemotePlayOpertion(std::string urlStr, bool needPlay)
    : mCafURLStr_(std::move(urlStr)), mNeedPlay_(needPlay) {}

std::shared_ptr<AVAudioPlayer> RemotePlayOpertion::mPlayer() const {
    std::lock_guard lock(playerMutex_);
    return mPlayer_;
}

void RemotePlayOpertion::setMPlayer(std::shared_ptr<AVAudioPlayer> player) {
    std::shared_ptr<AVAudioPlayer> previous;
    {
        std::lock_guard lock(playerMutex_);
        previous = std::exchange(mPlayer_, std::move(player));
    }
    // `previous` stops when it goes, outside the lock.
}

std::string RemotePlayOpertion::pretoneFileName(const std::string& urlStr) {
    const auto slash = urlStr.rfind('/');
    return slash == std::string::npos ? urlStr : urlStr.substr(slash + 1);
}

void RemotePlayOpertion::main() {
    if (isCancelled()) {
        return;
    }
    if (auto player = mPlayer()) {
        player->stop();
    }
    const auto url = NSURL::URLWithString(stringByAddingPercentEscapesUsingEncoding(mCafURLStr_));
    if (isCancelled()) {
        return;
    }
    std::optional<std::string> data;
    if (url) {
        data = fetchDataSync(url->absoluteString(), kFetchTimeoutSeconds);
    }

    if (mNeedPlay_ && !isCancelled()) {
        std::shared_ptr<AVAudioPlayer> player;
        if (data) {
            player = AVAudioPlayer::initWithData(*data, nullptr, mCafURLStr_);
        }
        setMPlayer(player);
        if (player) {
            player->setDelegate(weak_from_this());
            if (!isCancelled() && player->prepareToPlay()) {
                player->play();
            }
        }
    }

    // Stored even when cancelled during the fetch: the bytes are already here. The name
    // comes from a remote service, so one that is no plain file name stores nothing.
    const std::string name = pretoneFileName(mCafURLStr_);
    if (StoreManager::isSafeFileName(name)) {
        StoreManager::storePretones(data, name);
    }
}

void RemotePlayOpertion::audioPlayerDidFinishPlaying(const std::shared_ptr<AVAudioPlayer>& player,
                                                     bool successfully) {
    NSLog("%s", successfully ? "yes" : "no");
}

void RemotePlayOpertion::audioPlayerDecodeErrorDidOccur(
    const std::shared_ptr<AVAudioPlayer>& player, const std::string& error) {
    NSLog("Decoding error: %s", error.c_str());
}
