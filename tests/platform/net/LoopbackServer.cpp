#include "tests/platform/net/LoopbackServer.h"

#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

struct LoopbackServer::Gate {
    std::mutex mutex;
    std::condition_variable cv;
    bool released = false;
};

LoopbackServer::LoopbackServer()
    : server_(std::make_unique<httplib::Server>()), gate_(std::make_unique<Gate>()) {}

LoopbackServer::~LoopbackServer() {
    stop();
}

bool LoopbackServer::start() {
    // Idle keep-alive connections hold stop() for the keep-alive time, so keep it short; but
    // not zero, which would also close new connections whose request is a moment late.
    server_->set_keep_alive_timeout(1);
    port_ = server_->bind_to_any_port("127.0.0.1");
    if (port_ <= 0) {
        return false;
    }
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    for (int i = 0; i < 500 && !server_->is_running(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return server_->is_running();
}

void LoopbackServer::stop() {
    release();
    if (thread_.joinable()) {
        server_->stop();
        thread_.join();
    }
}

std::string LoopbackServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void LoopbackServer::holdUntilReleased(double maxSeconds) {
    std::unique_lock lock(gate_->mutex);
    gate_->cv.wait_for(lock, std::chrono::duration<double>(maxSeconds),
                       [&] { return gate_->released; });
}

void LoopbackServer::release() {
    {
        std::lock_guard lock(gate_->mutex);
        gate_->released = true;
    }
    gate_->cv.notify_all();
}

int LoopbackServer::closedPort() {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    socklen_t len = sizeof addr;
    int port = -1;
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0) {
        port = ntohs(addr.sin_port);
    }
    if (fd >= 0) {
        ::close(fd); // never listened: a connection is refused
    }
    return port;
}

void serveBlob(const httplib::Request& req, httplib::Response& res, const std::string& blob,
               bool honourRanges, long truncateAt) {
    // httplib would cut the body to the request's range by itself; these tests shape the
    // reply explicitly, so the parsed ranges are dropped.
    const_cast<httplib::Request&>(req).ranges.clear();
    size_t from = 0;
    std::string range = req.get_header_value("Range");
    unsigned long long start = 0;
    if (honourRanges && std::sscanf(range.c_str(), "bytes=%llu-", &start) == 1) {
        if (start >= blob.size()) {
            res.status = 416;
            res.set_header("Content-Range", "bytes */" + std::to_string(blob.size()));
            return;
        }
        from = start;
        res.status = 206;
        res.set_header("Content-Range", "bytes " + std::to_string(from) + "-" +
                                            std::to_string(blob.size() - 1) + "/" +
                                            std::to_string(blob.size()));
    } else {
        res.status = 200;
    }
    std::string body = blob.substr(from);
    if (truncateAt < 0) {
        res.set_content(body, "application/octet-stream");
        return;
    }
    size_t cut = std::min(body.size(), static_cast<size_t>(truncateAt));
    res.set_content_provider(body.size(), "application/octet-stream",
                             [body, cut](size_t offset, size_t, httplib::DataSink& sink) {
                                 if (offset < cut) {
                                     sink.write(body.data() + offset, cut - offset);
                                     return true;
                                 }
                                 return false; // hang up before the announced length
                             });
}

std::string makeBlob(size_t size, unsigned seed) {
    std::string blob(size, '\0');
    uint32_t x = 2463534242u ^ (seed * 2654435761u);
    for (auto& c : blob) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = static_cast<char>(x & 0xff);
    }
    return blob;
}
