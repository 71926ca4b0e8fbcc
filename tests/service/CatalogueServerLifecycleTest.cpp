#include "service/CatalogueServer.h"
#include "service/TestCatalogue.h"
#include "tests/service/ServiceHttp.h"

#include <gtest/gtest.h>

#include <string>

using namespace chimora::service;
using namespace chimora::service::testing;

namespace {

class CatalogueServerLifecycleTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(catalogue_.ok()) << catalogue_.error(); }

    CatalogueServer::Options optionsOnSameDb() const {
        CatalogueServer::Options o;
        o.dbPath = catalogue_.dbPath();
        o.filesDir = catalogue_.filesDir();
        return o;
    }

    TestCatalogue catalogue_{3, 2};
};

TEST_F(CatalogueServerLifecycleTest, ReplyUrlsFollowThePublicUrl) {
    auto o = optionsOnSameDb();
    o.publicUrl = "http://tones.example:9000";
    CatalogueServer server(o);
    ASSERT_TRUE(server.start()) << server.lastError();
    EXPECT_EQ(server.baseURL(), "http://tones.example:9000/");
    auto client = clientFor(server.port());
    auto res = client.Get("/api/get_tones.php?pageIndex=0&pageSize=1&type=0");
    ASSERT_TRUE(res);
    JsonDoc doc(res->body);
    ASSERT_TRUE(doc.ok) << res->body;
    std::string url(doc.root["items"].at(0)["downloadURL"].get_string().value_unsafe());
    EXPECT_EQ(url.rfind("http://tones.example:9000/files/", 0), 0u) << url;
}

TEST_F(CatalogueServerLifecycleTest, StartFailsOnABusyPortOrAnUnopenableDatabase) {
    auto busy = optionsOnSameDb();
    busy.port = catalogue_.port();
    CatalogueServer second(busy);
    EXPECT_FALSE(second.start());
    EXPECT_FALSE(second.lastError().empty());

    CatalogueServer::Options nowhere;
    nowhere.dbPath = catalogue_.dir() / "no" / "such" / "folder" / "catalogue.db";
    CatalogueServer third(nowhere);
    EXPECT_FALSE(third.start());
    EXPECT_FALSE(third.lastError().empty());

    // The first server is not disturbed by either attempt.
    auto client = clientFor(catalogue_.port());
    auto res = client.Get("/");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
}

TEST_F(CatalogueServerLifecycleTest, StopEndsServingAndMayBeRepeated) {
    CatalogueServer server(optionsOnSameDb());
    ASSERT_TRUE(server.start()) << server.lastError();
    EXPECT_TRUE(server.isRunning());
    int port = server.port();
    EXPECT_EQ(server.baseURL(), "http://127.0.0.1:" + std::to_string(port) + "/");
    server.stop();
    server.stop();
    EXPECT_FALSE(server.isRunning());
    auto client = clientFor(port);
    client.set_connection_timeout(1);
    EXPECT_FALSE(client.Get("/"));
}

} // namespace
