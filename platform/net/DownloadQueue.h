#pragma once
// Runs file downloads, at most a few at a time, in the order they were added.
//
// Four at once by default: tone files are small, so on a phone's cellular link more
// parallel transfers gain nothing once the link is busy, while each one costs a socket, a
// file handle and buffers, and late requests would wait behind many half-done ones.
#include <memory>
#include <vector>

class DownloadRequest;

class DownloadQueue : public std::enable_shared_from_this<DownloadQueue> {
public:
    static constexpr int kDefaultMaxConcurrentOperationCount = 4;

    static std::shared_ptr<DownloadQueue> queue();

    // Whether one failed request cancels all the others (they are told of a cancellation).
    void setShouldCancelAllRequestsOnFailure(bool cancelAll) { cancelAllOnFailure_ = cancelAll; }
    bool shouldCancelAllRequestsOnFailure() const { return cancelAllOnFailure_; }
    void setMaxConcurrentOperationCount(int count);
    int maxConcurrentOperationCount() const { return maxConcurrent_; }

    // A new queue holds its requests until go(); afterwards every added request starts as
    // soon as a slot is free. Calling go() again does nothing.
    void go();
    bool isSuspended() const { return suspended_; }

    // Main thread, like everything here. A request belongs to one queue, once.
    void addOperation(const std::shared_ptr<DownloadRequest>& request);
    // The requests waiting or running, in the order they were added.
    const std::vector<std::shared_ptr<DownloadRequest>>& operations() const { return requests_; }
    int requestsCount() const { return static_cast<int>(requests_.size()); }
    // Cancels every request; delegates still attached are told.
    void cancelAllOperations();

private:
    friend class DownloadRequest;
    void requestEnded(const std::shared_ptr<DownloadRequest>& request);
    void startWaiting();

    std::vector<std::shared_ptr<DownloadRequest>> requests_;
    int maxConcurrent_ = kDefaultMaxConcurrentOperationCount;
    bool cancelAllOnFailure_ = true;
    bool suspended_ = true;
};
