#include "app/catalogue/ToneListController.h"

#include "app/catalogue/ServiceConfig.h"
#include "app/storage/StoreManager.h"
#include "app/transfers/DownloadManager.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSNotificationCenter.h"
#include "platform/foundation/UIDevice.h"
#include "platform/net/JsonRequest.h"

#include <cstdio>

namespace {

std::string localized(const std::string& key) {
    return NSBundle::mainBundle()->localizedStringForKey(key, "", "");
}

// The lists that name their screen; the newest and most popular lists live in tabs.
const char* titleKeyForType(int32_t type) {
    switch (type) {
    case -3:
        return "Recommanded";
    case 1:
        return "Boys'";
    case 2:
        return "Girls'";
    case 3:
        return "Classic";
    case 4:
        return "Funny";
    case 5:
        return "iPhone";
    default:
        return nullptr;
    }
}

const char kCellId[] = "Cell";
const char kMoreCellId[] = "more_cell";

} // namespace

ToneListController::ToneListController(int32_t type)
    : UITableViewController(UITableViewStylePlain), mType_(type) {}

std::shared_ptr<ToneListController> ToneListController::initWithType(int32_t type) {
    auto list = std::make_shared<ToneListController>(type);
    auto manager = DownloadManager::shared();
    manager->setMTargetDirPath(StoreManager::getPathForDocumentsTonesDir());
    manager->setMCacheDirPath(StoreManager::getPathForTonesCacheDir());

    // Held weakly by the centre: the registration goes away with the list.
    std::weak_ptr<ToneListController> weak = list;
    NSNotificationCenter::defaultCenter().addObserver(std::weak_ptr<void>(list),
                                                      UIApplicationDidBecomeActiveNotification,
                                                      [weak](const NSNotification&) {
                                                          if (auto strong = weak.lock()) {
                                                              strong->becomeActive();
                                                          }
                                                      });
    return list;
}

std::shared_ptr<ToneListController> ToneListController::self() {
    return std::static_pointer_cast<ToneListController>(shared_from_this());
}

void ToneListController::loadData() {
    if (mIsLoading_) {
        return;
    }
    mIsLoading_ = true;

    char path[128];
    std::snprintf(path, sizeof path, "api/get_tones.php?pageIndex=%d&pageSize=%d&type=%d",
                  static_cast<int>(mPageIndex_), static_cast<int>(kPageSize),
                  static_cast<int>(mType_));
    auto request =
        JsonRequest::requestWithURL(ServiceConfig::baseURL() + path, kPageTimeoutSeconds);
    request->addAcceptableContentType("text/html");
    // The request keeps the list alive until its reply has been handled.
    auto list = self();
    request->start([list](const Json& json) { list->loadSucessfully(json); },
                   [list](const NetError& error) { list->loadFailed(error); });
}

void ToneListController::loadSucessfully(const Json& json) {
    if (!json.isObject()) {
        loadFailed({NetError::Code::NotJson, 0, "the reply is not an object"});
        return;
    }
    mHasMoreData_ = FMInfo::readFlag(json, "hasMore");
    mUpdateTime_ = NSDate::dateWithTimeIntervalSince1970(FMInfo::readInt32(json, "updateTime"));

    std::vector<std::shared_ptr<FMInfo>> page;
    if (const Json* items = json.get("items")) {
        for (const Json& item : items->items()) {
            // An item that is no object carries no tone: it is left out, not guessed at.
            if (auto info = FMInfo::infoWithItem(item)) {
                page.push_back(std::move(info));
            }
        }
    }
    if (mPageIndex_ == 0) {
        mFMInfos_.clear();
    }
    mFMInfos_.insert(mFMInfos_.end(), page.begin(), page.end());

    // The view first: loading it may make the spinner, which this reply ends.
    auto table = tableView();
    if (mPageLoadingIndicator_) {
        mPageLoadingIndicator_->stopAnimating();
    }
    // Settled before the reload: the table asks for the rows in view during reloadData, and
    // a "more" row in view must ask for the next page, not this one again.
    mPageIndex_ += 1;
    mNeedReload_ = false;
    mIsLoading_ = false;

    table->reloadData();
    if (mFMInfos_.empty()) {
        table->setTableHeaderView(headerViewWithNotice(localized("No fms yet")));
    } else {
        table->setTableHeaderView(nullptr);
    }
}

void ToneListController::loadFailed(const NetError& error) {
    NSLog("comments load failure.");
    auto table = tableView();
    if (mPageLoadingIndicator_) {
        mPageLoadingIndicator_->stopAnimating();
    }
    mIsLoading_ = false;
    if (mFMInfos_.empty()) {
        table->setTableHeaderView(headerViewWithNotice(localized("No fms yet")));
    }
}

void ToneListController::refresh() {
    mDowndoadedFileNames_ = StoreManager::getDownloadedFileNames();
    if ((mFMInfos_.empty() || mNeedReload_) && !mIsLoading_) {
        reLoad();
        return;
    }
    tableView()->reloadData();
}

void ToneListController::reLoad() {
    if (mIsLoading_) {
        return;
    }
    mPageIndex_ = 0;
    loadData();
}

void ToneListController::becomeActive() {
    reLoad();
}

std::shared_ptr<UILabel> ToneListController::headerViewWithNotice(const std::string& notice) {
    auto label = UILabel::initWithFrame(CGRectMake(0, 0, 320, 50));
    label->setTextAlignment(NSTextAlignmentCenter);
    label->setTextColor(UIColor::grayColor());
    label->setFont(UIFont::systemFontOfSize(15));
    label->setText(notice);
    return label;
}

void ToneListController::viewDidLoad() {
    UITableViewController::viewDidLoad();
    if (UIDevice::currentDevice()->systemVersionFloat() >= 7.0f) {
        setEdgesForExtendedLayout(UIRectEdgeNone);
        setExtendedLayoutIncludesOpaqueBars(false);
        setModalPresentationCapturesStatusBarAppearance(false);
    }
    if (const char* key = titleKeyForType(mType_)) {
        setTitle(localized(key));
    }
    auto table = tableView();
    table->setRowHeight(65);
    table->setSeparatorStyle(UITableViewCellSeparatorStyleNone);

    // A reply that came before the view keeps its records; no spinner for those.
    if (mFMInfos_.empty()) {
        auto spinner = std::make_shared<UIActivityIndicatorView>(CGRectMake(0, 0, 32, 32),
                                                                 UIActivityIndicatorViewStyleGray);
        const CGRect bounds = table->bounds();
        spinner->setCenter(CGPointMake(bounds.size.width / 2, bounds.size.height / 2 - 150));
        table->addSubview(spinner);
        mPageLoadingIndicator_ = spinner;
        spinner->startAnimating();
    }
    // Cleared even with a request outstanding, so that the first appearance asks again.
    mIsLoading_ = false;
}

void ToneListController::viewWillAppear(bool animated) {
    UITableViewController::viewWillAppear(animated);
    refresh();
}

bool ToneListController::isMoreRow(int row) const {
    return mHasMoreData_ && row == static_cast<int>(mFMInfos_.size());
}

int ToneListController::numberOfRowsInSection(const std::shared_ptr<UITableView>& tableView,
                                              int section) {
    const int records = static_cast<int>(mFMInfos_.size());
    return records + (mHasMoreData_ && records > 0 ? 1 : 0);
}

std::shared_ptr<UITableViewCell>
ToneListController::cellForRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
                                          const NSIndexPath& indexPath) {
    if (isMoreRow(indexPath.row())) {
        if (auto reused = tableView->dequeueReusableCellWithIdentifier(kMoreCellId)) {
            return reused;
        }
        auto cell = UITableViewCell::initWithStyle(UITableViewCellStyleDefault, kMoreCellId);
        auto spinner = std::make_shared<UIActivityIndicatorView>(CGRectMake(100, 0, 40, 40),
                                                                 UIActivityIndicatorViewStyleGray);
        spinner->startAnimating();
        cell->contentView()->addSubview(spinner);
        auto label = UILabel::initWithFrame(CGRectMake(140, 0, 80, 40));
        label->setText(localized("Loading..."));
        label->setTextColor(UIColor::grayColor());
        cell->contentView()->addSubview(label);
        return cell;
    }
    // The tone row's content comes with the row buttons; until then a plain row.
    auto cell = tableView->dequeueReusableCellWithIdentifier(kCellId);
    if (!cell) {
        cell = UITableViewCell::initWithStyle(UITableViewCellStyleDefault, kCellId);
        cell->setSelectionStyle(UITableViewCellSelectionStyleNone);
    }
    return cell;
}

void ToneListController::willDisplayCell(const std::shared_ptr<UITableView>& tableView,
                                         const std::shared_ptr<UITableViewCell>& cell,
                                         const NSIndexPath& indexPath) {
    // The next index is already in mPageIndex; a failed page is simply asked for again.
    if (isMoreRow(indexPath.row()) && !mIsLoading_) {
        loadData();
    }
}
