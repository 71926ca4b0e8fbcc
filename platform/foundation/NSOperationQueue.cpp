#include "platform/foundation/NSOperationQueue.h"

#include "platform/foundation/NSOperation.h"
#include "platform/foundation/RunLoop.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

// Shared with the workers, so that a worker which drops the last reference to the queue
// (from inside an operation) still finds its state.
struct NSOperationQueue::State {
    std::mutex mutex;
    std::condition_variable workCv;
    std::condition_variable doneCv;
    std::deque<std::shared_ptr<NSOperation>> waiting;
    std::vector<std::shared_ptr<NSOperation>> running;
    std::vector<std::thread> workers;
    int idleWorkers = 0;
    int maxCount = kDefaultMaxConcurrentOperationCount;
    bool stopping = false;

    void work();
    bool mayStartOne() const { return !waiting.empty() && int(running.size()) < maxCount; }
};

void NSOperationQueue::State::work() {
    std::unique_lock lock(mutex);
    for (;;) {
        ++idleWorkers;
        workCv.wait(lock, [&] { return stopping || mayStartOne(); });
        --idleWorkers;
        if (stopping) {
            return;
        }
        auto operation = std::move(waiting.front());
        waiting.pop_front();
        running.push_back(operation);
        lock.unlock();

        if (!operation->isCancelled()) {
            operation->markExecuting();
            operation->main();
        }
        operation->markFinished();
        RunLoop::main().endActivity();

        lock.lock();
        running.erase(std::find(running.begin(), running.end(), operation));
        operation.reset();
        doneCv.notify_all();
        // A lower maximum, or a free slot for another worker.
        workCv.notify_all();
    }
}

NSOperationQueue::NSOperationQueue() : state_(std::make_shared<State>()) {}

NSOperationQueue::~NSOperationQueue() {
    std::vector<std::thread> workers;
    std::deque<std::shared_ptr<NSOperation>> dropped;
    {
        std::lock_guard lock(state_->mutex);
        state_->stopping = true;
        workers.swap(state_->workers);
        dropped.swap(state_->waiting);
    }
    state_->workCv.notify_all();
    for (auto& operation : dropped) {
        operation->cancel();
        operation->markFinished();
        RunLoop::main().endActivity();
    }
    for (auto& worker : workers) {
        if (worker.get_id() == std::this_thread::get_id()) {
            worker.detach(); // destroyed from one of its own operations
        } else {
            worker.join();
        }
    }
}

void NSOperationQueue::addOperation(std::shared_ptr<NSOperation> operation) {
    if (!operation || operation->isFinished() || operation->enqueued_.exchange(true)) {
        return;
    }
    RunLoop::main().beginActivity();
    {
        std::lock_guard lock(state_->mutex);
        state_->waiting.push_back(std::move(operation));
        if (int(state_->waiting.size()) > state_->idleWorkers &&
            int(state_->workers.size()) < state_->maxCount) {
            state_->workers.emplace_back([state = state_] { state->work(); });
        }
    }
    state_->workCv.notify_one();
}

void NSOperationQueue::cancelAllOperations() {
    std::lock_guard lock(state_->mutex);
    for (auto& operation : state_->waiting) {
        operation->cancel();
    }
    for (auto& operation : state_->running) {
        operation->cancel();
    }
}

void NSOperationQueue::waitUntilAllOperationsAreFinished() {
    std::unique_lock lock(state_->mutex);
    state_->doneCv.wait(lock, [&] { return state_->waiting.empty() && state_->running.empty(); });
}

int NSOperationQueue::maxConcurrentOperationCount() const {
    std::lock_guard lock(state_->mutex);
    return state_->maxCount;
}

void NSOperationQueue::setMaxConcurrentOperationCount(int count) {
    {
        std::lock_guard lock(state_->mutex);
        state_->maxCount = std::max(1, count);
        // Enough workers for what may now run at once.
        while (int(state_->workers.size()) < state_->maxCount &&
               int(state_->workers.size()) < int(state_->waiting.size() + state_->running.size())) {
            state_->workers.emplace_back([state = state_] { state->work(); });
        }
    }
    state_->workCv.notify_all();
}

int NSOperationQueue::operationCount() const {
    std::lock_guard lock(state_->mutex);
    return int(state_->waiting.size() + state_->running.size());
}
