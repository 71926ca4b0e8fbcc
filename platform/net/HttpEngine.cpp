#include "platform/net/HttpEngine.h"

#include "platform/foundation/RunLoop.h"

#include <curl/curl.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

namespace {

struct Active {
    uint64_t id = 0;
    HttpEngine::Transfer transfer;
    CURL* easy = nullptr;
    curl_slist* headers = nullptr;
    std::string contentRange;
    char errorBuffer[CURL_ERROR_SIZE] = {};
    bool aborted = false; // onBody said stop
};

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i]))) {
            return false;
        }
    }
    return true;
}

std::string trimmed(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) {
        s.remove_prefix(1);
    }
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) {
        s.remove_suffix(1);
    }
    return std::string(s);
}

size_t onHeaderLine(char* data, size_t size, size_t count, void* user) {
    auto* active = static_cast<Active*>(user);
    std::string_view line(data, size * count);
    if (startsWithNoCase(line, "HTTP/")) {
        active->contentRange.clear(); // a new reply (after a redirect or 100-continue)
    } else if (startsWithNoCase(line, "content-range:")) {
        active->contentRange = trimmed(line.substr(14));
    }
    return size * count;
}

size_t onBodyBytes(char* data, size_t size, size_t count, void* user) {
    auto* active = static_cast<Active*>(user);
    size_t n = size * count;
    if (!active->transfer.onBody) {
        return n;
    }
    long status = 0;
    curl_easy_getinfo(active->easy, CURLINFO_RESPONSE_CODE, &status);
    if (!active->transfer.onBody(status, active->contentRange, std::string_view(data, n))) {
        active->aborted = true;
        return 0; // any count other than n makes curl stop
    }
    return n;
}

int onTransferInfo(void* user, curl_off_t dlTotal, curl_off_t dlNow, curl_off_t, curl_off_t) {
    auto* active = static_cast<Active*>(user);
    if (active->transfer.onProgress) {
        active->transfer.onProgress(static_cast<int64_t>(dlNow), static_cast<int64_t>(dlTotal));
    }
    return 0;
}

NetError errorFor(CURLcode code, const char* detail) {
    NetError error;
    switch (code) {
    case CURLE_OPERATION_TIMEDOUT:
        error.code = NetError::Code::Timeout;
        break;
    case CURLE_COULDNT_CONNECT:
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
        error.code = NetError::Code::ConnectionFailed;
        break;
    case CURLE_URL_MALFORMAT:
    case CURLE_UNSUPPORTED_PROTOCOL:
        error.code = NetError::Code::BadURL;
        break;
    case CURLE_PARTIAL_FILE:
        error.code = NetError::Code::Truncated;
        break;
    default:
        error.code = NetError::Code::Other;
        break;
    }
    error.description = (detail && *detail) ? detail : curl_easy_strerror(code);
    return error;
}

} // namespace

struct HttpEngine::Impl {
    CURLM* multi = nullptr;
    std::mutex mutex;
    std::deque<std::pair<uint64_t, Transfer>> toAdd;
    std::vector<uint64_t> toCancel;
    std::map<uint64_t, std::unique_ptr<Active>> active; // worker thread only
    uint64_t nextId = 1;
    std::thread worker;
    std::atomic<std::thread::id> workerId{};

    void run();
    void addPending();
    void cancelPending();
    void finish(Active& a, Result result);
};

HttpEngine& HttpEngine::shared() {
    // Never destroyed: the worker may still be running when the process exits.
    static HttpEngine* engine = new HttpEngine();
    return *engine;
}

HttpEngine::HttpEngine() : impl_(std::make_unique<Impl>()) {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    impl_->multi = curl_multi_init();
    impl_->worker = std::thread([impl = impl_.get()] { impl->run(); });
    impl_->worker.detach();
}

bool HttpEngine::isWorkerThread() const {
    return impl_->workerId == std::this_thread::get_id();
}

uint64_t HttpEngine::start(Transfer transfer) {
    RunLoop::main().beginActivity(); // ended after onDone has handed its result over
    uint64_t id;
    {
        std::lock_guard lock(impl_->mutex);
        id = impl_->nextId++;
        impl_->toAdd.emplace_back(id, std::move(transfer));
    }
    curl_multi_wakeup(impl_->multi);
    return id;
}

void HttpEngine::cancel(uint64_t id) {
    {
        std::lock_guard lock(impl_->mutex);
        impl_->toCancel.push_back(id);
    }
    curl_multi_wakeup(impl_->multi);
}

void HttpEngine::Impl::finish(Active& a, Result result) {
    if (a.easy) {
        curl_multi_remove_handle(multi, a.easy);
        curl_easy_cleanup(a.easy);
        a.easy = nullptr;
    }
    if (a.headers) {
        curl_slist_free_all(a.headers);
        a.headers = nullptr;
    }
    auto done = std::move(a.transfer.onDone);
    a.transfer = Transfer{}; // drop captured owners before the activity ends
    if (done) {
        done(std::move(result));
    }
    RunLoop::main().endActivity();
}

void HttpEngine::Impl::addPending() {
    std::deque<std::pair<uint64_t, Transfer>> adds;
    {
        std::lock_guard lock(mutex);
        adds.swap(toAdd);
    }
    for (auto& [id, transfer] : adds) {
        auto a = std::make_unique<Active>();
        a->id = id;
        a->transfer = std::move(transfer);
        CURL* easy = curl_easy_init();
        a->easy = easy;
        curl_easy_setopt(easy, CURLOPT_URL, a->transfer.url.c_str());
        curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 5L);
        curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(easy, CURLOPT_ACCEPT_ENCODING, ""); // whatever curl can decode
        curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, a->errorBuffer);
        curl_easy_setopt(easy, CURLOPT_PRIVATE, a.get());
        curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, onBodyBytes);
        curl_easy_setopt(easy, CURLOPT_WRITEDATA, a.get());
        curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, onHeaderLine);
        curl_easy_setopt(easy, CURLOPT_HEADERDATA, a.get());
        if (a->transfer.onProgress) {
            curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
            curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, onTransferInfo);
            curl_easy_setopt(easy, CURLOPT_XFERINFODATA, a.get());
        }
        if (a->transfer.timeoutSeconds > 0) {
            curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS,
                             static_cast<long>(a->transfer.timeoutSeconds * 1000));
        }
        if (a->transfer.stallSeconds > 0) {
            curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
            curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME,
                             std::max(1L, static_cast<long>(a->transfer.stallSeconds)));
            curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS,
                             static_cast<long>(a->transfer.stallSeconds * 1000));
        }
        for (const auto& h : a->transfer.headers) {
            a->headers = curl_slist_append(a->headers, h.c_str());
        }
        if (a->headers) {
            curl_easy_setopt(easy, CURLOPT_HTTPHEADER, a->headers);
        }
        Active& ref = *a;
        active.emplace(id, std::move(a));
        if (curl_multi_add_handle(multi, easy) != CURLM_OK) {
            Result r;
            r.error = NetError{NetError::Code::Other, 0, "could not start the transfer"};
            finish(ref, std::move(r));
            active.erase(id);
        }
    }
}

void HttpEngine::Impl::cancelPending() {
    std::vector<uint64_t> ids;
    std::vector<std::pair<uint64_t, Transfer>> notStarted;
    {
        std::lock_guard lock(mutex);
        ids.swap(toCancel);
        for (uint64_t id : ids) {
            auto it = std::find_if(toAdd.begin(), toAdd.end(),
                                   [id](const auto& p) { return p.first == id; });
            if (it != toAdd.end()) {
                notStarted.push_back(std::move(*it));
                toAdd.erase(it);
            }
        }
    }
    Result cancelled;
    cancelled.error = NetError{NetError::Code::Cancelled, 0, "cancelled"};
    for (auto& [id, transfer] : notStarted) {
        Active a;
        a.transfer = std::move(transfer);
        finish(a, cancelled);
    }
    for (uint64_t id : ids) {
        auto it = active.find(id);
        if (it != active.end()) {
            finish(*it->second, cancelled);
            active.erase(it);
        }
    }
}

void HttpEngine::Impl::run() {
    workerId = std::this_thread::get_id();
    for (;;) {
        addPending();
        cancelPending();
        int running = 0;
        curl_multi_perform(multi, &running);
        int left = 0;
        while (CURLMsg* msg = curl_multi_info_read(multi, &left)) {
            if (msg->msg != CURLMSG_DONE) {
                continue;
            }
            Active* a = nullptr;
            curl_easy_getinfo(msg->easy_handle, CURLINFO_PRIVATE, reinterpret_cast<char**>(&a));
            Result r;
            curl_easy_getinfo(a->easy, CURLINFO_RESPONSE_CODE, &r.status);
            const char* type = nullptr;
            curl_easy_getinfo(a->easy, CURLINFO_CONTENT_TYPE, &type);
            if (type) {
                r.contentType = type;
            }
            r.contentRange = a->contentRange;
            CURLcode code = msg->data.result;
            if (code != CURLE_OK) {
                if (a->aborted) {
                    r.error = NetError{NetError::Code::Other, r.status, "stopped by the receiver"};
                } else {
                    r.error = errorFor(code, a->errorBuffer);
                }
                r.error->httpStatus = r.status;
            }
            uint64_t id = a->id;
            finish(*a, std::move(r));
            active.erase(id);
        }
        curl_multi_poll(multi, nullptr, 0, 1000, nullptr);
    }
}
