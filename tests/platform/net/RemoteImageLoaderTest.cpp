#include "platform/net/RemoteImageLoader.h"
#include "platform/foundation/RunLoop.h"
#include "platform/net/ImageMemoryCache.h"
#include "tests/platform/net/LoopbackServer.h"
#include "tests/support/TestDevice.h"

#include <cairo.h>
#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <map>
#include <mutex>

namespace {

std::string makePng(int width, int height, double r, double g, double b) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgb(cr, r, g, b);
    cairo_paint(cr);
    cairo_destroy(cr);
    std::string bytes;
    cairo_surface_write_to_png_stream(
        s,
        [](void* closure, const unsigned char* data, unsigned int length) {
            static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
            return CAIRO_STATUS_SUCCESS;
        },
        &bytes);
    cairo_surface_destroy(s);
    return bytes;
}

struct Delivery {
    int calls = 0;
    bool onMain = false;
    RemoteImageLoader::Image image;
};

RemoteImageLoader::Callback record(const std::shared_ptr<Delivery>& d) {
    return [d](RemoteImageLoader::Image image) {
        ++d->calls;
        d->onMain = RunLoop::main().isMainThread();
        d->image = std::move(image);
    };
}

class RemoteImageLoaderTest : public testing::Test {
protected:
    void SetUp() override {
        server.http().Get(R"(/img/(.+))", [this](const httplib::Request& req,
                                                 httplib::Response& res) {
            std::string name = req.matches[1];
            {
                std::lock_guard lock(mutex);
                ++served[name];
            }
            if (name.rfind("slow", 0) == 0) {
                server.holdUntilReleased(20);
            }
            if (name == "missing.png") {
                res.status = 404;
                res.set_content("no", "text/plain");
            } else if (name == "text.png") {
                res.set_content("not a picture", "image/png");
            } else {
                res.set_content(name.find("blue") != std::string::npos ? blue : red, "image/png");
            }
        });
        ASSERT_TRUE(server.start());
    }
    int servedCount(const std::string& name) {
        std::lock_guard lock(mutex);
        return served[name];
    }
    bool waitFor(const std::shared_ptr<Delivery>& d) {
        return RunLoop::main().runUntil([&] { return d->calls > 0; }, 10);
    }
    bool waitIdle() {
        return RunLoop::main().runUntil([] { return RunLoop::main().isIdle(); }, 10);
    }

    testsupport::TestDevice device;
    LoopbackServer server;
    std::mutex mutex;
    std::map<std::string, int> served;
    std::string red = makePng(4, 3, 1, 0, 0);
    std::string blue = makePng(2, 2, 0, 0, 1);
    int viewA = 0, viewB = 0; // stand-ins for two image views
};

TEST_F(RemoteImageLoaderTest, DecodesOnceThenServesFromMemoryAndDisk) {
    auto loader = RemoteImageLoader::create();
    std::string url = server.url("/img/red.png");
    auto first = std::make_shared<Delivery>();
    loader->load(&viewA, url, record(first));
    ASSERT_TRUE(waitFor(first));
    EXPECT_TRUE(first->onMain);
    ASSERT_TRUE(first->image);
    EXPECT_EQ(first->image->width, 4);
    EXPECT_EQ(first->image->height, 3);
    ASSERT_EQ(first->image->argb.size(), 12u);
    EXPECT_EQ(first->image->argb[5], 0xFFFF0000u);
    EXPECT_EQ(device.readFile(loader->diskCachePath(url)), red);
    EXPECT_EQ(loader->diskCachePath(url).rfind("/var/mobile/Library/Caches/images/", 0), 0u);

    auto memoryHit = std::make_shared<Delivery>();
    loader->load(&viewB, url, record(memoryHit));
    EXPECT_EQ(memoryHit->calls, 1) << "a memory hit answers at once";
    EXPECT_EQ(memoryHit->image, first->image);

    auto fresh = RemoteImageLoader::create(); // empty memory, same disk
    auto diskHit = std::make_shared<Delivery>();
    fresh->load(&viewA, url, record(diskHit));
    ASSERT_TRUE(waitFor(diskHit));
    ASSERT_TRUE(diskHit->image);
    EXPECT_EQ(diskHit->image->argb, first->image->argb);
    EXPECT_EQ(servedCount("red.png"), 1);
}

TEST_F(RemoteImageLoaderTest, NewestURLForAViewWins) {
    auto loader = RemoteImageLoader::create();
    auto older = std::make_shared<Delivery>();
    auto newer = std::make_shared<Delivery>();
    loader->load(&viewA, server.url("/img/slow-red.png"), record(older));
    loader->load(&viewA, server.url("/img/blue.png"), record(newer));
    ASSERT_TRUE(waitFor(newer));
    ASSERT_TRUE(newer->image);
    EXPECT_EQ(newer->image->width, 2);
    server.release(); // the older reply arrives last
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(servedCount("slow-red.png"), 1);
    EXPECT_EQ(older->calls, 0);
    EXPECT_EQ(newer->calls, 1);
}

TEST_F(RemoteImageLoaderTest, CancelledViewIsNotCalled) {
    auto loader = RemoteImageLoader::create();
    auto d = std::make_shared<Delivery>();
    loader->load(&viewA, server.url("/img/red.png"), record(d));
    loader->cancel(&viewA);
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(d->calls, 0);
}

TEST_F(RemoteImageLoaderTest, ViewsAskingForTheSameURLShareOneRequest) {
    auto loader = RemoteImageLoader::create();
    auto a = std::make_shared<Delivery>();
    auto b = std::make_shared<Delivery>();
    loader->load(&viewA, server.url("/img/blue.png"), record(a));
    loader->load(&viewB, server.url("/img/blue.png"), record(b));
    ASSERT_TRUE(waitIdle());
    ASSERT_TRUE(a->image);
    EXPECT_EQ(a->image, b->image);
    EXPECT_EQ(servedCount("blue.png"), 1);
}

TEST_F(RemoteImageLoaderTest, FailuresCallBackWithoutAnImageAndCacheNothing) {
    auto loader = RemoteImageLoader::create();
    int closed = LoopbackServer::closedPort();
    const std::string urls[] = {server.url("/img/missing.png"), server.url("/img/text.png"),
                                "http://127.0.0.1:" + std::to_string(closed) + "/i.png", ""};
    for (const auto& url : urls) {
        SCOPED_TRACE(url);
        auto d = std::make_shared<Delivery>();
        loader->load(&viewA, url, record(d));
        ASSERT_TRUE(waitFor(d));
        EXPECT_EQ(d->calls, 1);
        EXPECT_FALSE(d->image);
        EXPECT_TRUE(d->onMain);
        if (!url.empty()) {
            EXPECT_FALSE(device.exists(loader->diskCachePath(url)));
        }
    }
}

TEST(ImageMemoryCache, DropsTheLeastRecentlyUsedBeyondItsBudget) {
    auto image = [](int side) {
        auto i = std::make_shared<DecodedImage>();
        i->width = i->height = side;
        i->argb.assign(static_cast<size_t>(side * side), 0);
        return i;
    };
    ImageMemoryCache cache(2 * 10 * 10 * 4); // two 10×10 images
    cache.put("a", image(10));
    cache.put("b", image(10));
    EXPECT_TRUE(cache.get("a")); // a is now the most recent
    cache.put("c", image(10));
    EXPECT_TRUE(cache.get("a"));
    EXPECT_FALSE(cache.get("b"));
    EXPECT_TRUE(cache.get("c"));
    EXPECT_EQ(cache.bytes(), 800u);
    cache.put("huge", image(20)); // bigger than the budget: not kept, nothing evicted
    EXPECT_FALSE(cache.get("huge"));
    EXPECT_EQ(cache.count(), 2u);
    cache.put("a", image(5)); // replacing an entry recounts its bytes
    EXPECT_EQ(cache.bytes(), 500u);
}

} // namespace
