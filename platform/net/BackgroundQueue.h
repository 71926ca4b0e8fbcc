#pragma once
// One worker thread running tasks in order, for work that must stay off both the main thread
// and the network thread (decoding, cache files).
#include <functional>
#include <memory>

class BackgroundQueue {
public:
    static BackgroundQueue& shared();

    // Safe from any thread. The task counts as work in flight for the idle test.
    void post(std::function<void()> task);

private:
    BackgroundQueue();
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
