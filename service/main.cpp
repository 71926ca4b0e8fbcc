// chimora-catalogue: the reference catalogue service and its operator commands.

#include "service/CatalogueSeeder.h"
#include "service/CatalogueServer.h"
#include "service/CatalogueStore.h"
#include "service/IconPainter.h"
#include "service/ToneFile.h"

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace chimora::service;

namespace {

const char* const kUsage = R"(usage: chimora-catalogue <command> [options]

commands:
  serve      serve the catalogue over HTTP
  seed       replace the catalogue with demo tones
  add        import a tone file
  config     set an online parameter
  release    announce a new version of the app

Run "chimora-catalogue <command> --help" for a command's options.
)";

const char* const kServeHelp =
    R"(usage: chimora-catalogue serve [--port N] [--host ADDR] [--db FILE]
                               [--public-url URL] [--files DIR]

Serves the catalogue until interrupted (SIGINT or SIGTERM).
  --port N          port to listen on (default 8642; 0 picks a free one)
  --host ADDR       address to listen on (default 127.0.0.1)
  --db FILE         catalogue database (default $XDG_DATA_HOME/chimora/catalogue/catalogue.db)
  --public-url URL  base of the URLs in replies (default: the listening address)
  --files DIR       folder of tone files and icons (default: "files" next to the database)
)";

const char* const kSeedHelp = R"(usage: chimora-catalogue seed [--count N] [--seed S] [--db FILE]
                              [--files DIR] [--time T]

Replaces every tone of the catalogue with N synthesized demo tones and drawn icons, and sets
the online parameters. The same seed always gives the same catalogue.
  --count N   number of tones (default 60)
  --seed S    seed of the generator (default 1)
  --time T    newest possible tone time, seconds since 1970 (default 1735689600)
  --db FILE   catalogue database
  --files DIR folder of tone files and icons
)";

const char* const kAddHelp =
    R"(usage: chimora-catalogue add FILE.caf --type N [--name NAME] [--icon PNG]
                             [--recommended] [--db FILE] [--files DIR]

Imports a Core Audio Format tone into category N (1 Boys', 2 Girls', 3 Classic, 4 Funny,
5 iPhone). The name defaults to the file's name and always ends in ".caf"; without an icon
one is drawn.
)";

const char* const kConfigHelp = R"(usage: chimora-catalogue config set KEY VALUE [--db FILE]

Sets an online parameter served by report/online_config.json. "{{base}}" in a value stands
for the service's own base URL, e.g. "{{base}}bbs/".
)";

const char* const kReleaseHelp =
    R"(usage: chimora-catalogue release VERSION PATH --log TEXT [--db FILE]

Announces a version of the app: report/check_update.json offers the greatest announced
version to apps whose version is older. PATH is the address the app opens to update.
)";

struct Args {
    std::vector<std::string> positional;
    std::map<std::string, std::string> values;
    std::map<std::string, bool> flags;
    std::string error;
};

// Splits options of the form "--name value" and "--flag" from positional arguments.
Args parseArgs(int argc, char** argv, int from, const std::vector<std::string>& valued,
               const std::vector<std::string>& flagNames) {
    Args a;
    for (int i = from; i < argc; ++i) {
        std::string s = argv[i];
        if (s.rfind("--", 0) == 0 && s.size() > 2) {
            std::string name = s.substr(2);
            if (std::find(valued.begin(), valued.end(), name) != valued.end()) {
                if (i + 1 >= argc) {
                    a.error = "option " + s + " needs a value";
                    return a;
                }
                a.values[name] = argv[++i];
            } else if (std::find(flagNames.begin(), flagNames.end(), name) != flagNames.end()) {
                a.flags[name] = true;
            } else {
                a.error = "unknown option " + s;
                return a;
            }
        } else {
            a.positional.push_back(s);
        }
    }
    return a;
}

fs::path defaultDbPath() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    fs::path base;
    if (xdg && *xdg) {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = fs::path(home && *home ? home : ".") / ".local" / "share";
    }
    return base / "chimora" / "catalogue" / "catalogue.db";
}

fs::path dbPathFrom(const Args& a) {
    auto it = a.values.find("db");
    return it != a.values.end() ? fs::path(it->second) : defaultDbPath();
}

fs::path filesDirFrom(const Args& a) {
    CatalogueServer::Options o;
    o.dbPath = dbPathFrom(a);
    if (auto it = a.values.find("files"); it != a.values.end())
        o.filesDir = it->second;
    return CatalogueServer::filesDirFor(o);
}

// The database's folder must exist before SQLite can create the file.
std::unique_ptr<CatalogueStore> openStore(const fs::path& db) {
    std::error_code ec;
    if (db.has_parent_path())
        fs::create_directories(db.parent_path(), ec);
    return std::make_unique<CatalogueStore>(db);
}

std::optional<long long> parseNumber(const std::string& s) {
    try {
        std::size_t used = 0;
        long long v = std::stoll(s, &used);
        if (used != s.size())
            return std::nullopt;
        return v;
    } catch (...) {
        return std::nullopt;
    }
}

bool wantsHelp(int argc, char** argv) {
    for (int i = 2; i < argc; ++i) {
        std::string s = argv[i];
        if (s == "--help" || s == "-h")
            return true;
    }
    return false;
}

int fail(const std::string& message, const char* help) {
    std::cerr << "chimora-catalogue: " << message << "\n";
    if (help)
        std::cerr << help;
    return 2;
}

int serve(int argc, char** argv) {
    if (wantsHelp(argc, argv))
        return std::cout << kServeHelp, 0;
    auto a = parseArgs(argc, argv, 2, {"port", "host", "db", "public-url", "files"}, {});
    if (!a.error.empty() || !a.positional.empty())
        return fail(a.error.empty() ? "unexpected argument " + a.positional[0] : a.error,
                    kServeHelp);
    CatalogueServer::Options o;
    o.dbPath = dbPathFrom(a);
    o.filesDir = filesDirFrom(a);
    o.port = 8642;
    if (auto it = a.values.find("port"); it != a.values.end()) {
        auto p = parseNumber(it->second);
        if (!p || *p < 0 || *p > 65535)
            return fail("bad port " + it->second, kServeHelp);
        o.port = static_cast<int>(*p);
    }
    if (auto it = a.values.find("host"); it != a.values.end())
        o.host = it->second;
    if (auto it = a.values.find("public-url"); it != a.values.end())
        o.publicUrl = it->second;
    std::error_code ec;
    fs::create_directories(o.dbPath.parent_path().empty() ? "." : o.dbPath.parent_path(), ec);

    // Signals are taken synchronously below; block them before any thread starts.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    CatalogueServer server(o);
    if (!server.start())
        return std::cerr << "chimora-catalogue: " << server.lastError() << "\n", 1;
    std::string host = o.host.find(':') != std::string::npos ? "[" + o.host + "]" : o.host;
    std::cout << "listening on http://" << host << ":" << server.port() << "/" << std::endl;
    int sig = 0;
    sigwait(&signals, &sig);
    server.stop();
    return 0;
}

int seed(int argc, char** argv) {
    if (wantsHelp(argc, argv))
        return std::cout << kSeedHelp, 0;
    auto a = parseArgs(argc, argv, 2, {"count", "seed", "db", "files", "time"}, {});
    if (!a.error.empty() || !a.positional.empty())
        return fail(a.error.empty() ? "unexpected argument " + a.positional[0] : a.error,
                    kSeedHelp);
    CatalogueSeeder::Options o;
    if (auto it = a.values.find("count"); it != a.values.end()) {
        auto n = parseNumber(it->second);
        if (!n || *n < 0 || *n > 100000)
            return fail("bad count " + it->second, kSeedHelp);
        o.count = static_cast<int>(*n);
    }
    if (auto it = a.values.find("seed"); it != a.values.end()) {
        auto n = parseNumber(it->second);
        if (!n)
            return fail("bad seed " + it->second, kSeedHelp);
        o.seed = static_cast<uint64_t>(*n);
    }
    if (auto it = a.values.find("time"); it != a.values.end()) {
        auto n = parseNumber(it->second);
        if (!n || *n <= 0)
            return fail("bad time " + it->second, kSeedHelp);
        o.latestTime = *n;
    }
    auto store = openStore(dbPathFrom(a));
    CatalogueSeeder::seed(*store, filesDirFrom(a), o);
    std::cout << "seeded " << o.count << " tones into " << dbPathFrom(a).string() << "\n";
    return 0;
}

bool copyFile(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
    return !ec;
}

bool looksLikePng(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    char sig[8] = {};
    in.read(sig, 8);
    return in && std::string(sig, 8) == "\x89PNG\r\n\x1a\n";
}

int add(int argc, char** argv) {
    if (wantsHelp(argc, argv))
        return std::cout << kAddHelp, 0;
    auto a = parseArgs(argc, argv, 2, {"type", "name", "icon", "db", "files"}, {"recommended"});
    if (!a.error.empty())
        return fail(a.error, kAddHelp);
    if (a.positional.size() != 1)
        return fail("expected one tone file", kAddHelp);
    fs::path source = a.positional[0];
    auto typeIt = a.values.find("type");
    if (typeIt == a.values.end())
        return fail("--type is required", kAddHelp);
    auto type = parseNumber(typeIt->second);
    if (!type || *type < 1 || *type > 5)
        return fail("type must be 1 to 5", kAddHelp);
    auto info = ToneFile::inspect(source);
    if (!info)
        return fail(source.string() + " is not a readable Core Audio Format file", nullptr);
    std::optional<fs::path> icon;
    if (auto it = a.values.find("icon"); it != a.values.end()) {
        if (!looksLikePng(it->second))
            return fail(it->second + " is not a PNG image", nullptr);
        icon = it->second;
    }

    Tone t;
    t.name = a.values.count("name") ? a.values["name"] : source.filename().string();
    if (t.name.size() < 4 || t.name.compare(t.name.size() - 4, 4, ".caf") != 0)
        t.name += ".caf";
    t.type = static_cast<int32_t>(*type);
    t.recommended = a.flags.count("recommended") > 0;
    t.duration = std::max(1, static_cast<int32_t>(std::lround(info->seconds)));
    std::error_code ec;
    auto bytes = fs::file_size(source, ec);
    if (ec)
        return fail("cannot read " + source.string(), nullptr);
    t.size = std::round(static_cast<double>(bytes) / 1024.0 * 10) / 10;
    t.time = static_cast<int64_t>(std::time(nullptr));

    auto store = openStore(dbPathFrom(a));
    auto filesDir = filesDirFrom(a);
    fs::create_directories(filesDir, ec);
    int32_t id = 1;
    for (const auto& existing : store->allTones())
        id = std::max(id, existing.id + 1);
    t.id = id;
    t.file = std::to_string(id) + ".caf";
    t.icon = std::to_string(id) + ".png";
    if (!copyFile(source, filesDir / t.file))
        return fail("cannot copy the tone into " + filesDir.string(), nullptr);
    bool iconOk = icon ? copyFile(*icon, filesDir / t.icon)
                       : IconPainter::paint(filesDir / t.icon,
                                            {0x2f80ed, 0xffffff, IconPainter::Shape::Note});
    if (!iconOk)
        return fail("cannot write the icon into " + filesDir.string(), nullptr);
    store->addTone(t);
    std::cout << "added tone " << id << " \"" << t.name << "\" (" << t.duration << " s, " << t.size
              << " K)\n";
    return 0;
}

int config(int argc, char** argv) {
    if (wantsHelp(argc, argv))
        return std::cout << kConfigHelp, 0;
    auto a = parseArgs(argc, argv, 2, {"db"}, {});
    if (!a.error.empty())
        return fail(a.error, kConfigHelp);
    if (a.positional.size() != 3 || a.positional[0] != "set")
        return fail("expected: config set KEY VALUE", kConfigHelp);
    if (a.positional[1].empty())
        return fail("the key must not be empty", kConfigHelp);
    auto store = openStore(dbPathFrom(a));
    store->setConfig(a.positional[1], a.positional[2]);
    return 0;
}

int release(int argc, char** argv) {
    if (wantsHelp(argc, argv))
        return std::cout << kReleaseHelp, 0;
    auto a = parseArgs(argc, argv, 2, {"log", "db"}, {});
    if (!a.error.empty())
        return fail(a.error, kReleaseHelp);
    if (a.positional.size() != 2 || a.positional[0].empty())
        return fail("expected: release VERSION PATH --log TEXT", kReleaseHelp);
    if (!a.values.count("log"))
        return fail("--log is required", kReleaseHelp);
    auto store = openStore(dbPathFrom(a));
    store->addRelease({a.positional[0], a.positional[1], a.values["log"]});
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return std::cerr << kUsage, 2;
    std::string command = argv[1];
    try {
        if (command == "serve")
            return serve(argc, argv);
        if (command == "seed")
            return seed(argc, argv);
        if (command == "add")
            return add(argc, argv);
        if (command == "config")
            return config(argc, argv);
        if (command == "release")
            return release(argc, argv);
        if (command == "--help" || command == "-h" || command == "help")
            return std::cout << kUsage, 0;
    } catch (const std::exception& e) {
        std::cerr << "chimora-catalogue: " << e.what() << "\n";
        return 1;
    }
    return fail("unknown command " + command, kUsage);
}
