#include "service/TestCatalogue.h"

#include "service/CatalogueSeeder.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace chimora::service {

namespace {

std::filesystem::path makeTempDir() {
    std::error_code ec;
    auto base = std::filesystem::temp_directory_path(ec);
    if (ec)
        base = "/tmp";
    std::string pattern = (base / "chimora-catalogue-XXXXXX").string();
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    if (!mkdtemp(buf.data()))
        return {};
    return std::filesystem::path(buf.data());
}

} // namespace

TestCatalogue::TestCatalogue(int toneCount, uint64_t seed) : dir_(makeTempDir()) {
    if (dir_.empty()) {
        error_ = "cannot create a temporary folder";
        return;
    }
    try {
        CatalogueStore seedStore(dbPath());
        CatalogueSeeder::Options options;
        options.count = toneCount;
        options.seed = seed;
        CatalogueSeeder::seed(seedStore, filesDir(), options);
    } catch (const std::exception& e) {
        error_ = std::string("seeding failed: ") + e.what();
        return;
    }
    CatalogueServer::Options options;
    options.dbPath = dbPath();
    options.filesDir = filesDir();
    server_ = std::make_unique<CatalogueServer>(options);
    if (!server_->start()) {
        error_ = "server failed: " + server_->lastError();
        return;
    }
    ok_ = true;
}

TestCatalogue::~TestCatalogue() {
    if (server_)
        server_->stop();
    server_.reset();
    store_.reset();
    if (!dir_.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
}

std::string TestCatalogue::baseURL() const {
    return server_ ? server_->baseURL() : std::string();
}

int TestCatalogue::port() const {
    return server_ ? server_->port() : -1;
}

CatalogueStore& TestCatalogue::store() {
    if (!store_)
        store_ = std::make_unique<CatalogueStore>(dbPath());
    return *store_;
}

} // namespace chimora::service
