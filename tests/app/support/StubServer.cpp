#include "tests/app/support/StubServer.h"

#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

struct StubServer::Impl {
    httplib::Server http;
    std::thread thread;
    int port = -1;
    std::map<std::string, Handler> handlers;

    mutable std::mutex mutex;
    std::condition_variable released;
    bool isReleased = false;
    std::vector<StubRequest> seen;

    void waitForRelease() {
        std::unique_lock lock(mutex);
        released.wait_for(lock, std::chrono::seconds(20), [this] { return isReleased; });
    }
};

StubServer::StubServer() : impl_(std::make_unique<Impl>()) {}

StubServer::~StubServer() {
    stop();
}

void StubServer::on(const std::string& path, Handler handler) {
    impl_->handlers[path] = std::move(handler);
}

bool StubServer::start() {
    Impl* impl = impl_.get();
    impl->http.set_keep_alive_timeout(0);
    impl->http.Get(".*", [impl](const httplib::Request& req, httplib::Response& res) {
        StubRequest request{req.target, req.path, req.get_header_value("Range")};
        // httplib would cut bodies to the range itself; replies here are shaped by hand.
        const_cast<httplib::Request&>(req).ranges.clear();
        Handler handler;
        {
            std::lock_guard lock(impl->mutex);
            impl->seen.push_back(request);
            auto it = impl->handlers.find(req.path);
            if (it != impl->handlers.end()) {
                handler = it->second;
            }
        }
        if (!handler) {
            res.status = 404;
            return;
        }
        StubReply reply = handler(request);
        res.status = reply.status;
        if (reply.holdAfter < 0) {
            res.set_content(reply.body, reply.contentType.c_str());
            return;
        }
        auto body = std::make_shared<std::string>(std::move(reply.body));
        const size_t cut = std::min(body->size(), static_cast<size_t>(reply.holdAfter));
        res.set_content_provider(body->size(), reply.contentType.c_str(),
                                 [impl, body, cut](size_t offset, size_t, httplib::DataSink& sink) {
                                     if (offset < cut) {
                                         sink.write(body->data() + offset, cut - offset);
                                         return true;
                                     }
                                     impl->waitForRelease();
                                     sink.write(body->data() + offset, body->size() - offset);
                                     return true;
                                 });
    });
    impl->port = impl->http.bind_to_any_port("127.0.0.1");
    if (impl->port <= 0) {
        return false;
    }
    impl->thread = std::thread([impl] { impl->http.listen_after_bind(); });
    for (int i = 0; i < 500 && !impl->http.is_running(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return impl->http.is_running();
}

void StubServer::stop() {
    release();
    if (impl_->thread.joinable()) {
        impl_->http.stop();
        impl_->thread.join();
    }
}

std::string StubServer::baseURL() const {
    return "http://127.0.0.1:" + std::to_string(impl_->port) + "/";
}

std::vector<StubRequest> StubServer::requests() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->seen;
}

size_t StubServer::countFor(const std::string& path) const {
    std::lock_guard lock(impl_->mutex);
    size_t n = 0;
    for (const auto& r : impl_->seen) {
        n += r.path == path ? 1 : 0;
    }
    return n;
}

void StubServer::release() {
    {
        std::lock_guard lock(impl_->mutex);
        impl_->isReleased = true;
    }
    impl_->released.notify_all();
}
