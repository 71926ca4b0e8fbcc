#pragma once
// A small HTTP server on 127.0.0.1 for shaping replies the catalogue service never sends:
// odd JSON, error statuses, downloads that stop half-way until released. Every request is
// recorded. Handlers run on the server's threads.
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct StubRequest {
    std::string target; // as sent, still escaped: "/a%20b.caf?x=1"
    std::string path;   // decoded, without the query
    std::string range;  // the Range header, empty when none
};

struct StubReply {
    int status = 200;
    std::string contentType = "application/json";
    std::string body;
    // When >= 0: send this many bytes of the body, then wait for release() before the rest.
    long holdAfter = -1;
};

class StubServer {
public:
    using Handler = std::function<StubReply(const StubRequest&)>;

    StubServer();
    ~StubServer();
    StubServer(const StubServer&) = delete;
    StubServer& operator=(const StubServer&) = delete;

    // Register before start(). A path without a handler answers 404.
    void on(const std::string& path, Handler handler);
    bool start();
    void stop();
    // "http://127.0.0.1:PORT/"
    std::string baseURL() const;

    std::vector<StubRequest> requests() const;
    size_t countFor(const std::string& path) const;

    // Lets held replies go on (and every later one pass without waiting).
    void release();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
