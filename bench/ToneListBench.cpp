// The tone list's two costs that a user feels, each printed beside a floor:
//   1. launch to the first page of rows drawn: the chimora program headless against the
//      reference catalogue on loopback, beside starting a trivial program plus one curl of
//      the same page;
//   2. scrolling through 500 rows at scale 2: time per row scrolled (rows made, filled and
//      the screen drawn), beside drawing the same screen without scrolling.
// Run by hand: bench_tonelist [runs]
#include "BuildConfig.h"
#include "app/catalogue/ToneListController.h"
#include "app/storage/StoreManager.h"
#include "host/device/DeviceInit.h"
#include "host/device/DeviceRoot.h"
#include "platform/foundation/RunLoop.h"
#include "platform/render/Canvas.h"
#include "platform/uikit/UIViewController.h"
#include "platform/uikit/UIWindow.h"
#include "service/TestCatalogue.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double secondsOf(const std::string& command) {
    const auto start = Clock::now();
    const int rc = std::system(command.c_str());
    const double s = std::chrono::duration<double>(Clock::now() - start).count();
    if (rc != 0) {
        std::fprintf(stderr, "failed (%d): %s\n", rc, command.c_str());
        std::exit(1);
    }
    return s;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

fs::path tempFolder() {
    std::string pattern = (fs::temp_directory_path() / "chimora-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        std::exit(1);
    }
    return pattern;
}

void launchToFirstPage(int runs) {
    chimora::service::TestCatalogue catalogue(60);
    if (!catalogue.ok()) {
        std::fprintf(stderr, "catalogue: %s\n", catalogue.error().c_str());
        std::exit(1);
    }
    const fs::path work = tempFolder();
    const std::string chimora = CHIMORA_PROGRAM;
    const std::string device = (work / "device").string();
    secondsOf("'" + chimora + "' device init --messenger --device-root '" + device +
              "' >/dev/null");
    const fs::path script = work / "first-page.script";
    std::ofstream(script) << "idle 15000\nshot " << (work / "first-page.png").string()
                          << "\nquit\n";
    const std::string page =
        catalogue.baseURL() + "api/get_tones.php?pageIndex=0&pageSize=20&type=0";

    std::vector<double> app, floor;
    for (int i = 0; i < runs; ++i) {
        app.push_back(secondsOf("SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy '" + chimora +
                                "' --headless --device-root '" + device + "' --base-url " +
                                catalogue.baseURL() + " --report-url " + catalogue.reportURL() +
                                " --script '" + script.string() + "' >/dev/null 2>&1"));
        floor.push_back(secondsOf("/bin/true && curl -sf -o /dev/null '" + page + "'"));
    }
    const double a = median(app), f = median(floor);
    std::printf("launch to first page drawn: %.1f ms   floor (true + curl): %.1f ms   ratio %.1f\n",
                a * 1000, f * 1000, a / f);
    fs::remove_all(work);
}

void scrollThroughRows() {
    const fs::path work = tempFolder();
    auto device = std::make_shared<host::DeviceRoot>(work / "device", BuildConfig::kResourcesDir);
    host::initDevice(device->root(), {});
    platform::setDeviceHost(device);
    StoreManager::load();

    constexpr int kRows = 500;
    auto list = ToneListController::initWithType(0);
    std::vector<std::shared_ptr<FMInfo>> records;
    for (int i = 0; i < kRows; ++i) {
        auto info = FMInfo::init();
        info->setMID(i + 1);
        info->setMName("Tone number " + std::to_string(i + 1) + ".caf");
        info->setMSize(10 + i % 50);
        info->setMNumberDownloads(i * 7);
        records.push_back(info);
    }
    auto window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
    window->setRootViewController(list);
    window->makeKeyAndVisible();
    list->setMFMInfos(records);
    list->setMHasMoreData(false);
    list->setMIsLoading(true); // the rows alone: no page request while measuring
    auto table = list->tableView();
    table->reloadData();
    auto canvas = render::Canvas::create(320, 568, 2);

    auto frame = [&] {
        canvas = render::Canvas::create(320, 568, 2);
        window->render(*canvas);
    };
    frame();
    constexpr int kStill = 60;
    auto start = Clock::now();
    for (int i = 0; i < kStill; ++i) {
        frame();
    }
    const double still = std::chrono::duration<double>(Clock::now() - start).count() / kStill;

    // A row at a time, as a slow drag would reveal them.
    const double rowHeight = table->rowHeight();
    const double end = table->contentSize().height - table->bounds().size.height;
    int steps = 0;
    start = Clock::now();
    for (double y = 0; y <= end; y += rowHeight, ++steps) {
        table->setContentOffset(CGPointMake(0, y));
        frame();
    }
    const double total = std::chrono::duration<double>(Clock::now() - start).count();
    const double perRow = total / std::max(1, steps);
    std::printf("scrolling through %d rows at scale 2 (%d one-row steps): %.2f ms per row   still "
                "frame: %.2f ms   "
                "ratio %.2f   (frame budget at 60 Hz: %.0f%% used)\n",
                kRows, steps, perRow * 1000, still * 1000, perRow / still,
                perRow / (1.0 / 60) * 100);
    platform::setDeviceHost(nullptr);
    fs::remove_all(work);
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    launchToFirstPage(runs);
    scrollThroughRows();
    return 0;
}
