#pragma once
// Runs operations on a small pool of worker threads, at most maxConcurrentOperationCount at
// a time, in the order added. Each operation counts as an activity of the main run loop
// from the moment it is added until it has finished, so RunLoop::isIdle() waits for it.
//
// Destroying the queue lets the running operations finish and joins the workers; operations
// still waiting are cancelled and dropped (marked finished without running).
#include <memory>

class NSOperation;

class NSOperationQueue {
public:
    static constexpr int kDefaultMaxConcurrentOperationCount = 2;

    NSOperationQueue();
    ~NSOperationQueue();
    NSOperationQueue(const NSOperationQueue&) = delete;
    NSOperationQueue& operator=(const NSOperationQueue&) = delete;

    // Adding an operation that is already in a queue, or finished, does nothing.
    void addOperation(std::shared_ptr<NSOperation> operation);
    void cancelAllOperations();
    // Blocks the calling thread until every operation added so far has finished.
    void waitUntilAllOperationsAreFinished();

    int maxConcurrentOperationCount() const;
    void setMaxConcurrentOperationCount(int count); // below 1 means 1
    // Operations added and not yet finished.
    int operationCount() const;

private:
    struct State;
    std::shared_ptr<State> state_;
};
