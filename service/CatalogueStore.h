#pragma once

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

struct sqlite3;

namespace chimora::service {

// Raised for every database failure; the server turns it into a 500 reply.
class StoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Tone {
    int32_t id = 0;        // 0 when adding: the store picks the next free identifier
    std::string name;      // file name shown to users, ends in ".caf"
    int32_t type = 1;      // category 1..5
    std::string icon;      // icon file name inside the files folder, empty for none
    int32_t duration = 0;  // whole seconds
    double size = 0;       // kilobytes
    int32_t downloads = 0; // number of reported downloads
    int64_t time = 0;      // seconds since 1970 UTC
    bool recommended = false;
    std::string file; // tone file name inside the files folder
};

struct Release {
    std::string version;
    std::string path;
    std::string log;
};

struct TonePage {
    std::vector<Tone> items;
    bool hasMore = false;
    int64_t updateTime = 0;
};

// The catalogue database. Every call is serialised on one connection, so the store can be
// shared by the server's worker threads.
class CatalogueStore {
public:
    // The list types a page can be asked for.
    static constexpr int32_t kNewest = 0;
    static constexpr int32_t kMostDownloaded = -2;
    static constexpr int32_t kRecommended = -3;
    static bool isListType(int32_t type);

    explicit CatalogueStore(const std::filesystem::path& dbPath);
    ~CatalogueStore();
    CatalogueStore(const CatalogueStore&) = delete;
    CatalogueStore& operator=(const CatalogueStore&) = delete;

    TonePage page(int32_t type, int64_t pageIndex, int32_t pageSize);
    std::optional<Tone> tone(int32_t id);
    std::vector<Tone> allTones(); // by identifier
    // False when no tone has this identifier.
    bool incrementDownloads(int32_t id);
    // Answers the identifier the tone was stored under.
    int32_t addTone(const Tone& tone);
    void removeAllTones();

    void setConfig(const std::string& key, const std::string& value);
    std::optional<std::string> config(const std::string& key);
    std::vector<std::pair<std::string, std::string>> allConfig(); // by key

    void addRelease(const Release& release);
    // The release with the greatest version; the later one among equal versions.
    std::optional<Release> latestRelease();

    // Runs fn inside one transaction; rolls back when fn throws.
    template <class Fn> void transaction(Fn&& fn) {
        std::lock_guard lock(mutex_);
        execLocked("BEGIN IMMEDIATE");
        try {
            fn();
            execLocked("COMMIT");
        } catch (...) {
            execLocked("ROLLBACK", false);
            throw;
        }
    }

private:
    class Statement;
    void execLocked(const char* sql, bool check = true);

    sqlite3* db_ = nullptr;
    std::recursive_mutex mutex_;
};

} // namespace chimora::service
