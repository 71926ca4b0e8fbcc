#include "platform/net/DownloadRequest.h"

#include "platform/foundation/DeviceHost.h"
#include "platform/foundation/RunLoop.h"
#include "platform/net/DownloadProgressReceiver.h"
#include "platform/net/DownloadQueue.h"
#include "platform/net/DownloadRequestDelegate.h"
#include "platform/net/HttpEngine.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

// What the worker thread knows of a running request; the request's own fields are the main
// thread's.
struct DownloadSink {
    std::string url;
    double stallSeconds = 0;
    uint64_t generation = 0;
    fs::path temp;
    fs::path dest;
    int64_t offset = 0; // where the requested range starts
    std::FILE* file = nullptr;
    bool opened = false;
    bool fileError = false;
    bool rangeMismatch = false;
    bool restarted = false;
    std::atomic<int64_t> progressBase{0};
    std::atomic<int> lastPercent{-1};
    std::atomic<uint64_t> transferId{0};
    std::atomic<bool> cancelled{false};
};

namespace {

// "bytes 100-199/200" → 100, "bytes */200" → total 200.
bool parseContentRange(const std::string& value, int64_t* start, int64_t* total) {
    long long s = -1, e = -1, t = -1;
    if (std::sscanf(value.c_str(), "bytes %lld-%lld/%lld", &s, &e, &t) >= 2) {
        *start = s;
        *total = t;
        return true;
    }
    if (std::sscanf(value.c_str(), "bytes */%lld", &t) == 1) {
        *start = -1;
        *total = t;
        return true;
    }
    return false;
}

bool openFor(DownloadSink& sink, long status, const std::string& contentRange) {
    std::error_code ec;
    if (status == 206) {
        int64_t start = -1, total = -1;
        if (!parseContentRange(contentRange, &start, &total) || start != sink.offset) {
            sink.rangeMismatch = true;
            return false;
        }
        if (start > 0) {
            // A cancelled earlier attempt may have written past what we asked to skip.
            auto size = fs::file_size(sink.temp, ec);
            if (ec || static_cast<int64_t>(size) < start) {
                sink.rangeMismatch = true;
                return false;
            }
            fs::resize_file(sink.temp, static_cast<uintmax_t>(start), ec);
            sink.file = ec ? nullptr : std::fopen(sink.temp.c_str(), "ab");
            sink.progressBase = start;
        } else {
            sink.file = std::fopen(sink.temp.c_str(), "wb");
            sink.progressBase = 0;
        }
    } else {
        // A whole body: a server that ignores ranges starts the file over.
        sink.file = std::fopen(sink.temp.c_str(), "wb");
        sink.progressBase = 0;
    }
    sink.opened = true;
    if (!sink.file) {
        sink.fileError = true;
        return false;
    }
    return true;
}

} // namespace

std::shared_ptr<DownloadRequest> DownloadRequest::requestWithURL(std::string url) {
    return std::make_shared<DownloadRequest>(std::move(url));
}

DownloadRequest::DownloadRequest(std::string url) : url_(std::move(url)) {}

DownloadRequest::~DownloadRequest() {
    if (countsActivity_) {
        RunLoop::main().endActivity();
    }
}

void DownloadRequest::startTransfer() {
    state_ = State::Running;
    uint64_t generation = generation_;
    std::string temporary = temporary_.empty() ? destination_ + ".download" : temporary_;
    std::optional<fs::path> dest, temp;
    if (!destination_.empty()) {
        dest = platform::deviceHost().hostPath(destination_);
        temp = platform::deviceHost().hostPath(temporary);
    }
    if (!dest || !temp) {
        NetError e{NetError::Code::File, 0, "no usable destination or temporary path"};
        dispatchMain(
            [self = shared_from_this(), generation, e] { self->complete(generation, e, 0); });
        return;
    }
    sink_ = std::make_shared<DownloadSink>();
    sink_->url = url_;
    sink_->stallSeconds = timeOutSeconds_;
    sink_->generation = generation;
    sink_->temp = *temp;
    sink_->dest = *dest;
    std::error_code ec;
    if (allowResume_) {
        auto size = fs::file_size(*temp, ec);
        if (!ec && size > 0) {
            sink_->offset = static_cast<int64_t>(size);
        }
    }
    startEngine(shared_from_this(), sink_, sink_->offset > 0);
}

// Also called on the worker (a restart), so it touches only `sink` and main-thread work.
void DownloadRequest::startEngine(const std::shared_ptr<DownloadRequest>& self,
                                  const std::shared_ptr<DownloadSink>& sink, bool resume) {
    HttpEngine::Transfer t;
    t.url = sink->url;
    t.stallSeconds = sink->stallSeconds;
    if (resume) {
        t.headers.push_back("Range: bytes=" + std::to_string(sink->offset) + "-");
    }
    t.onBody = [sink](long status, const std::string& contentRange, std::string_view chunk) {
        if (status < 200 || status > 299) {
            return true; // an error page is read and dropped, never written
        }
        if (!sink->opened && !openFor(*sink, status, contentRange)) {
            return false;
        }
        if (std::fwrite(chunk.data(), 1, chunk.size(), sink->file) != chunk.size()) {
            sink->fileError = true;
            return false;
        }
        return true;
    };
    t.onProgress = [self, sink](int64_t received, int64_t expected) {
        if (expected <= 0) {
            return;
        }
        int64_t base = sink->progressBase;
        int percent = static_cast<int>((base + received) * 100 / (base + expected));
        if (sink->lastPercent.exchange(percent) == percent) {
            return;
        }
        float fraction = static_cast<float>(base + received) / static_cast<float>(base + expected);
        dispatchMain([self, generation = sink->generation, fraction] {
            if (generation != self->generation_ || self->state_ != State::Running) {
                return;
            }
            if (auto receiver = self->progress_.lock()) {
                receiver->setProgress(self, fraction);
            }
        });
    };
    t.onDone = [self, sink](HttpEngine::Result r) {
        if (sink->file && std::fclose(sink->file) != 0) {
            sink->fileError = true;
        }
        sink->file = nullptr;
        if (sink->cancelled) {
            return;
        }
        std::optional<NetError> error;
        std::error_code ec;
        bool ok2xx = r.status >= 200 && r.status <= 299;
        if (sink->rangeMismatch) {
            fs::remove(sink->temp, ec); // useless for resuming; the next attempt starts over
            error =
                NetError{NetError::Code::Other, r.status, "the reply did not continue the file"};
        } else if (sink->fileError) {
            error = NetError{NetError::Code::File, r.status, "could not write the temporary file"};
        } else if (r.error) {
            error = std::move(r.error);
        } else if (ok2xx) {
            if (!sink->opened) { // an empty body still makes a file
                std::FILE* f = std::fopen(sink->temp.c_str(), r.status == 206 ? "ab" : "wb");
                if (!f || std::fclose(f) != 0) {
                    error = NetError{NetError::Code::File, r.status, "could not create the file"};
                }
            }
        } else if (r.status == 416 && sink->offset > 0) {
            int64_t start = -1, total = -1;
            if (parseContentRange(r.contentRange, &start, &total) && total == sink->offset) {
                r.status = 200; // the temporary file already holds the whole file
            } else if (!sink->restarted) {
                fs::remove(sink->temp, ec);
                sink->restarted = true;
                sink->offset = 0;
                sink->opened = false;
                startEngine(self, sink, false);
                return;
            } else {
                error = NetError{NetError::Code::HttpStatus, r.status, "range not satisfiable"};
            }
        } else {
            error = NetError{NetError::Code::HttpStatus, r.status,
                             "the server answered with status " + std::to_string(r.status)};
        }
        dispatchMain([self, generation = sink->generation, error = std::move(error),
                      status = r.status] { self->complete(generation, error, status); });
    };
    sink->transferId = HttpEngine::shared().start(std::move(t));
}

void DownloadRequest::complete(uint64_t generation, std::optional<NetError> error, long status) {
    if (generation != generation_ || state_ != State::Running) {
        return; // cancelled while the result was on its way
    }
    status_ = status;
    if (!error) {
        // rename replaces an older file at the destination in one step: never a partial file.
        std::error_code ec;
        fs::rename(sink_->temp, sink_->dest, ec);
        if (ec) {
            error = NetError{NetError::Code::File, status,
                             "could not move the file into place: " + ec.message()};
        }
    }
    end(error ? State::Failed : State::Finished, std::move(error));
}

void DownloadRequest::end(State state, std::optional<NetError> error) {
    auto self = shared_from_this();
    state_ = state;
    error_ = std::move(error);
    auto queue = queue_.lock();
    if (queue) {
        queue->requestEnded(self);
    }
    if (auto delegate = delegate_.lock()) {
        if (state == State::Finished) {
            delegate->requestFinished(self);
        } else {
            delegate->requestFailed(self);
        }
    }
    if (queue && state == State::Failed && queue->shouldCancelAllRequestsOnFailure()) {
        queue->cancelAllOperations();
    }
    if (countsActivity_) {
        countsActivity_ = false;
        RunLoop::main().endActivity();
    }
}

void DownloadRequest::cancel() {
    if (state_ != State::Waiting && state_ != State::Running) {
        return;
    }
    ++generation_;
    if (sink_) {
        sink_->cancelled = true;
        if (uint64_t id = sink_->transferId) {
            HttpEngine::shared().cancel(id);
        }
    }
    end(State::Cancelled, NetError{NetError::Code::Cancelled, 0, "cancelled"});
}

void DownloadRequest::clearDelegatesAndCancel() {
    delegate_.reset();
    progress_.reset();
    cancel();
}
