#include "service/CatalogueStore.h"

#include "service/VersionOrder.h"

#include <sqlite3.h>

namespace chimora::service {

namespace {

const char* const kSchema = R"sql(
CREATE TABLE IF NOT EXISTS tones(
    id INTEGER PRIMARY KEY,
    name TEXT NOT NULL,
    type INTEGER NOT NULL CHECK(type BETWEEN 1 AND 5),
    icon TEXT NOT NULL DEFAULT '',
    duration INTEGER NOT NULL,
    size REAL NOT NULL,
    downloads INTEGER NOT NULL DEFAULT 0,
    time INTEGER NOT NULL,
    recommended INTEGER NOT NULL DEFAULT 0,
    file TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS config(key TEXT PRIMARY KEY, value TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS releases(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    version TEXT NOT NULL,
    path TEXT NOT NULL,
    log TEXT NOT NULL);
)sql";

const char* const kToneColumns =
    "id, name, type, icon, duration, size, downloads, time, recommended, file";

} // namespace

// A prepared statement bound to the store's connection; failures raise StoreError.
class CatalogueStore::Statement {
public:
    Statement(sqlite3* db, const std::string& sql) : db_(db) {
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt_, nullptr) != SQLITE_OK)
            fail("prepare");
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int index, int64_t value) {
        check(sqlite3_bind_int64(stmt_, index, value), "bind");
        return *this;
    }
    Statement& bind(int index, double value) {
        check(sqlite3_bind_double(stmt_, index, value), "bind");
        return *this;
    }
    Statement& bind(int index, const std::string& value) {
        check(sqlite3_bind_text(stmt_, index, value.data(), static_cast<int>(value.size()),
                                SQLITE_TRANSIENT),
              "bind");
        return *this;
    }
    // True while a row is available.
    bool step() {
        int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_ROW)
            return true;
        if (rc == SQLITE_DONE)
            return false;
        fail("step");
    }
    int64_t integer(int col) const { return sqlite3_column_int64(stmt_, col); }
    double real(int col) const { return sqlite3_column_double(stmt_, col); }
    std::string text(int col) const {
        auto p = sqlite3_column_text(stmt_, col);
        return p ? std::string(reinterpret_cast<const char*>(p),
                               static_cast<std::size_t>(sqlite3_column_bytes(stmt_, col)))
                 : std::string();
    }
    Tone tone() const {
        Tone t;
        t.id = static_cast<int32_t>(integer(0));
        t.name = text(1);
        t.type = static_cast<int32_t>(integer(2));
        t.icon = text(3);
        t.duration = static_cast<int32_t>(integer(4));
        t.size = real(5);
        t.downloads = static_cast<int32_t>(integer(6));
        t.time = integer(7);
        t.recommended = integer(8) != 0;
        t.file = text(9);
        return t;
    }

private:
    void check(int rc, const char* what) {
        if (rc != SQLITE_OK)
            fail(what);
    }
    [[noreturn]] void fail(const char* what) {
        throw StoreError(std::string("database ") + what + ": " + sqlite3_errmsg(db_));
    }

    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

bool CatalogueStore::isListType(int32_t type) {
    return type == kNewest || type == kMostDownloaded || type == kRecommended ||
           (type >= 1 && type <= 5);
}

CatalogueStore::CatalogueStore(const std::filesystem::path& dbPath) {
    int rc = sqlite3_open_v2(dbPath.c_str(), &db_,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                             nullptr);
    if (rc != SQLITE_OK) {
        std::string msg = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        db_ = nullptr;
        throw StoreError("cannot open " + dbPath.string() + ": " + msg);
    }
    // The operator's commands may write while the server is reading.
    sqlite3_busy_timeout(db_, 5000);
    char* err = nullptr;
    if (sqlite3_exec(db_, kSchema, nullptr, nullptr, &err) != SQLITE_OK) {
        std::string msg = err ? err : "unknown error";
        sqlite3_free(err);
        sqlite3_close(db_);
        db_ = nullptr;
        throw StoreError("cannot create schema in " + dbPath.string() + ": " + msg);
    }
}

CatalogueStore::~CatalogueStore() {
    sqlite3_close(db_);
}

void CatalogueStore::execLocked(const char* sql, bool check) {
    char* err = nullptr;
    int rc = sqlite3_exec(db_, sql, nullptr, nullptr, &err);
    std::string msg = err ? err : "";
    sqlite3_free(err);
    if (rc != SQLITE_OK && check)
        throw StoreError(std::string("database exec: ") + msg);
}

TonePage CatalogueStore::page(int32_t type, int64_t pageIndex, int32_t pageSize) {
    std::string where, order;
    switch (type) {
    case kNewest:
        where = "1";
        order = "time DESC, id DESC";
        break;
    case kMostDownloaded:
        where = "1";
        order = "downloads DESC, id ASC";
        break;
    case kRecommended:
        where = "recommended != 0";
        order = "time DESC, id DESC";
        break;
    default:
        where = "type = ?1";
        order = "time DESC, id DESC";
        break;
    }
    bool category = type >= 1;
    std::lock_guard lock(mutex_);
    TonePage result;
    Statement list(db_, std::string("SELECT ") + kToneColumns + " FROM tones WHERE " + where +
                            " ORDER BY " + order + " LIMIT ?2 OFFSET ?3");
    if (category)
        list.bind(1, int64_t{type});
    // One extra row tells whether another page follows.
    list.bind(2, int64_t{pageSize} + 1).bind(3, pageIndex * int64_t{pageSize});
    while (list.step())
        result.items.push_back(list.tone());
    if (result.items.size() > static_cast<std::size_t>(pageSize)) {
        result.items.pop_back();
        result.hasMore = true;
    }
    // The list was last updated when its newest tone arrived; an empty list falls back on
    // the catalogue's newest tone.
    Statement newest(db_, "SELECT MAX(time) FROM tones WHERE " + where);
    if (category)
        newest.bind(1, int64_t{type});
    if (newest.step())
        result.updateTime = newest.integer(0);
    if (result.updateTime == 0) {
        Statement any(db_, "SELECT MAX(time) FROM tones");
        if (any.step())
            result.updateTime = any.integer(0);
    }
    return result;
}

std::optional<Tone> CatalogueStore::tone(int32_t id) {
    std::lock_guard lock(mutex_);
    Statement s(db_, std::string("SELECT ") + kToneColumns + " FROM tones WHERE id = ?1");
    s.bind(1, int64_t{id});
    if (!s.step())
        return std::nullopt;
    return s.tone();
}

std::vector<Tone> CatalogueStore::allTones() {
    std::lock_guard lock(mutex_);
    Statement s(db_, std::string("SELECT ") + kToneColumns + " FROM tones ORDER BY id");
    std::vector<Tone> out;
    while (s.step())
        out.push_back(s.tone());
    return out;
}

bool CatalogueStore::incrementDownloads(int32_t id) {
    std::lock_guard lock(mutex_);
    Statement s(db_, "UPDATE tones SET downloads = downloads + 1 WHERE id = ?1 AND "
                     "downloads < 2147483647");
    s.bind(1, int64_t{id});
    s.step();
    if (sqlite3_changes(db_) > 0)
        return true;
    // A count already at its ceiling still names a tone.
    Statement exists(db_, "SELECT 1 FROM tones WHERE id = ?1");
    exists.bind(1, int64_t{id});
    return exists.step();
}

int32_t CatalogueStore::addTone(const Tone& t) {
    std::lock_guard lock(mutex_);
    int64_t id = t.id;
    if (id == 0) {
        Statement next(db_, "SELECT COALESCE(MAX(id), 0) + 1 FROM tones");
        next.step();
        id = next.integer(0);
        if (id > INT32_MAX)
            throw StoreError("no identifier left");
    }
    Statement s(db_, std::string("INSERT INTO tones(") + kToneColumns +
                         ") VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)");
    s.bind(1, id)
        .bind(2, t.name)
        .bind(3, int64_t{t.type})
        .bind(4, t.icon)
        .bind(5, int64_t{t.duration})
        .bind(6, t.size)
        .bind(7, int64_t{t.downloads})
        .bind(8, t.time)
        .bind(9, int64_t{t.recommended ? 1 : 0})
        .bind(10, t.file);
    s.step();
    return static_cast<int32_t>(id);
}

void CatalogueStore::removeAllTones() {
    std::lock_guard lock(mutex_);
    Statement s(db_, "DELETE FROM tones");
    s.step();
}

void CatalogueStore::setConfig(const std::string& key, const std::string& value) {
    std::lock_guard lock(mutex_);
    Statement s(db_, "INSERT INTO config(key, value) VALUES(?1, ?2) "
                     "ON CONFLICT(key) DO UPDATE SET value = excluded.value");
    s.bind(1, key).bind(2, value);
    s.step();
}

std::optional<std::string> CatalogueStore::config(const std::string& key) {
    std::lock_guard lock(mutex_);
    Statement s(db_, "SELECT value FROM config WHERE key = ?1");
    s.bind(1, key);
    if (!s.step())
        return std::nullopt;
    return s.text(0);
}

std::vector<std::pair<std::string, std::string>> CatalogueStore::allConfig() {
    std::lock_guard lock(mutex_);
    Statement s(db_, "SELECT key, value FROM config ORDER BY key");
    std::vector<std::pair<std::string, std::string>> out;
    while (s.step())
        out.emplace_back(s.text(0), s.text(1));
    return out;
}

void CatalogueStore::addRelease(const Release& r) {
    std::lock_guard lock(mutex_);
    Statement s(db_, "INSERT INTO releases(version, path, log) VALUES(?1, ?2, ?3)");
    s.bind(1, r.version).bind(2, r.path).bind(3, r.log);
    s.step();
}

std::optional<Release> CatalogueStore::latestRelease() {
    std::lock_guard lock(mutex_);
    Statement s(db_, "SELECT version, path, log FROM releases ORDER BY id");
    std::optional<Release> best;
    while (s.step()) {
        Release r{s.text(0), s.text(1), s.text(2)};
        if (!best || VersionOrder::compare(r.version, best->version) >= 0)
            best = std::move(r);
    }
    return best;
}

} // namespace chimora::service
