// The facilities against the reference catalogue service, the way the app uses them.
#include "platform/foundation/RunLoop.h"
#include "platform/net/DownloadQueue.h"
#include "platform/net/DownloadRequest.h"
#include "platform/net/DownloadRequestDelegate.h"
#include "platform/net/JsonRequest.h"
#include "platform/net/RemoteImageLoader.h"
#include "platform/net/SyncFetch.h"
#include "service/TestCatalogue.h"
#include "tests/support/TestDevice.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <future>

namespace {

struct Ended : DownloadRequestDelegate {
    int finished = 0;
    int failed = 0;
    void requestFinished(const std::shared_ptr<DownloadRequest>&) override { ++finished; }
    void requestFailed(const std::shared_ptr<DownloadRequest>&) override { ++failed; }
};

TEST(CatalogueEndToEnd, PageThenToneFileThenIcon) {
    testsupport::TestDevice device;
    chimora::service::TestCatalogue catalogue(5);
    ASSERT_TRUE(catalogue.ok()) << catalogue.error();
    std::filesystem::create_directories(device.hostPath("/var/mobile/Documents/tones"));
    std::filesystem::create_directories(device.hostPath("/var/mobile/Library/Caches/tones"));

    auto page = JsonRequest::requestWithURL(
        catalogue.baseURL() + "api/get_tones.php?pageIndex=0&pageSize=20&type=0", 10);
    page->addAcceptableContentType("text/html");
    std::optional<Json> reply;
    bool failed = false;
    page->start([&](const Json& json) { reply = json; }, [&](const NetError&) { failed = true; });
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return reply || failed; }, 10));
    ASSERT_TRUE(reply && reply->isObject());
    const Json* items = reply->get("items");
    ASSERT_TRUE(items && !items->items().empty());
    const Json& tone = items->items().front();
    std::string name = tone.get("name")->asString().value_or("");
    std::string fileURL = tone.get("downloadURL")->asString().value_or("");
    std::string iconURL = tone.get("iconURL")->asString().value_or("");
    ASSERT_FALSE(name.empty());

    std::string expected =
        std::async(std::launch::async, [&] { return fetchDataSync(fileURL); }).get().value_or("");
    ASSERT_GT(expected.size(), 1000u);
    // Half of the file left by an earlier attempt: the service's ranges finish it.
    device.writeFile("/var/mobile/Library/Caches/tones/" + name + ".temp",
                     expected.substr(0, expected.size() / 2));

    auto ended = std::make_shared<Ended>();
    auto queue = DownloadQueue::queue();
    queue->setShouldCancelAllRequestsOnFailure(false);
    queue->go();
    auto request = DownloadRequest::requestWithURL(fileURL);
    request->setDownloadDestinationPath("/var/mobile/Documents/tones/" + name);
    request->setTemporaryFileDownloadPath("/var/mobile/Library/Caches/tones/" + name + ".temp");
    request->setAllowResumeForFileDownloads(true);
    request->setDelegate(ended);
    queue->addOperation(request);
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return ended->finished + ended->failed > 0; }, 20));
    EXPECT_EQ(ended->finished, 1);
    EXPECT_EQ(request->responseStatusCode(), 206);
    EXPECT_EQ(device.readFile("/var/mobile/Documents/tones/" + name), expected);

    auto loader = RemoteImageLoader::create();
    RemoteImageLoader::Image icon;
    bool iconDone = false;
    int view = 0;
    loader->load(&view, iconURL, [&](RemoteImageLoader::Image image) {
        icon = std::move(image);
        iconDone = true;
    });
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return iconDone; }, 10));
    ASSERT_TRUE(icon);
    EXPECT_GT(icon->width, 0);
    EXPECT_EQ(icon->argb.size(), static_cast<size_t>(icon->width) * icon->height);
}

} // namespace
