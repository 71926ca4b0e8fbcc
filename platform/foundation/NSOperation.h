#pragma once
// A unit of work for an NSOperationQueue. Subclasses override main(), which runs on one of
// the queue's worker threads; cancellation is cooperative: main() looks at isCancelled().
#include <atomic>
#include <condition_variable>
#include <mutex>

class NSOperationQueue;

class NSOperation {
public:
    NSOperation() = default;
    virtual ~NSOperation() = default;
    NSOperation(const NSOperation&) = delete;
    NSOperation& operator=(const NSOperation&) = delete;

    virtual void main() {}

    // Safe from any thread. An operation cancelled before it starts never runs main().
    virtual void cancel() { cancelled_.store(true); }
    bool isCancelled() const { return cancelled_.load(); }
    bool isExecuting() const { return executing_.load(); }
    bool isFinished() const { return finished_.load(); }

    // Blocks until the operation has finished (run, or dropped by its queue).
    void waitUntilFinished();

private:
    friend class NSOperationQueue;
    void markExecuting();
    void markFinished();

    std::atomic<bool> cancelled_{false};
    std::atomic<bool> executing_{false};
    std::atomic<bool> finished_{false};
    std::atomic<bool> enqueued_{false};
    std::mutex mutex_;
    std::condition_variable finishedCv_;
};
