#pragma once

#include "service/CatalogueServer.h"
#include "service/CatalogueStore.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace chimora::service {

// A seeded catalogue served on a free port of 127.0.0.1 from a fresh temporary folder, for
// tests of the app and the network layer. Stops and removes everything when destroyed.
//
//   chimora::service::TestCatalogue catalogue(45);
//   ASSERT_TRUE(catalogue.ok()) << catalogue.error();
//   fetch(catalogue.baseURL() + "api/get_tones.php?pageIndex=0&pageSize=20&type=0");
class TestCatalogue {
public:
    explicit TestCatalogue(int toneCount = 30, uint64_t seed = 7);
    ~TestCatalogue();
    TestCatalogue(const TestCatalogue&) = delete;
    TestCatalogue& operator=(const TestCatalogue&) = delete;

    bool ok() const { return ok_; }
    const std::string& error() const { return error_; }
    // "http://127.0.0.1:PORT/"
    std::string baseURL() const;
    std::string reportURL() const { return baseURL() + "report/"; }
    int port() const;
    const std::filesystem::path& dir() const { return dir_; }
    std::filesystem::path dbPath() const { return dir_ / "catalogue.db"; }
    std::filesystem::path filesDir() const { return dir_ / "files"; }
    // A separate connection to the served database, for arranging and checking rows.
    CatalogueStore& store();
    CatalogueServer& server() { return *server_; }

private:
    std::filesystem::path dir_;
    std::unique_ptr<CatalogueStore> store_;
    std::unique_ptr<CatalogueServer> server_;
    bool ok_ = false;
    std::string error_;
};

} // namespace chimora::service
