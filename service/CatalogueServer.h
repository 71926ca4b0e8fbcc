#pragma once

#include <filesystem>
#include <memory>
#include <string>

namespace chimora::service {

// The catalogue web service: the paged tone lists, download reports, tone files and icons,
// the usage-report parameters and update check, and the maker's pages. It serves on a
// thread of its own so that tests can run it inside their process.
class CatalogueServer {
public:
    struct Options {
        std::filesystem::path dbPath;
        std::string host = "127.0.0.1";
        int port = 0;          // 0 picks a free port
        std::string publicUrl; // the base of the URLs in replies; empty: the listening address
        std::filesystem::path filesDir; // empty: "files" next to the database
    };

    explicit CatalogueServer(Options options);
    ~CatalogueServer();
    CatalogueServer(const CatalogueServer&) = delete;
    CatalogueServer& operator=(const CatalogueServer&) = delete;

    // Opens the database, binds and starts serving; false (with lastError()) on failure.
    bool start();
    // Stops serving and waits for the serving thread; safe to call more than once.
    void stop();
    bool isRunning() const;
    int port() const;
    // The base of every URL the service hands out, ending in "/".
    std::string baseURL() const;
    const std::string& lastError() const;

    // The files folder the options resolve to.
    static std::filesystem::path filesDirFor(const Options& options);

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace chimora::service
