#include "service/CatalogueServer.h"

#include "service/CatalogueStore.h"
#include "service/VersionOrder.h"

#include <httplib.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>
#include <sstream>
#include <thread>

namespace chimora::service {

namespace {

constexpr int32_t kMaxPageSize = 100;
// Online parameters may name the service itself without knowing where it will listen.
constexpr std::string_view kBasePlaceholder = "{{base}}";

std::string jsonString(std::string_view s) {
    std::string out = "\"";
    for (char c : s) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
                out += buf;
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

std::string jsonNumber(double v) {
    char buf[32];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    if (ec != std::errc())
        return "0";
    return std::string(buf, end);
}

void replyJson(httplib::Response& res, int status, const std::string& body) {
    res.status = status;
    res.set_content(body, "application/json");
}

void replyError(httplib::Response& res, int status, std::string_view message) {
    replyJson(res, status, "{\"error\":" + jsonString(message) + "}");
}

// A whole decimal number in int32 range; anything else (empty, signs alone, trailing text,
// overflow) is refused.
std::optional<int32_t> parseInt(const std::string& s) {
    int32_t v = 0;
    auto first = s.data(), last = s.data() + s.size();
    if (first != last && *first == '+')
        return std::nullopt;
    auto [end, ec] = std::from_chars(first, last, v);
    if (s.empty() || ec != std::errc() || end != last)
        return std::nullopt;
    return v;
}

// The integer parameter `name`, or an explanation of what is wrong with it.
std::optional<int32_t> intParam(const httplib::Request& req, const char* name, std::string& error) {
    if (!req.has_param(name)) {
        error = std::string("missing parameter ") + name;
        return std::nullopt;
    }
    auto v = parseInt(req.get_param_value(name));
    if (!v)
        error = std::string("parameter ") + name + " is not an integer";
    return v;
}

std::optional<std::string> readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return std::nullopt;
    return data;
}

// Parses a single "bytes=" range against a body of `size` bytes. Answers nullopt when the
// range cannot be satisfied; multiple ranges are not offered, so they read as "whole body".
struct ByteRange {
    std::size_t first = 0, last = 0;
    bool whole = true;
};
std::optional<ByteRange> parseRange(const std::string& header, std::size_t size) {
    ByteRange whole;
    const std::string prefix = "bytes=";
    if (header.compare(0, prefix.size(), prefix) != 0)
        return whole;
    std::string byteSet = header.substr(prefix.size());
    if (byteSet.find(',') != std::string::npos)
        return whole;
    auto dash = byteSet.find('-');
    if (dash == std::string::npos)
        return std::nullopt;
    auto number = [](std::string_view s) -> std::optional<unsigned long long> {
        unsigned long long v = 0;
        auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
        if (s.empty() || ec != std::errc() || end != s.data() + s.size())
            return std::nullopt;
        return v;
    };
    std::string_view a(byteSet.data(), dash),
        b(byteSet.data() + dash + 1, byteSet.size() - dash - 1);
    ByteRange r;
    r.whole = false;
    if (a.empty()) {
        auto n = number(b);
        if (!n || *n == 0 || size == 0)
            return std::nullopt;
        r.first = *n >= size ? 0 : size - static_cast<std::size_t>(*n);
        r.last = size - 1;
        return r;
    }
    auto from = number(a);
    if (!from || *from >= size)
        return std::nullopt;
    r.first = static_cast<std::size_t>(*from);
    if (b.empty()) {
        r.last = size - 1;
        return r;
    }
    auto to = number(b);
    if (!to || *to < *from)
        return std::nullopt;
    r.last = *to >= size ? size - 1 : static_cast<std::size_t>(*to);
    return r;
}

// "12.caf" with the expected extension → 12.
std::optional<int32_t> idFromFileName(const std::string& name, std::string_view ext) {
    if (name.size() <= ext.size() || name.compare(name.size() - ext.size(), ext.size(), ext) != 0)
        return std::nullopt;
    auto id = parseInt(name.substr(0, name.size() - ext.size()));
    if (!id || *id <= 0)
        return std::nullopt;
    return id;
}

std::string replaceAll(std::string s, std::string_view from, std::string_view to) {
    for (auto pos = s.find(from); pos != std::string::npos; pos = s.find(from, pos + to.size()))
        s.replace(pos, from.size(), to);
    return s;
}

const char* const kAboutPage = R"html(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Chimora</title>
<style>
body { font-family: sans-serif; margin: 16px; color: #222; background: #fafafa; }
h1 { color: #58a230; font-size: 22px; }
p { line-height: 1.5; }
.zh { color: #555; }
</style>
</head>
<body>
<h1>Chimora</h1>
<p>Chimora is a small catalogue of message tones. Browse the newest and most popular tones,
pick one from five categories, listen to it and make it the sound of your incoming
messages.</p>
<p>Every tone in the catalogue is short, light and free. New tones arrive every week.</p>
<p class="zh">Chimora 是一个小巧的消息提示音目录：浏览最新、最热门的提示音，试听后一键设为新消息的声音。</p>
<p><a href="bbs/">Forum</a></p>
</body>
</html>
)html";

const char* const kForumPage = R"html(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Chimora forum</title>
<style>
body { font-family: sans-serif; margin: 16px; color: #222; }
h1 { font-size: 20px; }
li { margin: 8px 0; }
</style>
</head>
<body>
<h1>Chimora forum</h1>
<p>Share your favourite tones, ask for new ones and tell us what to improve.</p>
<ul>
<li>Welcome! Read this first — 欢迎新朋友</li>
<li>Which tone do you use for family chats?</li>
<li>Requests: more short chimes for the Classic category</li>
<li>提示音太长了怎么办？</li>
</ul>
</body>
</html>
)html";

} // namespace

class CatalogueServer::Impl {
public:
    explicit Impl(Options o) : options(std::move(o)), filesDir(filesDirFor(options)) {}

    bool start() {
        if (thread.joinable()) {
            error = "already started";
            return false;
        }
        try {
            store = std::make_unique<CatalogueStore>(options.dbPath);
        } catch (const std::exception& e) {
            error = e.what();
            return false;
        }
        routes();
        // The library's default shares the port with any other listener (SO_REUSEPORT), so a
        // second service on a busy port would silently split the traffic; refuse instead.
        server.set_socket_options([](socket_t sock) {
            int yes = 1;
            setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        });
        if (options.port == 0) {
            boundPort = server.bind_to_any_port(options.host);
            if (boundPort < 0) {
                error = "cannot bind to " + options.host;
                return false;
            }
        } else {
            if (!server.bind_to_port(options.host, options.port)) {
                error = "cannot bind to " + options.host + ":" + std::to_string(options.port);
                return false;
            }
            boundPort = options.port;
        }
        thread = std::thread([this] { server.listen_after_bind(); });
        // No readiness callback in this httplib: poll until its loop runs.
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!server.is_running() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (!server.is_running()) {
            stop();
            error = "server did not start";
            return false;
        }
        return true;
    }

    void stop() {
        server.stop();
        if (thread.joinable())
            thread.join();
    }

    std::string baseURL() const {
        if (!options.publicUrl.empty()) {
            std::string url = options.publicUrl;
            if (url.back() != '/')
                url += '/';
            return url;
        }
        std::string host = options.host;
        if (host == "0.0.0.0" || host.empty())
            host = "127.0.0.1";
        else if (host == "::")
            host = "[::1]";
        else if (host.find(':') != std::string::npos && host.front() != '[')
            host = "[" + host + "]";
        return "http://" + host + ":" + std::to_string(boundPort) + "/";
    }

    // Wraps a handler so that no failure leaves the worker thread.
    template <class Fn> httplib::Server::Handler guarded(Fn fn) {
        return [fn](const httplib::Request& req, httplib::Response& res) {
            // Only file replies honour ranges (sendBytes answers them itself); a range on a
            // JSON reply is ignored rather than cutting the document. The request object is
            // the library's own mutable one, handed to us as const.
            const_cast<httplib::Request&>(req).ranges.clear();
            try {
                fn(req, res);
            } catch (const StoreError& e) {
                replyError(res, 500, e.what());
            } catch (const std::exception& e) {
                replyError(res, 500, std::string("internal error: ") + e.what());
            }
        };
    }

    void routes() {
        server.Get("/api/get_tones.php",
                   guarded([this](auto& req, auto& res) { tones(req, res); }));
        server.Get("/api/inc_fm_downloads.php",
                   guarded([this](auto& req, auto& res) { report(req, res); }));
        server.Get(R"(/files/([^/]+))", guarded([this](auto& req, auto& res) { file(req, res); }));
        server.Get(R"(/icons/([^/]+))", guarded([this](auto& req, auto& res) { icon(req, res); }));
        server.Get("/report/online_config.json",
                   guarded([this](auto& req, auto& res) { onlineConfig(req, res); }));
        server.Get("/report/check_update.json",
                   guarded([this](auto& req, auto& res) { checkUpdate(req, res); }));
        server.Get("/", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(kAboutPage, "text/html; charset=utf-8");
        });
        server.Get("/bbs/", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(kForumPage, "text/html; charset=utf-8");
        });
        server.Get("/bbs", [](const httplib::Request&, httplib::Response& res) {
            res.set_redirect("/bbs/", 301);
        });
        server.set_exception_handler(
            [](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
                replyError(res, 500, "internal error");
            });
        // Replies that carry no body of their own (unknown paths, refused ranges) still get a
        // JSON explanation.
        server.set_error_handler(httplib::Server::HandlerWithResponse(
            [](const httplib::Request&, httplib::Response& res) {
                if (!res.body.empty())
                    return httplib::Server::HandlerResponse::Unhandled;
                replyError(res, res.status,
                           res.status == 404   ? "not found"
                           : res.status == 416 ? "range not satisfiable"
                                               : "request failed");
                return httplib::Server::HandlerResponse::Handled;
            }));
    }

    void tones(const httplib::Request& req, httplib::Response& res) {
        std::string err;
        auto pageIndex = intParam(req, "pageIndex", err);
        auto pageSize = pageIndex ? intParam(req, "pageSize", err) : std::nullopt;
        auto type = pageSize ? intParam(req, "type", err) : std::nullopt;
        if (!type)
            return replyError(res, 400, err);
        if (*pageIndex < 0)
            return replyError(res, 400, "pageIndex must not be negative");
        if (*pageSize < 1 || *pageSize > kMaxPageSize)
            return replyError(res, 400, "pageSize must be between 1 and 100");
        if (!CatalogueStore::isListType(*type))
            return replyError(res, 400, "unknown type");
        auto page = store->page(*type, *pageIndex, *pageSize);
        std::string base = baseFor(req);
        std::string out = "{\"hasMore\":";
        out += page.hasMore ? "true" : "false";
        out += ",\"updateTime\":" + std::to_string(page.updateTime) + ",\"items\":[";
        bool first = true;
        for (const auto& t : page.items) {
            if (!first)
                out += ',';
            first = false;
            std::string id = std::to_string(t.id);
            out += "{\"id\":" + id;
            out += ",\"name\":" + jsonString(t.name);
            out += ",\"iconURL\":" + jsonString(base + "icons/" + id + ".png");
            out += ",\"duration\":" + std::to_string(t.duration);
            out += ",\"size\":" + jsonNumber(t.size);
            out += ",\"numberDownloads\":" + std::to_string(t.downloads);
            out += ",\"downloadURL\":" + jsonString(base + "files/" + id + ".caf");
            out += ",\"time\":" + std::to_string(t.time) + "}";
        }
        out += "]}";
        replyJson(res, 200, out);
    }

    void report(const httplib::Request& req, httplib::Response& res) {
        std::string err;
        auto id = intParam(req, "fmId", err);
        if (!id)
            return replyError(res, 400, err);
        if (!store->incrementDownloads(*id))
            return replyError(res, 404, "no tone " + std::to_string(*id));
        auto t = store->tone(*id);
        replyJson(res, 200,
                  "{\"ok\":true,\"id\":" + std::to_string(*id) +
                      ",\"numberDownloads\":" + std::to_string(t ? t->downloads : 0) + "}");
    }

    void file(const httplib::Request& req, httplib::Response& res) {
        auto id = idFromFileName(req.matches[1], ".caf");
        auto t = id ? store->tone(*id) : std::nullopt;
        if (!t)
            return replyError(res, 404, "no such tone file");
        auto data = readFile(filesDir / t->file);
        if (!data)
            return replyError(res, 404, "tone file missing");
        sendBytes(req, res, std::move(*data), "audio/x-caf");
    }

    void icon(const httplib::Request& req, httplib::Response& res) {
        std::string name = req.matches[1];
        std::optional<std::string> data;
        if (name == "app.png") {
            data = readFile(filesDir / "app.png");
        } else if (auto id = idFromFileName(name, ".png")) {
            if (auto t = store->tone(*id); t && !t->icon.empty())
                data = readFile(filesDir / t->icon);
        }
        if (!data)
            return replyError(res, 404, "no such icon");
        sendBytes(req, res, std::move(*data), "image/png");
    }

    void sendBytes(const httplib::Request& req, httplib::Response& res, std::string data,
                   const char* type) {
        res.set_header("Accept-Ranges", "bytes");
        // The library's own range handling reports wrong bounds for ranges reaching past the
        // end, so ranges are answered here from the header (its parsed copy was dropped).
        if (!req.has_header("Range")) {
            res.status = 200;
            return res.set_content(std::move(data), type);
        }
        auto range = parseRange(req.get_header_value("Range"), data.size());
        if (!range) {
            res.status = 416;
            res.set_header("Content-Range", "bytes */" + std::to_string(data.size()));
            return res.set_content("{\"error\":\"range not satisfiable\"}", "application/json");
        }
        if (range->whole) {
            res.status = 200;
            return res.set_content(std::move(data), type);
        }
        res.status = 206;
        res.set_header("Content-Range", "bytes " + std::to_string(range->first) + "-" +
                                            std::to_string(range->last) + "/" +
                                            std::to_string(data.size()));
        res.set_content(data.substr(range->first, range->last - range->first + 1), type);
    }

    void onlineConfig(const httplib::Request& req, httplib::Response& res) {
        std::string base = baseFor(req);
        std::string out = "{";
        bool first = true;
        for (const auto& [key, value] : store->allConfig()) {
            if (!first)
                out += ',';
            first = false;
            out += jsonString(key) + ":" + jsonString(replaceAll(value, kBasePlaceholder, base));
        }
        out += "}";
        replyJson(res, 200, out);
    }

    void checkUpdate(const httplib::Request& req, httplib::Response& res) {
        if (!req.has_param("version"))
            return replyError(res, 400, "missing parameter version");
        std::string current = req.get_param_value("version");
        auto latest = store->latestRelease();
        if (!latest)
            return replyJson(res, 200, "{\"update\":false}");
        bool newer = VersionOrder::compare(latest->version, current) > 0;
        std::string base = baseFor(req);
        replyJson(res, 200,
                  std::string("{\"update\":") + (newer ? "true" : "false") + ",\"version\":" +
                      jsonString(latest->version) + ",\"update_log\":" + jsonString(latest->log) +
                      ",\"path\":" + jsonString(replaceAll(latest->path, kBasePlaceholder, base)) +
                      "}");
    }

    // Replies name the service by its public address; a wildcard listener uses the address
    // the client reached it by.
    std::string baseFor(const httplib::Request& req) const {
        if (options.publicUrl.empty() && (options.host == "0.0.0.0" || options.host == "::") &&
            req.has_header("Host"))
            return "http://" + req.get_header_value("Host") + "/";
        return baseURL();
    }

    Options options;
    std::filesystem::path filesDir;
    std::unique_ptr<CatalogueStore> store;
    httplib::Server server;
    std::thread thread;
    int boundPort = -1;
    std::string error;
};

CatalogueServer::CatalogueServer(Options options)
    : impl_(std::make_unique<Impl>(std::move(options))) {}

CatalogueServer::~CatalogueServer() {
    impl_->stop();
}

bool CatalogueServer::start() {
    return impl_->start();
}
void CatalogueServer::stop() {
    impl_->stop();
}
bool CatalogueServer::isRunning() const {
    return impl_->server.is_running();
}
int CatalogueServer::port() const {
    return impl_->boundPort;
}
std::string CatalogueServer::baseURL() const {
    return impl_->baseURL();
}
const std::string& CatalogueServer::lastError() const {
    return impl_->error;
}

std::filesystem::path CatalogueServer::filesDirFor(const Options& options) {
    if (!options.filesDir.empty())
        return options.filesDir;
    auto parent = options.dbPath.parent_path();
    return (parent.empty() ? std::filesystem::path(".") : parent) / "files";
}

} // namespace chimora::service
