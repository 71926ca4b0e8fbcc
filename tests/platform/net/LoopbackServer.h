#pragma once
// A small HTTP server on 127.0.0.1 and a free port, for shaping replies in network tests.
// Handlers are registered on http() (include <httplib.h> in the test file) before start().
#include <atomic>
#include <memory>
#include <string>
#include <thread>

namespace httplib {
class Server;
struct Request;
struct Response;
} // namespace httplib

class LoopbackServer {
public:
    LoopbackServer();
    ~LoopbackServer();

    httplib::Server& http() { return *server_; }
    bool start();
    void stop();
    int port() const { return port_; }
    std::string url(const std::string& path) const;

    // Slow handlers wait here; stop() lets them go so the server can shut down at once.
    void holdUntilReleased(double maxSeconds);
    void release();

    // A port that was just bound and closed again: connecting to it is refused.
    static int closedPort();

private:
    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    int port_ = -1;
    struct Gate;
    std::unique_ptr<Gate> gate_;
};

// Serves `blob` as a file. With honourRanges a "Range: bytes=N-" is answered 206 from N
// (416 with "bytes */size" when N is at or past the end); without, the whole blob with 200.
// truncateAt >= 0 announces the full length but closes the connection after that many body
// bytes.
void serveBlob(const httplib::Request& req, httplib::Response& res, const std::string& blob,
               bool honourRanges, long truncateAt = -1);

// A deterministic blob of `size` bytes, different for each seed.
std::string makeBlob(size_t size, unsigned seed);
