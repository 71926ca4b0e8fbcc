#pragma once
// Receives a download's progress on the main thread, as a fraction from 0 to 1 (counting
// bytes resumed from an earlier attempt as done).
#include <memory>

class DownloadRequest;

class DownloadProgressReceiver {
public:
    virtual ~DownloadProgressReceiver() = default;
    virtual void setProgress(const std::shared_ptr<DownloadRequest>& request, float progress) = 0;
};
