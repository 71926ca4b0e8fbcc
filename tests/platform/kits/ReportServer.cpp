#include "tests/platform/kits/ReportServer.h"

#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

struct ReportServer::Impl {
    httplib::Server http;
    std::thread thread;
    int port = -1;

    mutable std::mutex mutex;
    std::condition_variable cv;
    int configStatus = 200;
    std::string configBody = "{}";
    std::string updateBody = R"({"update":false})";
    bool held = false;
    int configRequests = 0;
    std::vector<std::string> versions;
};

ReportServer::ReportServer() : impl_(std::make_unique<Impl>()) {
    auto* d = impl_.get();
    d->http.Get("/report/online_config.json", [d](const httplib::Request&, httplib::Response& res) {
        std::unique_lock lock(d->mutex);
        ++d->configRequests;
        d->cv.notify_all();
        d->cv.wait_for(lock, std::chrono::seconds(20), [d] { return !d->held; });
        res.status = d->configStatus;
        res.set_content(d->configBody, "application/json");
    });
    d->http.Get("/report/check_update.json", [d](const httplib::Request& req,
                                                 httplib::Response& res) {
        std::lock_guard lock(d->mutex);
        d->versions.push_back(req.has_param("version") ? req.get_param_value("version") : "(none)");
        res.set_content(d->updateBody, "application/json");
    });
}

ReportServer::~ReportServer() {
    stop();
}

bool ReportServer::start() {
    impl_->http.set_keep_alive_timeout(1);
    impl_->port = impl_->http.bind_to_any_port("127.0.0.1");
    if (impl_->port <= 0) {
        return false;
    }
    impl_->thread = std::thread([this] { impl_->http.listen_after_bind(); });
    for (int i = 0; i < 500 && !impl_->http.is_running(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return impl_->http.is_running();
}

void ReportServer::stop() {
    release();
    if (impl_->thread.joinable()) {
        impl_->http.stop();
        impl_->thread.join();
    }
}

std::string ReportServer::reportURL() const {
    return "http://127.0.0.1:" + std::to_string(impl_->port) + "/report/";
}

void ReportServer::setConfigReply(int status, std::string body) {
    std::lock_guard lock(impl_->mutex);
    impl_->configStatus = status;
    impl_->configBody = std::move(body);
}

void ReportServer::setUpdateReply(std::string body) {
    std::lock_guard lock(impl_->mutex);
    impl_->updateBody = std::move(body);
}

void ReportServer::hold() {
    std::lock_guard lock(impl_->mutex);
    impl_->held = true;
}

void ReportServer::release() {
    std::lock_guard lock(impl_->mutex);
    impl_->held = false;
    impl_->cv.notify_all();
}

int ReportServer::configRequests() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->configRequests;
}

std::vector<std::string> ReportServer::updateVersions() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->versions;
}
