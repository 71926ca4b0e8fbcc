#include "platform/net/BackgroundQueue.h"

#include "platform/foundation/RunLoop.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

struct BackgroundQueue::Impl {
    std::mutex mutex;
    std::condition_variable cv;
    std::deque<std::function<void()>> tasks;
};

BackgroundQueue& BackgroundQueue::shared() {
    // Never destroyed: its thread may still be working when the process exits.
    static BackgroundQueue* queue = new BackgroundQueue();
    return *queue;
}

BackgroundQueue::BackgroundQueue() : impl_(std::make_unique<Impl>()) {
    std::thread([impl = impl_.get()] {
        for (;;) {
            std::function<void()> task;
            {
                std::unique_lock lock(impl->mutex);
                impl->cv.wait(lock, [&] { return !impl->tasks.empty(); });
                task = std::move(impl->tasks.front());
                impl->tasks.pop_front();
            }
            task();
            task = nullptr; // release what it captured before the activity ends
            RunLoop::main().endActivity();
        }
    }).detach();
}

void BackgroundQueue::post(std::function<void()> task) {
    RunLoop::main().beginActivity();
    {
        std::lock_guard lock(impl_->mutex);
        impl_->tasks.push_back(std::move(task));
    }
    impl_->cv.notify_one();
}
