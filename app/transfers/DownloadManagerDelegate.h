#pragma once
// Told on the main thread, by task id, how a download ended. Both are optional.
class DownloadManagerDelegate {
public:
    virtual ~DownloadManagerDelegate() = default;
    virtual void downloadDone(int taskID) {}
    virtual void downloadFailed(int taskID) {}
};
