#include "app/catalogue/ToneListController.h"
#include "app/controls/TaggedRowButton.h"
#include "app/storage/StoreManager.h"
#include "app/storage/Utility.h"
#include "platform/foundation/NSUserDefaults.h"
#include "platform/foundation/RunLoop.h"
#include "platform/uikit/UIAlertView.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIWindow.h"
#include "service/ToneFile.h"
#include "tests/app/support/ScopedBaseURL.h"
#include "tests/app/support/StubServer.h"
#include "tests/support/TestDevice.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

// The rows of a tone list: what each row shows for its record and state, the strip above
// them, and what tapping a row does. Records are handed to the list directly; the network
// only answers the page requests that appearing makes.
namespace {

using testsupport::TestDevice;
namespace fs = std::filesystem;

constexpr const char* kTones = "/var/mobile/Documents/tones/";
constexpr const char* kPretones = "/var/mobile/Documents/pretones/";

UIColor rgb(int r, int g, int b) {
    return UIColor::colorWithRed(r / 255.0, g / 255.0, b / 255.0, 1);
}

std::shared_ptr<FMInfo> record(int32_t id, const std::string& name, double size = 12.5,
                               int32_t downloads = 3) {
    auto info = FMInfo::init();
    info->setMID(id);
    info->setMName(name);
    info->setMSize(size);
    info->setMNumberDownloads(downloads);
    return info;
}

class ToneListRowsTest : public testing::Test {
protected:
    virtual TestDevice::Options deviceOptions() const { return {.messenger = true}; }

    void SetUp() override {
        dev = std::make_unique<TestDevice>(deviceOptions());
        // Any page request ends quietly with nothing, leaving the handed records alone.
        server.on("/api/get_tones.php", [](const StubRequest&) {
            return StubReply{500, "text/plain", "none"};
        });
        ASSERT_TRUE(server.start());
        base = std::make_unique<ScopedBaseURL>(server.baseURL());
        StoreManager::load();
        Utility::load();
        window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
        window->setRootViewController(UIViewController::init());
        window->makeKeyAndVisible();
        list = ToneListController::initWithType(0);
        table = list->tableView();
    }

    void show(std::vector<std::shared_ptr<FMInfo>> records, bool hasMore = false) {
        list->setMFMInfos(std::move(records));
        list->setMHasMoreData(hasMore);
        list->refresh();
    }

    std::shared_ptr<UITableViewCell> cell(int row) {
        return list->cellForRowAtIndexPath(table, NSIndexPath::indexPathForRow(row, 0));
    }
    std::shared_ptr<TaggedRowButton> button(int row) {
        return std::dynamic_pointer_cast<TaggedRowButton>(
            cell(row)->contentView()->viewWithTag(ToneListController::kButtonTag));
    }
    std::string labelText(int row, int tag) {
        auto label = std::dynamic_pointer_cast<UILabel>(cell(row)->contentView()->viewWithTag(tag));
        return label ? label->text() : "<none>";
    }

    std::vector<std::shared_ptr<UIAlertView>> alerts() const {
        std::vector<std::shared_ptr<UIAlertView>> out;
        for (const auto& v : window->overlays()) {
            if (auto a = std::dynamic_pointer_cast<UIAlertView>(v)) {
                out.push_back(a);
            }
        }
        return out;
    }

    static bool settle() {
        return RunLoop::main().runUntil([] { return RunLoop::main().isIdle(); }, 15);
    }

    std::unique_ptr<TestDevice> dev;
    StubServer server;
    std::unique_ptr<ScopedBaseURL> base;
    std::shared_ptr<UIWindow> window;
    std::shared_ptr<ToneListController> list;
    std::shared_ptr<UITableView> table;
};

// ---- Row states ----

struct StateCase {
    const char* label;
    bool downloaded;
    bool current;
    bool downloading;
    const char* title;
    UIColor color;
};

class ToneListRowStateTest : public ToneListRowsTest,
                             public testing::WithParamInterface<StateCase> {};

TEST_P(ToneListRowStateTest, TitleAndColourFollowTheState) {
    const StateCase& c = GetParam();
    if (c.downloaded) {
        dev->writeFile(std::string(kTones) + "abc.caf", "tone");
    }
    if (c.current) {
        NSUserDefaults::standardUserDefaults()->setObject(std::string("abc.caf"),
                                                          Utility::kCurrentSelectedToneKey);
    }
    auto info = record(7, "abc.caf");
    info->setMISDownloading(c.downloading);
    show({info});
    auto b = button(0);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->titleForState(UIControlStateNormal).value_or(""), c.title);
    ASSERT_TRUE(b->tintColor());
    EXPECT_EQ(*b->tintColor(), c.color);
    EXPECT_TRUE(b->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    States, ToneListRowStateTest,
    testing::Values(
        StateCase{"Current", true, true, false, "Current Selected", rgb(236, 83, 83)},
        // A downloaded tone is never "Downloading", whatever its mark says.
        StateCase{"Downloaded", true, false, true, "Set As Current Tone?", rgb(88, 162, 48)},
        StateCase{"Downloading", false, false, true, "Downloading", rgb(255, 118, 42)},
        StateCase{"Remote", false, false, false, "Download", UIColor::grayColor()},
        // The current selection alone, without the file, is no Current row.
        StateCase{"SelectedButMissing", false, true, false, "Download", UIColor::grayColor()}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(ToneListRowsTest, DownloadedMeansExactlyTheSameNameInTheTonesListing) {
    dev->writeFile(std::string(kTones) + "Abc.caf", "tone");
    dev->writeFile(std::string(kTones) + "abc.caf.temp", "part");
    show({record(1, "abc.caf"), record(2, "Abc.caf")});
    EXPECT_FALSE(list->isFMDownloaded(*list->mFMInfos()[0]));
    EXPECT_TRUE(list->isFMDownloaded(*list->mFMInfos()[1]));
}

TEST_F(ToneListRowsTest, PretonedLooksAtTheDirectoryAfresh) {
    auto info = record(1, "p.caf");
    EXPECT_FALSE(list->isFMPretoned(*info));
    dev->writeFile(std::string(kPretones) + "p.caf", "tone");
    EXPECT_TRUE(list->isFMPretoned(*info));
    fs::remove_all(dev->hostPath(kPretones));
    EXPECT_FALSE(list->isFMPretoned(*info)); // unreadable counts as empty
}

TEST_F(ToneListRowsTest, ARowShowsItsRecord) {
    show({record(1, "first.caf"), record(2, "abc.caf", 10.9, 42)});
    EXPECT_EQ(labelText(1, ToneListController::kNameTag).rfind("2. abc", 0), 0u);
    EXPECT_EQ(labelText(1, ToneListController::kSizeTag), "10 K");
    EXPECT_EQ(labelText(1, ToneListController::kPopularityTag), "selected by 42 people");
    auto icon = std::dynamic_pointer_cast<UIImageView>(
        cell(1)->contentView()->viewWithTag(ToneListController::kIconTag));
    ASSERT_TRUE(icon);
    ASSERT_TRUE(icon->image()); // the list's icon stands in while nothing was fetched
    EXPECT_EQ(icon->image()->name(), "new32");
}

TEST_F(ToneListRowsTest, AReusedRowShowsItsNewRecordAndIndexPath) {
    show({record(1, "one.caf"), record(2, "two.caf")});
    auto first = cell(0);
    table->reloadData(); // hands the visible rows back for reuse
    auto again = list->cellForRowAtIndexPath(table, NSIndexPath::indexPathForRow(1, 0));
    auto name = std::dynamic_pointer_cast<UILabel>(
        again->contentView()->viewWithTag(ToneListController::kNameTag));
    ASSERT_TRUE(name);
    EXPECT_EQ(name->text().rfind("2. two", 0), 0u);
    auto b = std::dynamic_pointer_cast<TaggedRowButton>(
        again->contentView()->viewWithTag(ToneListController::kButtonTag));
    ASSERT_TRUE(b && b->mIndexPath());
    EXPECT_EQ(b->mIndexPath()->row(), 1);
}

TEST_F(ToneListRowsTest, TheRowLayoutIsFixed) {
    show({record(1, "a.caf")});
    auto content = cell(0)->contentView();
    const std::vector<std::pair<int, CGRect>> frames = {
        {ToneListController::kIconTag, CGRectMake(10, 10, 32, 32)},
        {ToneListController::kNameTag, CGRectMake(60, 7, 190, 40)},
        {ToneListController::kSizeTag, CGRectMake(60, 44, 50, 15)},
        {ToneListController::kPopularityTag, CGRectMake(110, 44, 140, 15)},
        {ToneListController::kButtonTag, CGRectMake(260, 27, 55, 25)},
    };
    for (const auto& [tag, frame] : frames) {
        auto v = content->viewWithTag(tag);
        ASSERT_TRUE(v) << tag;
        EXPECT_EQ(v->frame(), frame) << tag;
    }
    auto name =
        std::dynamic_pointer_cast<UILabel>(content->viewWithTag(ToneListController::kNameTag));
    EXPECT_EQ(name->numberOfLines(), 2);
    EXPECT_EQ(table->rowHeight(), 65);
}

// ---- Rows count, the more row and the strip ----

TEST_F(ToneListRowsTest, TheMoreRowFollowsTheRecordsOnlyWhileThereIsMore) {
    std::vector<std::shared_ptr<FMInfo>> twenty;
    for (int i = 0; i < 20; ++i) {
        twenty.push_back(record(i, "t" + std::to_string(i) + ".caf"));
    }
    struct Case {
        size_t records;
        bool hasMore;
        int rows;
    };
    for (const Case& c : {Case{20, true, 21}, Case{20, false, 20}, Case{0, true, 0},
                          Case{0, false, 0}, Case{1, true, 2}}) {
        list->setMFMInfos({twenty.begin(), twenty.begin() + static_cast<long>(c.records)});
        list->setMHasMoreData(c.hasMore);
        EXPECT_EQ(list->numberOfRowsInSection(table, 0), c.rows) << c.records << c.hasMore;
        EXPECT_EQ(list->heightForHeaderInSection(table, 0), c.rows > 0 ? 20 : 0);
    }
    list->setMFMInfos(twenty);
    list->setMHasMoreData(true);
    auto more = cell(20);
    EXPECT_EQ(more->reuseIdentifier(), "more_cell");
    EXPECT_FALSE(more->contentView()->viewWithTag(ToneListController::kButtonTag));
}

TEST_F(ToneListRowsTest, TheUpdateStripNamesTheLastUpdate) {
    show({record(1, "a.caf")});
    list->setMUpdateTime(std::nullopt);
    auto strip = std::dynamic_pointer_cast<UILabel>(list->viewForHeaderInSection(table, 0));
    ASSERT_TRUE(strip);
    EXPECT_EQ(strip->text(), "  Last update: ...");
    EXPECT_EQ(strip->font().pointSize, 12);
    EXPECT_EQ(strip->textColor(), UIColor::whiteColor());
    ASSERT_TRUE(strip->backgroundColor());
    EXPECT_EQ(*strip->backgroundColor(),
              UIColor::colorWithRed(115 / 255.0, 126 / 255.0, 128 / 255.0, 0.5));

    list->setMUpdateTime(NSDate::dateWithTimeIntervalSince1970(1700000000));
    strip = std::dynamic_pointer_cast<UILabel>(list->viewForHeaderInSection(table, 0));
    const std::string prefix = "  Last update: ";
    ASSERT_EQ(strip->text().rfind(prefix, 0), 0u);
    EXPECT_GT(strip->text().size(), prefix.size());
    EXPECT_NE(strip->text(), "  Last update: ...");
}

TEST_F(ToneListRowsTest, ShowingTheMoreRowInTheTableAsksForTheNextPageOnce) {
    std::vector<std::shared_ptr<FMInfo>> records;
    for (int i = 0; i < 20; ++i) {
        records.push_back(record(i, "t" + std::to_string(i) + ".caf"));
    }
    list->setMFMInfos(records);
    list->setMHasMoreData(true);
    list->setMPageIndex(1);
    table->setFrame(CGRectMake(0, 0, 320, 460));
    table->reloadData();
    table->layoutSubviews();
    ASSERT_TRUE(settle());
    EXPECT_EQ(server.countFor("/api/get_tones.php"), 0u);
    // Scrolled to the end, the more row comes into view while its page is asked for.
    table->scrollToRowAtIndexPath(NSIndexPath::indexPathForRow(20, 0),
                                  UITableViewScrollPositionBottom, false);
    table->layoutSubviews();
    table->reloadData();
    table->layoutSubviews();
    ASSERT_TRUE(settle());
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0].target, "/api/get_tones.php?pageIndex=1&pageSize=20&type=0");
}

// ---- Selecting a row ----

TEST_F(ToneListRowsTest, SelectingADownloadedRowPlaysItsFile) {
    const fs::path source = dev->root() / "source.caf";
    ASSERT_TRUE(chimora::service::ToneFile::writeMelody(source, {{880, 0.05}},
                                                        chimora::service::ToneFile::Wave::Sine));
    std::ifstream in(source, std::ios::binary);
    dev->writeFile(std::string(kTones) + "here.caf",
                   std::string(std::istreambuf_iterator<char>(in), {}));
    show({record(1, "remote.caf"), record(2, "here.caf")}, true);

    list->didSelectRowAtIndexPath(table, NSIndexPath::indexPathForRow(0, 0)); // remote
    list->didSelectRowAtIndexPath(table, NSIndexPath::indexPathForRow(2, 0)); // more row
    EXPECT_TRUE(dev->device().sounds().empty());

    list->didSelectRowAtIndexPath(table, NSIndexPath::indexPathForRow(1, 0));
    const auto sounds = dev->device().sounds();
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(sounds[0].source, std::string(kTones) + "here.caf");
}

// ---- The row button ----

TEST_F(ToneListRowsTest, TappingTheCurrentRowDoesNothing) {
    dev->writeFile(std::string(kTones) + "cur.caf", "tone");
    ASSERT_TRUE(Utility::selectTone("cur.caf"));
    const auto before = dev->readFile(dev->messengerBundle() + "/in.caf");
    show({record(1, "cur.caf")});
    button(0)->sendActionsForControlEvents(UIControlEventTouchUpInside);
    EXPECT_TRUE(alerts().empty());
    EXPECT_EQ(dev->readFile(dev->messengerBundle() + "/in.caf"), before);
    EXPECT_FALSE(list->mFMInfos()[0]->mISDownloading());
}

TEST_F(ToneListRowsTest, TappingADownloadedRowInstallsItAndOffersTheRespring) {
    dev->writeFile(std::string(kTones) + "old.caf", "old tone");
    dev->writeFile(std::string(kTones) + "new.caf", "new tone");
    ASSERT_TRUE(Utility::selectTone("old.caf"));
    show({record(1, "old.caf"), record(2, "new.caf")});
    button(1)->sendActionsForControlEvents(UIControlEventTouchUpInside);

    EXPECT_EQ(dev->readFile(dev->messengerBundle() + "/in.caf"), "new tone");
    EXPECT_EQ(button(1)->titleForState(UIControlStateNormal).value_or(""), "Current Selected");
    EXPECT_EQ(button(0)->titleForState(UIControlStateNormal).value_or(""), "Set As Current Tone?");
    auto shown = alerts();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0]->message(), "Respring your device to make the selection take effect?");
}

TEST_F(ToneListRowsTest, AFailedInstallationKeepsTheRowDownloaded) {
    dev->writeFile(std::string(kTones) + "new.caf", "new tone");
    fs::remove(dev->hostPath(dev->messengerBundle() + "/in.caf"));
    fs::remove_all(dev->hostPath(dev->messengerBundle()));
    Utility::load();
    show({record(2, "new.caf")});
    button(0)->sendActionsForControlEvents(UIControlEventTouchUpInside);
    EXPECT_EQ(button(0)->titleForState(UIControlStateNormal).value_or(""), "Set As Current Tone?");
    EXPECT_TRUE(alerts().empty()); // the failure is a transient notice, not the respring alert
}

TEST_F(ToneListRowsTest, AButtonWhosePathNamesNoRecordDoesNothing) {
    show({record(1, "a.caf")});
    auto b = button(0);
    for (std::optional<NSIndexPath> path :
         {std::optional<NSIndexPath>{}, std::optional(NSIndexPath::indexPathForRow(1, 0)),
          std::optional(NSIndexPath::indexPathForRow(-1, 0))}) {
        b->setMIndexPath(path);
        list->buy(b);
    }
    EXPECT_FALSE(list->mFMInfos()[0]->mISDownloading());
    EXPECT_TRUE(alerts().empty());
}

class ToneListLegacyRowsTest : public ToneListRowsTest {
protected:
    TestDevice::Options deviceOptions() const override {
        return {.legacyMessenger = true, .settings = {.systemVersion = "6.1"}};
    }
};

TEST_F(ToneListLegacyRowsTest, TheRowIsFoundFromTheButtonsParents) {
    dev->writeFile(std::string(kTones) + "b.caf", "b tone");
    show({record(1, "a.caf"), record(2, "b.caf")});
    table->setFrame(CGRectMake(0, 0, 320, 460));
    table->reloadData();
    table->layoutSubviews();
    auto row = table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(1, 0));
    ASSERT_TRUE(row);
    auto b = std::dynamic_pointer_cast<TaggedRowButton>(
        row->contentView()->viewWithTag(ToneListController::kButtonTag));
    ASSERT_TRUE(b);
    EXPECT_FALSE(b->mIndexPath()); // never given one on this system
    b->sendActionsForControlEvents(UIControlEventTouchUpInside);
    EXPECT_EQ(dev->readFile(dev->legacyMessengerBundle() + "/in.caf"), "b tone");
}

} // namespace
