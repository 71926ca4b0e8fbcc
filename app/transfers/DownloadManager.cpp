#include "app/transfers/DownloadManager.h"

#include "app/storage/StoreManager.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/PercentEscapes.h"
#include "platform/foundation/SearchPaths.h"

#include <mutex>

std::shared_ptr<DownloadManager> DownloadManager::shared() {
    static std::once_flag once;
    static std::shared_ptr<DownloadManager> manager;
    std::call_once(once, [] { manager = std::make_shared<DownloadManager>(); });
    return manager;
}

DownloadManager::DownloadManager() : mNetQueue_(DownloadQueue::queue()) {
    // One failed tone must not take the other downloads down with it.
    mNetQueue_->setShouldCancelAllRequestsOnFailure(false);
    mNetQueue_->go();
}

bool DownloadManager::startTaskForURL(
    const std::string& url, const std::string& fileName,
    const std::shared_ptr<DownloadProgressReceiver>& progressDelegate, int taskID,
    const std::shared_ptr<DownloadManagerDelegate>& delegate) {
    if (mTargetDirPath_.empty()) {
        return false;
    }
    // The name comes from the catalogue: it must stay one entry of the two directories.
    if (!StoreManager::isSafeFileName(fileName)) {
        return false;
    }
    const std::string destination = stringByAppendingPathComponent(mTargetDirPath_, fileName);
    const std::string temporary =
        stringByAppendingPathComponent(mCacheDirPath_, fileName + ".temp");

    auto request = DownloadRequest::requestWithURL(stringByAddingPercentEscapesUsingEncoding(url));
    request->setDelegate(weak_from_this());
    request->setDownloadDestinationPath(destination);
    request->setTemporaryFileDownloadPath(temporary);
    request->setAllowResumeForFileDownloads(true);
    request->setDownloadProgressDelegate(progressDelegate);
    request->setShowAccurateProgress(true);
    request->setShouldContinueWhenAppEntersBackground(true);
    request->setTag(taskID);

    addDelegate(delegate, request);
    mNetQueue_->addOperation(request);
    return true;
}

void DownloadManager::pause(int taskID) {
    // Copied: cancelling may take the request out of the queue's list.
    const auto requests = mNetQueue_->operations();
    for (const auto& request : requests) {
        if (request->tag() == taskID) {
            request->clearDelegatesAndCancel();
            return;
        }
    }
}

void DownloadManager::requestFinished(const std::shared_ptr<DownloadRequest>& request) {
    if (auto delegate = getDelegateByRequest(request)) {
        delegate->downloadDone(request->tag());
    }
}

void DownloadManager::requestFailed(const std::shared_ptr<DownloadRequest>& request) {
    NSLog("Failed: %d", request->tag());
    if (auto delegate = getDelegateByRequest(request)) {
        delegate->downloadFailed(request->tag());
    }
}

void DownloadManager::addDelegate(const std::shared_ptr<DownloadManagerDelegate>& delegate,
                                  const std::shared_ptr<DownloadRequest>& request) {
    mDelegates_[request->tag()] = delegate;
}

std::shared_ptr<DownloadManagerDelegate>
DownloadManager::getDelegateByRequest(const std::shared_ptr<DownloadRequest>& request) const {
    auto it = mDelegates_.find(request->tag());
    return it == mDelegates_.end() ? nullptr : it->second;
}
