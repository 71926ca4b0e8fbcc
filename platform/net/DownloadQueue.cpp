#include "platform/net/DownloadQueue.h"

#include "platform/foundation/RunLoop.h"
#include "platform/net/DownloadRequest.h"

#include <algorithm>

std::shared_ptr<DownloadQueue> DownloadQueue::queue() {
    return std::make_shared<DownloadQueue>();
}

void DownloadQueue::setMaxConcurrentOperationCount(int count) {
    maxConcurrent_ = std::max(1, count);
    startWaiting();
}

void DownloadQueue::go() {
    if (!suspended_) {
        return;
    }
    suspended_ = false;
    startWaiting();
}

void DownloadQueue::addOperation(const std::shared_ptr<DownloadRequest>& request) {
    if (!request || request->state() != DownloadRequest::State::Waiting ||
        !request->queue_.expired()) {
        return;
    }
    request->setQueue(weak_from_this());
    if (!request->countsActivity_) {
        request->countsActivity_ = true; // waiting work keeps the loop from looking idle
        RunLoop::main().beginActivity();
    }
    requests_.push_back(request);
    startWaiting();
}

void DownloadQueue::cancelAllOperations() {
    auto doomed = requests_; // cancelling edits the list
    for (auto& request : doomed) {
        request->cancel();
    }
}

void DownloadQueue::requestEnded(const std::shared_ptr<DownloadRequest>& request) {
    auto it = std::find(requests_.begin(), requests_.end(), request);
    if (it != requests_.end()) {
        requests_.erase(it);
    }
    startWaiting();
}

void DownloadQueue::startWaiting() {
    if (suspended_) {
        return;
    }
    int running = 0;
    for (auto& r : requests_) {
        running += r->state() == DownloadRequest::State::Running ? 1 : 0;
    }
    for (size_t i = 0; i < requests_.size() && running < maxConcurrent_; ++i) {
        auto request = requests_[i]; // startTransfer may not edit the list, but keep it alive
        if (request->state() == DownloadRequest::State::Waiting) {
            request->startTransfer();
            ++running;
        }
    }
}
