// Downloads N tone-sized files from a loopback server through the download queue, then the
// same files with `curl --parallel` at the same bound, and prints both throughputs and
// their ratio. Usage: bench_downloads [files=100] [kilobytes=64] [rounds=3]
#include "host/device/DeviceRoot.h"
#include "platform/foundation/DeviceHost.h"
#include "platform/foundation/RunLoop.h"
#include "platform/net/DownloadQueue.h"
#include "platform/net/DownloadRequest.h"
#include "platform/net/DownloadRequestDelegate.h"

#include <httplib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Counter : DownloadRequestDelegate {
    int finished = 0;
    int failed = 0;
    void requestFinished(const std::shared_ptr<DownloadRequest>&) override { ++finished; }
    void requestFailed(const std::shared_ptr<DownloadRequest>&) override { ++failed; }
};

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Answers the seconds taken, or a negative value when a download failed.
double runQueue(const std::string& base, int files, int round) {
    auto counter = std::make_shared<Counter>();
    auto queue = DownloadQueue::queue();
    queue->setShouldCancelAllRequestsOnFailure(false);
    queue->go();
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < files; ++i) {
        std::string name = "r" + std::to_string(round) + "-" + std::to_string(i) + ".caf";
        auto r = DownloadRequest::requestWithURL(base + "/f/" + std::to_string(i));
        r->setDownloadDestinationPath("/var/mobile/Documents/tones/" + name);
        r->setTemporaryFileDownloadPath("/var/mobile/Library/Caches/tones/" + name + ".temp");
        r->setAllowResumeForFileDownloads(true);
        r->setTag(i);
        r->setDelegate(counter);
        queue->addOperation(r);
    }
    RunLoop::main().runUntil([&] { return counter->finished + counter->failed == files; }, 120);
    double taken = seconds(start);
    return counter->failed == 0 && counter->finished == files ? taken : -1;
}

double runCurl(const std::string& base, int files, const fs::path& dir, int round) {
    fs::path config = dir / "curl.cfg";
    {
        std::ofstream out(config);
        for (int i = 0; i < files; ++i) {
            out << "url = \"" << base << "/f/" << i << "\"\n";
            fs::path file = dir / ("c" + std::to_string(round) + "-" + std::to_string(i));
            out << "output = \"" << file.string() << "\"\n";
        }
    }
    std::string command =
        "curl --silent --show-error --no-progress-meter --fail --parallel --parallel-max " +
        std::to_string(DownloadQueue::kDefaultMaxConcurrentOperationCount) + " --config " +
        config.string();
    auto start = std::chrono::steady_clock::now();
    int status = std::system(command.c_str());
    double taken = seconds(start);
    return status == 0 ? taken : -1;
}

} // namespace

int main(int argc, char** argv) {
    int files = argc > 1 ? std::atoi(argv[1]) : 100;
    int kilobytes = argc > 2 ? std::atoi(argv[2]) : 64;
    int rounds = argc > 3 ? std::atoi(argv[3]) : 3;
    if (files <= 0 || kilobytes <= 0 || rounds <= 0) {
        std::fprintf(stderr, "usage: bench_downloads [files] [kilobytes] [rounds]\n");
        return 2;
    }
    RunLoop::main().adoptCurrentThreadAsMain();

    fs::path root = fs::temp_directory_path() / ("chimora-bench-" + std::to_string(::getpid()));
    fs::create_directories(root / "device/var/mobile/Documents/tones");
    fs::create_directories(root / "device/var/mobile/Library/Caches/tones");
    fs::create_directories(root / "curl");
    fs::create_directories(root / "bundle");
    platform::setDeviceHost(std::make_shared<host::DeviceRoot>(root / "device", root / "bundle"));

    std::string blob(static_cast<size_t>(kilobytes) * 1024, '\0');
    for (size_t i = 0; i < blob.size(); ++i) {
        blob[i] = static_cast<char>((i * 2654435761u) >> 13);
    }
    httplib::Server server;
    server.Get(R"(/f/(\d+))", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content(blob, "audio/x-caf");
    });
    int port = server.bind_to_any_port("127.0.0.1");
    std::thread serving([&] { server.listen_after_bind(); });
    while (!server.is_running()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::string base = "http://127.0.0.1:" + std::to_string(port);

    double bestQueue = 1e9, bestCurl = 1e9;
    bool ok = true;
    for (int round = 0; round < rounds; ++round) {
        double q = runQueue(base, files, round);
        double c = runCurl(base, files, root / "curl", round);
        ok = ok && q > 0 && c > 0;
        if (q > 0 && q < bestQueue) {
            bestQueue = q;
        }
        if (c > 0 && c < bestCurl) {
            bestCurl = c;
        }
    }
    server.stop();
    serving.join();
    std::error_code ec;
    fs::remove_all(root, ec);
    if (!ok) {
        std::fprintf(stderr, "a download failed\n");
        return 1;
    }
    double megabytes = static_cast<double>(files) * kilobytes / 1024.0;
    std::printf("%d files x %d KB, %d at a time, best of %d rounds\n", files, kilobytes,
                DownloadQueue::kDefaultMaxConcurrentOperationCount, rounds);
    std::printf("download queue : %8.3f s  %8.1f MB/s\n", bestQueue, megabytes / bestQueue);
    std::printf("curl --parallel: %8.3f s  %8.1f MB/s  (includes starting the curl process)\n",
                bestCurl, megabytes / bestCurl);
    std::printf("throughput ratio (queue / curl): %.2f\n", bestCurl / bestQueue);
    return 0;
}
