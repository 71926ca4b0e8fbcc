#pragma once
// The one way tone files are downloaded: each task writes a temporary file in the cache
// directory and leaves the finished file in the target directory, then tells its delegate
// by task id. Main thread only.
#include "app/transfers/DownloadManagerDelegate.h"
#include "platform/net/DownloadProgressReceiver.h"
#include "platform/net/DownloadQueue.h"
#include "platform/net/DownloadRequest.h"
#include "platform/net/DownloadRequestDelegate.h"

#include <map>
#include <memory>
#include <string>

class DownloadManager : public DownloadRequestDelegate,
                        public std::enable_shared_from_this<DownloadManager> {
public:
    static std::shared_ptr<DownloadManager> shared();

    const std::shared_ptr<DownloadQueue>& mNetQueue() const { return mNetQueue_; }
    const std::string& mTargetDirPath() const { return mTargetDirPath_; }
    void setMTargetDirPath(std::string path) { mTargetDirPath_ = std::move(path); }
    const std::string& mCacheDirPath() const { return mCacheDirPath_; }
    void setMCacheDirPath(std::string path) { mCacheDirPath_ = std::move(path); }
    const std::map<int, std::shared_ptr<DownloadManagerDelegate>>& mDelegates() const {
        return mDelegates_;
    }

    // NO (nothing queued, nobody told) without a target directory or for a file name that
    // cannot be a directory entry; otherwise queues the download and answers YES at once.
    bool startTaskForURL(const std::string& url, const std::string& fileName,
                         const std::shared_ptr<DownloadProgressReceiver>& progressDelegate,
                         int taskID, const std::shared_ptr<DownloadManagerDelegate>& delegate);
    // Cancels the first queued download with this id without telling anyone; its temporary
    // file stays so that a later start continues it.
    void pause(int taskID);

    void requestFinished(const std::shared_ptr<DownloadRequest>& request) override;
    void requestFailed(const std::shared_ptr<DownloadRequest>& request) override;

    void addDelegate(const std::shared_ptr<DownloadManagerDelegate>& delegate,
                     const std::shared_ptr<DownloadRequest>& request);
    std::shared_ptr<DownloadManagerDelegate>
    getDelegateByRequest(const std::shared_ptr<DownloadRequest>& request) const;

    DownloadManager(); // use shared()

private:
    std::shared_ptr<DownloadQueue> mNetQueue_;
    std::string mTargetDirPath_;
    std::string mCacheDirPath_;
    // Entries stay for the run: each id keeps its last delegate.
    std::map<int, std::shared_ptr<DownloadManagerDelegate>> mDelegates_;
};
