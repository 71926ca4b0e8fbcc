#include "app/catalogue/ToneListController.h"

#include "app/catalogue/ServiceConfig.h"
#include "app/core/SharedStates.h"
#include "app/storage/StoreManager.h"
#include "app/storage/Utility.h"
#include "app/text/MyDateFormatter.h"
#include "app/text/VerticalAlign.h"
#include "app/transfers/DownloadManager.h"
#include "app/transfers/Preplayer.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSNotificationCenter.h"
#include "platform/foundation/UIDevice.h"
#include "platform/kits/RemoteImageView.h"
#include "platform/net/JsonRequest.h"
#include "platform/uikit/UIAlertView.h"
#include "platform/uikit/UIImageView.h"

#include <algorithm>

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

const char* iconNameForType(int32_t type) {
    switch (type) {
    case 0:
        return "new32";
    case -2:
        return "hot32";
    case -3:
        return "gift32";
    case 1:
        return "boys32";
    case 2:
        return "girls32";
    case 3:
        return "classic32";
    case 4:
        return "funny32";
    case 5:
        return "apple32";
    default:
        return nullptr;
    }
}

UIColor rgb(int r, int g, int b) {
    return UIColor::colorWithRed(r / 255.0, g / 255.0, b / 255.0, 1);
}

bool systemIsAtLeast7() {
    return UIDevice::currentDevice()->systemVersionFloat() >= 7.0f;
}

std::string format(const std::string& pattern, int value) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, pattern.c_str(), value);
    return buffer;
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
    auto cell = tableView->dequeueReusableCellWithIdentifier(kCellId);
    if (!cell) {
        cell = toneCell(tableView);
    }
    fillToneCell(cell, indexPath);
    return cell;
}

std::shared_ptr<UITableViewCell>
ToneListController::toneCell(const std::shared_ptr<UITableView>& tableView) {
    auto cell = UITableViewCell::initWithStyle(UITableViewCellStyleDefault, kCellId);
    cell->setSelectionStyle(UITableViewCellSelectionStyleNone);
    auto content = cell->contentView();

    auto icon = UIImageView::initWithFrame(CGRectMake(10, 10, 32, 32));
    icon->setTag(kIconTag);
    icon->setImage(getIconImageForCurrentType());
    content->addSubview(icon);

    auto name = UILabel::initWithFrame(CGRectMake(60, 7, 190, 40));
    name->setTag(kNameTag);
    name->setFont(UIFont::systemFontOfSize(15));
    name->setNumberOfLines(2);
    name->setBackgroundColor(UIColor::clearColor());
    content->addSubview(name);

    auto size = UILabel::initWithFrame(CGRectMake(60, 44, 50, 15));
    size->setTag(kSizeTag);
    size->setTextColor(UIColor::lightGrayColor());
    size->setFont(UIFont::systemFontOfSize(11));
    size->setBackgroundColor(UIColor::clearColor());
    content->addSubview(size);

    auto popularity = UILabel::initWithFrame(CGRectMake(110, 44, 140, 15));
    popularity->setTag(kPopularityTag);
    popularity->setTextColor(UIColor::lightGrayColor());
    popularity->setFont(UIFont::systemFontOfSize(11));
    popularity->setBackgroundColor(UIColor::clearColor());
    content->addSubview(popularity);

    auto button = TaggedRowButton::initWithFrame(CGRectMake(260, 27, 55, 25));
    button->setTag(kButtonTag);
    button->addTarget(std::weak_ptr<ToneListController>(self()), &ToneListController::buy,
                      UIControlEventTouchUpInside);
    content->addSubview(button);

    auto line = std::make_shared<UIView>(CGRectMake(1, 64, tableView->frame().size.width - 2, 1));
    line->setBackgroundColor(rgb(222, 222, 222));
    auto layer = line->layer();
    layer->setShadowColor(rgb(224, 224, 224));
    layer->setShadowOffset(CGSizeMake(0, -10));
    layer->setShadowOpacity(0.5f);
    layer->setShadowRadius(2);
    line->setClipsToBounds(false);
    layer->setCornerRadius(2);
    content->addSubview(line);
    return cell;
}

void ToneListController::fillToneCell(const std::shared_ptr<UITableViewCell>& cell,
                                      const NSIndexPath& indexPath) {
    const auto& info = mFMInfos_[static_cast<size_t>(indexPath.row())];
    auto content = cell->contentView();

    if (auto name = std::dynamic_pointer_cast<UILabel>(content->viewWithTag(kNameTag))) {
        char text[512];
        std::snprintf(text, sizeof text, "%d. %s", indexPath.row() + 1,
                      Utility::readableNameForCafFile(info->mName()).value_or("").c_str());
        name->setText(text);
        VerticalAlign::alignTop(*name);
    }
    if (auto size = std::dynamic_pointer_cast<UILabel>(content->viewWithTag(kSizeTag))) {
        size->setText(format("%d K", static_cast<int>(info->mSize())));
    }
    if (auto popularity =
            std::dynamic_pointer_cast<UILabel>(content->viewWithTag(kPopularityTag))) {
        popularity->setText(format(localized("selected by %d people"), info->mNumberDownloads()));
    }
    if (auto icon = std::dynamic_pointer_cast<UIImageView>(content->viewWithTag(kIconTag))) {
        RemoteImageView::setImageWithURL(icon, info->mIconURLStr(), getIconImageForCurrentType());
    }
    auto button = std::dynamic_pointer_cast<TaggedRowButton>(content->viewWithTag(kButtonTag));
    if (!button) {
        return;
    }
    std::string title;
    UIColor color;
    if (isFMDownloaded(*info)) {
        if (isFMSetAsCurrentTone(*info)) {
            title = "Current Selected";
            color = rgb(236, 83, 83);
        } else {
            title = "Set As Current Tone?";
            color = rgb(88, 162, 48);
        }
    } else if (info->mISDownloading()) {
        title = "Downloading";
        color = rgb(255, 118, 42);
        button->setEnabled(true);
    } else {
        title = "Download";
        color = UIColor::grayColor();
        button->setEnabled(true);
    }
    button->setTitle(localized(title), UIControlStateNormal);
    button->setNavigationButtonWithColor(color);
    if (systemIsAtLeast7()) {
        button->setMIndexPath(indexPath);
    }
}

void ToneListController::willDisplayCell(const std::shared_ptr<UITableView>& tableView,
                                         const std::shared_ptr<UITableViewCell>& cell,
                                         const NSIndexPath& indexPath) {
    // The next index is already in mPageIndex; a failed page is simply asked for again.
    if (isMoreRow(indexPath.row()) && !mIsLoading_) {
        loadData();
    }
}

std::shared_ptr<UIView>
ToneListController::viewForHeaderInSection(const std::shared_ptr<UITableView>& tableView,
                                           int section) {
    auto strip = UILabel::initWithFrame(CGRectMake(10, 0, 320, 5));
    strip->setFont(UIFont::systemFontOfSize(12));
    strip->setTextColor(UIColor::whiteColor());
    strip->setBackgroundColor(UIColor::colorWithRed(115 / 255.0, 126 / 255.0, 128 / 255.0, 0.5));
    const std::string date =
        mUpdateTime_ ? MyDateFormatter::lastUpdateTimeStringForDateWithPastHHMM(*mUpdateTime_)
                     : std::string("...");
    strip->setText("  " + localized("Last update") + ": " + date);
    return strip;
}

CGFloat ToneListController::heightForHeaderInSection(const std::shared_ptr<UITableView>& tableView,
                                                     int section) {
    return numberOfRowsInSection(tableView, section) > 0 ? 20 : 0;
}

std::shared_ptr<UIImage> ToneListController::getIconImageForCurrentType() {
    const char* name = iconNameForType(mType_);
    return name ? UIImage::imageNamed(name) : nullptr;
}

bool ToneListController::isFMDownloaded(const FMInfo& info) const {
    return std::find(mDowndoadedFileNames_.begin(), mDowndoadedFileNames_.end(), info.mName()) !=
           mDowndoadedFileNames_.end();
}

bool ToneListController::isFMPretoned(const FMInfo& info) const {
    const auto names = StoreManager::getPretonedFileNames();
    return names && std::find(names->begin(), names->end(), info.mName()) != names->end();
}

bool ToneListController::isFMSetAsCurrentTone(const FMInfo& info) const {
    return Utility::isCurrentSelectedTone(info.mName());
}

std::optional<NSIndexPath>
ToneListController::indexPathOfButton(const std::shared_ptr<TaggedRowButton>& sender) {
    if (!sender) {
        return std::nullopt;
    }
    if (systemIsAtLeast7()) {
        return sender->mIndexPath();
    }
    // Earlier systems: the button sits in the content view, which sits in the row.
    auto content = sender->superview();
    auto cell =
        std::dynamic_pointer_cast<UITableViewCell>(content ? content->superview() : nullptr);
    if (!cell) {
        return std::nullopt;
    }
    return tableView()->indexPathForCell(cell);
}

void ToneListController::buy(const std::shared_ptr<TaggedRowButton>& sender) {
    const auto indexPath = indexPathOfButton(sender);
    if (!indexPath || indexPath->row() < 0 ||
        indexPath->row() >= static_cast<int>(mFMInfos_.size())) {
        return;
    }
    auto info = mFMInfos_[static_cast<size_t>(indexPath->row())];
    if (isFMSetAsCurrentTone(*info)) {
        return;
    }
    if (isFMDownloaded(*info)) {
        if (Utility::selectTone(info->mName())) {
            tableView()->reloadData();
            SharedStates::shared()->showRespringNotice(
                localized("Respring your device to make the selection take effect?"));
        } else {
            Utility::showToneSelectedFailureNotice();
        }
        return;
    }
    if (!info->mISDownloading()) {
        startDownloadFM(info);
    }
}

bool ToneListController::startDownloadFM(const std::shared_ptr<FMInfo>& info) {
    info->setMISDownloading(true);
    if (isFMPretoned(*info)) {
        refresh();
        if (StoreManager::movePretoneToTones(info->mName())) {
            downloadDone(info->mID());
        } else {
            downloadFailed(info->mID());
        }
        return true;
    }
    const bool started = DownloadManager::shared()->startTaskForURL(
        info->mDownloadURLStr(), info->mName(), nullptr, info->mID(), self());
    refresh();
    // A refused task would never be told about: it ends as a failed fetch at once.
    if (!started) {
        downloadFailed(info->mID());
    }
    return true;
}

int ToneListController::getIndexOfFMInfoByID(int32_t fmId) const {
    for (size_t i = 0; i < mFMInfos_.size(); ++i) {
        if (mFMInfos_[i]->mID() == fmId) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void ToneListController::downloadDoneImpl(int taskID) {
    const int index = getIndexOfFMInfoByID(taskID);
    if (index < 0) {
        return;
    }
    mFMInfos_[static_cast<size_t>(index)]->setMISDownloading(false);
    refresh();
}

void ToneListController::downloadDone(int taskID) {
    downloadDoneImpl(taskID);
    const int index = getIndexOfFMInfoByID(taskID);
    if (index >= 0) {
        Utility::incNumOfDownloads(mFMInfos_[static_cast<size_t>(index)]->mID());
    }
}

void ToneListController::downloadFailed(int taskID) {
    downloadDoneImpl(taskID);
    auto alert = UIAlertView::initWithTitle(localized("Notice"), localized("Download error"), {},
                                            localized("Ok"));
    alert->show();
}

void ToneListController::didSelectRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
                                                 const NSIndexPath& indexPath) {
    if (indexPath.row() < 0 || indexPath.row() >= static_cast<int>(mFMInfos_.size())) {
        return;
    }
    const auto& info = mFMInfos_[static_cast<size_t>(indexPath.row())];
    if (isFMDownloaded(*info)) {
        std::string dir = StoreManager::getPathForDocumentsTonesDir();
        if (!dir.empty() && dir.back() != '/') {
            dir += '/';
        }
        Preplayer::playLocalFile(dir + info->mName());
    }
}
