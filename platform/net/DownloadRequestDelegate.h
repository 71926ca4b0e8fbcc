#pragma once
// Told on the main thread how a queued download ended.
#include <memory>

class DownloadRequest;

class DownloadRequestDelegate {
public:
    virtual ~DownloadRequestDelegate() = default;
    virtual void requestFinished(const std::shared_ptr<DownloadRequest>& request) {}
    virtual void requestFailed(const std::shared_ptr<DownloadRequest>& request) {}
};
