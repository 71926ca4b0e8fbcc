#include "app/transfers/Preplayer.h"

#include "platform/audio/AudioServices.h"
#include "platform/foundation/NSURL.h"

#include <mutex>

std::shared_ptr<Preplayer> Preplayer::shared() {
    static std::once_flag once;
    static std::shared_ptr<Preplayer> player;
    std::call_once(once, [] { player = std::make_shared<Preplayer>(); });
    return player;
}

Preplayer::Preplayer() : mOperationQueue_(std::make_shared<NSOperationQueue>()) {}

void Preplayer::playLocalFile(const std::string& path) {
    SystemSoundID soundID = 0;
    if (AudioServicesCreateSystemSoundID(NSURL::fileURLWithPath(path), &soundID) !=
        kAudioServicesNoError) {
        return;
    }
    AudioServicesPlaySystemSound(soundID);
    // A play already started runs to its end without its id; keeping ids would only leak.
    AudioServicesDisposeSystemSoundID(soundID);
}

void Preplayer::playOnline(const std::string& urlStr, bool needPlay) {
    if (mCurrentOperation_) {
        mCurrentOperation_->cancel();
    }
    // Releasing the previous preview also releases its player, which stops its sound.
    mCurrentOperation_ = RemotePlayOpertion::initWithURLStr(urlStr, needPlay);
    mOperationQueue_->addOperation(mCurrentOperation_);
}
