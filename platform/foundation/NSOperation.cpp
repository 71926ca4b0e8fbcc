#include "platform/foundation/NSOperation.h"

void NSOperation::waitUntilFinished() {
    std::unique_lock lock(mutex_);
    finishedCv_.wait(lock, [&] { return finished_.load(); });
}

void NSOperation::markExecuting() {
    executing_.store(true);
}

void NSOperation::markFinished() {
    {
        std::lock_guard lock(mutex_);
        executing_.store(false);
        finished_.store(true);
    }
    finishedCv_.notify_all();
}
