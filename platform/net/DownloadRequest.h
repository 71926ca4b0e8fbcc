#pragma once
// One file download: bytes go to a temporary file, which becomes the destination file only
// once the whole reply (status 2xx) has arrived. A failed download keeps its temporary file
// so that a later request with the same paths continues it.
//
// Resume: when allowed and the temporary file has N > 0 bytes, the request asks for
// "bytes=N-". A 206 from N appends; a 200 (a server ignoring ranges) restarts the file
// cleanly; a 416 whose total is N means the temporary file was already complete and the
// download succeeds; any other 416 discards the temporary file and starts over once.
//
// Paths are device paths. Missing folders are not created: the app makes its own at start.
#include "platform/net/NetError.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class DownloadQueue;
class DownloadRequestDelegate;
class DownloadProgressReceiver;
struct DownloadSink;

class DownloadRequest : public std::enable_shared_from_this<DownloadRequest> {
public:
    enum class State { Waiting, Running, Finished, Failed, Cancelled };

    // Without traffic for this long a download fails (it has no overall limit: a slow line
    // still finishes a big file).
    static constexpr double kDefaultTimeOutSeconds = 30;

    static std::shared_ptr<DownloadRequest> requestWithURL(std::string url);
    explicit DownloadRequest(std::string url); // use requestWithURL

    const std::string& url() const { return url_; }

    void setDownloadDestinationPath(std::string path) { destination_ = std::move(path); }
    const std::string& downloadDestinationPath() const { return destination_; }
    void setTemporaryFileDownloadPath(std::string path) { temporary_ = std::move(path); }
    const std::string& temporaryFileDownloadPath() const { return temporary_; }
    void setAllowResumeForFileDownloads(bool allow) { allowResume_ = allow; }
    bool allowResumeForFileDownloads() const { return allowResume_; }
    void setDownloadProgressDelegate(std::weak_ptr<DownloadProgressReceiver> receiver) {
        progress_ = std::move(receiver);
    }
    // Progress is always counted in bytes here; the setting is kept for callers that set it.
    void setShowAccurateProgress(bool accurate) { accurateProgress_ = accurate; }
    bool showAccurateProgress() const { return accurateProgress_; }
    // Differs from the device: there is no background state to continue in; kept only.
    void setShouldContinueWhenAppEntersBackground(bool on) { continueInBackground_ = on; }
    bool shouldContinueWhenAppEntersBackground() const { return continueInBackground_; }
    void setTag(int tag) { tag_ = tag; }
    int tag() const { return tag_; }
    void setTimeOutSeconds(double seconds) { timeOutSeconds_ = seconds; }
    // Not owned: the delegate outlives its requests or is simply not told.
    void setDelegate(std::weak_ptr<DownloadRequestDelegate> delegate) {
        delegate_ = std::move(delegate);
    }
    std::shared_ptr<DownloadRequestDelegate> delegate() const { return delegate_.lock(); }

    State state() const { return state_; }
    bool isFinished() const { return state_ == State::Finished; }
    bool isCancelled() const { return state_ == State::Cancelled; }
    // The last reply's status, 0 before one arrived.
    long responseStatusCode() const { return status_; }
    const std::optional<NetError>& error() const { return error_; }

    // Main thread. Stops the request; its delegate (if still attached) is told of a
    // Cancelled failure. The temporary file stays.
    void cancel();
    // Main thread. Detaches delegate and progress receiver first: nothing is ever told,
    // even when the transfer had already ended and its result was on its way.
    void clearDelegatesAndCancel();

    ~DownloadRequest();

private:
    friend class DownloadQueue;
    void setQueue(std::weak_ptr<DownloadQueue> queue) { queue_ = std::move(queue); }
    void startTransfer();
    static void startEngine(const std::shared_ptr<DownloadRequest>& self,
                            const std::shared_ptr<DownloadSink>& sink, bool resume);
    void complete(uint64_t generation, std::optional<NetError> error, long status);
    void end(State state, std::optional<NetError> error);

    std::string url_;
    std::string destination_;
    std::string temporary_;
    bool allowResume_ = false;
    bool accurateProgress_ = false;
    bool continueInBackground_ = false;
    int tag_ = 0;
    double timeOutSeconds_ = kDefaultTimeOutSeconds;
    std::weak_ptr<DownloadRequestDelegate> delegate_;
    std::weak_ptr<DownloadProgressReceiver> progress_;
    std::weak_ptr<DownloadQueue> queue_;

    State state_ = State::Waiting;
    long status_ = 0;
    std::optional<NetError> error_;
    uint64_t generation_ = 0; // bumped on cancel; a result of an older generation is dropped
    std::shared_ptr<DownloadSink> sink_;
    bool countsActivity_ = false;
};
