#pragma once
// Plays tones for the user to hear before installing one: a tone on the device as a system
// sound, or a remote tone fetched on the player's own queue (kept as a pretone).
// Called on the main thread.
#include "app/transfers/RemotePlayOpertion.h"
#include "platform/foundation/NSOperationQueue.h"

#include <memory>
#include <string>

class Preplayer {
public:
    static std::shared_ptr<Preplayer> shared();

    // Returns at once while the sound plays; a file that is missing or no sound plays nothing.
    static void playLocalFile(const std::string& path);

    // Cancels the previous preview and queues a new one; returns at once.
    void playOnline(const std::string& urlStr, bool needPlay);

    const std::shared_ptr<NSOperationQueue>& mOperationQueue() const { return mOperationQueue_; }
    // The most recently started preview; absent before the first.
    const std::shared_ptr<RemotePlayOpertion>& mCurrentOperation() const {
        return mCurrentOperation_;
    }

    Preplayer(); // use shared()

private:
    std::shared_ptr<NSOperationQueue> mOperationQueue_;
    std::shared_ptr<RemotePlayOpertion> mCurrentOperation_;
};
