#include "app/catalogue/ToneListController.h"
#include "app/controls/TaggedRowButton.h"
#include "app/storage/StoreManager.h"
#include "platform/foundation/RunLoop.h"
#include "platform/uikit/UIAlertView.h"
#include "platform/uikit/UIWindow.h"
#include "tests/app/support/ScopedBaseURL.h"
#include "tests/app/support/StubServer.h"
#include "tests/support/TestDevice.h"

#include <gtest/gtest.h>

#include <filesystem>

// Fetching a tone from its row: a download or a pretone move, and how its end shows.
namespace {

using testsupport::TestDevice;
namespace fs = std::filesystem;

constexpr const char* kTones = "/var/mobile/Documents/tones/";
constexpr const char* kPretones = "/var/mobile/Documents/pretones/";
constexpr const char* kReport = "/api/inc_fm_downloads.php";

class ToneListDownloadTest : public testing::Test {
protected:
    void SetUp() override {
        server.on("/api/get_tones.php", [](const StubRequest&) {
            return StubReply{500, "text/plain", "none"};
        });
        server.on("/files/good.caf", [](const StubRequest&) {
            return StubReply{200, "audio/x-caf", "TONE-BYTES"};
        });
        server.on("/files/held.caf", [](const StubRequest&) {
            return StubReply{200, "audio/x-caf", "HELD-BYTES", 2};
        });
        server.on(kReport, [](const StubRequest&) { return StubReply{200, "text/html", "ok"}; });
        ASSERT_TRUE(server.start());
        base = std::make_unique<ScopedBaseURL>(server.baseURL());
        StoreManager::load();
        window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
        window->setRootViewController(UIViewController::init());
        window->makeKeyAndVisible();
        list = ToneListController::initWithType(0);
        table = list->tableView();
    }
    void TearDown() override { server.release(); }

    std::shared_ptr<FMInfo> record(int32_t id, const std::string& name) {
        auto info = FMInfo::init();
        info->setMID(id);
        info->setMName(name);
        info->setMDownloadURLStr(server.baseURL() + "files/" + name);
        return info;
    }
    void show(std::vector<std::shared_ptr<FMInfo>> records) {
        list->setMFMInfos(std::move(records));
        list->refresh();
    }
    std::shared_ptr<TaggedRowButton> button(int row) {
        auto cell = list->cellForRowAtIndexPath(table, NSIndexPath::indexPathForRow(row, 0));
        return std::dynamic_pointer_cast<TaggedRowButton>(
            cell->contentView()->viewWithTag(ToneListController::kButtonTag));
    }
    std::string title(int row) {
        return button(row)->titleForState(UIControlStateNormal).value_or("<none>");
    }
    void tap(int row) { button(row)->sendActionsForControlEvents(UIControlEventTouchUpInside); }

    std::vector<std::shared_ptr<UIAlertView>> alerts() const {
        std::vector<std::shared_ptr<UIAlertView>> out;
        for (const auto& v : window->overlays()) {
            if (auto a = std::dynamic_pointer_cast<UIAlertView>(v)) {
                out.push_back(a);
            }
        }
        return out;
    }
    void expectOneDownloadErrorAlert() {
        auto shown = alerts();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0]->title(), "Notice");
        EXPECT_EQ(shown[0]->message(), "Download error");
        ASSERT_EQ(shown[0]->numberOfButtons(), 1);
        EXPECT_EQ(shown[0]->buttonTitleAtIndex(shown[0]->cancelButtonIndex()), "Ok");
        EXPECT_FALSE(shown[0]->delegate());
    }
    std::vector<std::string> reports() const {
        std::vector<std::string> out;
        for (const auto& r : server.requests()) {
            if (r.path == kReport) {
                out.push_back(r.target);
            }
        }
        return out;
    }
    static bool settle() {
        return RunLoop::main().runUntil([] { return RunLoop::main().isIdle(); }, 15);
    }

    TestDevice dev{{.messenger = true}};
    StubServer server;
    std::unique_ptr<ScopedBaseURL> base;
    std::shared_ptr<UIWindow> window;
    std::shared_ptr<ToneListController> list;
    std::shared_ptr<UITableView> table;
};

TEST_F(ToneListDownloadTest, ADownloadTurnsTheRowDownloadingThenDownloadedAndIsReported) {
    show({record(42, "good.caf")});
    ASSERT_EQ(title(0), "Download");
    tap(0);
    EXPECT_TRUE(list->mFMInfos()[0]->mISDownloading());
    EXPECT_EQ(title(0), "Downloading");
    tap(0); // a second tap finds it downloading
    ASSERT_TRUE(settle());

    EXPECT_EQ(dev.readFile(std::string(kTones) + "good.caf"), "TONE-BYTES");
    EXPECT_FALSE(list->mFMInfos()[0]->mISDownloading());
    EXPECT_EQ(title(0), "Set As Current Tone?");
    EXPECT_EQ(server.countFor("/files/good.caf"), 1u);
    EXPECT_EQ(reports(), std::vector<std::string>{std::string(kReport) + "?fmId=42"});
    EXPECT_TRUE(alerts().empty());
}

TEST_F(ToneListDownloadTest, AFailedDownloadReturnsTheRowAndShowsTheAlertWithoutReport) {
    show({record(7, "absent.caf")}); // the server answers 404
    tap(0);
    ASSERT_TRUE(settle());
    EXPECT_FALSE(list->mFMInfos()[0]->mISDownloading());
    EXPECT_EQ(title(0), "Download");
    EXPECT_FALSE(dev.exists(std::string(kTones) + "absent.caf"));
    expectOneDownloadErrorAlert();
    EXPECT_TRUE(reports().empty());
}

TEST_F(ToneListDownloadTest, APretoneIsMovedInsteadOfDownloadedAndReported) {
    dev.writeFile(std::string(kPretones) + "pre.caf", "PRE-BYTES");
    show({record(9, "pre.caf")});
    tap(0);
    // The move happens within the tap.
    EXPECT_EQ(title(0), "Set As Current Tone?");
    EXPECT_FALSE(list->mFMInfos()[0]->mISDownloading());
    EXPECT_FALSE(dev.exists(std::string(kPretones) + "pre.caf"));
    EXPECT_EQ(dev.readFile(std::string(kTones) + "pre.caf"), "PRE-BYTES");
    ASSERT_TRUE(settle());
    EXPECT_EQ(server.countFor("/files/pre.caf"), 0u);
    EXPECT_EQ(reports(), std::vector<std::string>{std::string(kReport) + "?fmId=9"});
    EXPECT_TRUE(alerts().empty());
}

TEST_F(ToneListDownloadTest, APretoneThatCannotBeMovedEndsAsAFailedFetch) {
    dev.writeFile(std::string(kPretones) + "pre.caf", "PRE-BYTES");
    // A directory of the same name in the tones folder stands in the way of the move.
    fs::create_directories(dev.hostPath(std::string(kTones) + "pre.caf/inside"));
    show({record(9, "pre.caf")});
    list->setMDowndoadedFileNames({});
    ASSERT_TRUE(list->startDownloadFM(list->mFMInfos()[0]));
    EXPECT_FALSE(list->mFMInfos()[0]->mISDownloading());
    expectOneDownloadErrorAlert();
    ASSERT_TRUE(settle());
    EXPECT_TRUE(reports().empty());
}

TEST_F(ToneListDownloadTest, AFetchTheManagerRefusesEndsAsAFailedFetch) {
    for (const char* name : {"", "../escape.caf"}) {
        auto info = record(5, name);
        show({info});
        tap(0);
        EXPECT_FALSE(info->mISDownloading()) << name;
        EXPECT_EQ(title(0), "Download") << name;
        expectOneDownloadErrorAlert();
        for (const auto& a : alerts()) {
            a->dismissWithClickedButtonIndex(0, false);
        }
    }
    ASSERT_TRUE(settle());
    EXPECT_TRUE(reports().empty());
    for (const auto& r : server.requests()) {
        EXPECT_NE(r.path.rfind("/files/", 0), 0u) << r.target;
    }
}

TEST_F(ToneListDownloadTest, EndsForTonesTheListNoLongerHolds) {
    show({record(1, "good.caf")});
    list->downloadDone(999);
    ASSERT_TRUE(settle());
    EXPECT_TRUE(reports().empty());
    EXPECT_TRUE(alerts().empty());

    list->downloadFailed(999); // the alert shows all the same
    expectOneDownloadErrorAlert();
    EXPECT_FALSE(list->mFMInfos()[0]->mISDownloading());
}

TEST_F(ToneListDownloadTest, ADownloadFinishingAfterItsRecordWasReplacedIsNotReported) {
    show({record(3, "held.caf")});
    tap(0);
    ASSERT_TRUE(
        RunLoop::main().runUntil([&] { return server.countFor("/files/held.caf") > 0; }, 10));
    show({record(4, "other.caf")}); // as a page-0 reply would
    server.release();
    ASSERT_TRUE(settle());
    EXPECT_EQ(dev.readFile(std::string(kTones) + "held.caf"), "HELD-BYTES");
    EXPECT_TRUE(reports().empty());
    EXPECT_TRUE(alerts().empty());
}

TEST_F(ToneListDownloadTest, GetIndexOfFMInfoByIDFindsTheFirstRecord) {
    show({record(5, "a.caf"), record(6, "b.caf"), record(6, "c.caf")});
    EXPECT_EQ(list->getIndexOfFMInfoByID(5), 0);
    EXPECT_EQ(list->getIndexOfFMInfoByID(6), 1);
    EXPECT_EQ(list->getIndexOfFMInfoByID(7), -1);
}

} // namespace
