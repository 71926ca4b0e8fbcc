#pragma once
// One paged table of the catalogue's tones of one list type. Pages are asked for one at a
// time; page 0 replaces the records, every later page extends them.
#include "app/catalogue/FMInfo.h"
#include "app/controls/TaggedRowButton.h"
#include "app/transfers/DownloadManagerDelegate.h"
#include "platform/foundation/Json.h"
#include "platform/foundation/NSDate.h"
#include "platform/net/NetError.h"
#include "platform/uikit/UIActivityIndicatorView.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UITableViewController.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class ToneListController : public UITableViewController, public DownloadManagerDelegate {
public:
    // Subviews of a tone row, found again by tag when a row view is reused.
    static constexpr int kIconTag = 101;
    static constexpr int kNameTag = 102;
    static constexpr int kSizeTag = 103;
    static constexpr int kButtonTag = 104;
    static constexpr int kPopularityTag = 108;

    static constexpr int32_t kPageSize = 20;
    static constexpr double kPageTimeoutSeconds = 10;

    static std::shared_ptr<ToneListController> initWithType(int32_t type);
    explicit ToneListController(int32_t type); // use initWithType

    int32_t mType() const { return mType_; }
    void setMType(int32_t v) { mType_ = v; }
    int32_t mPageIndex() const { return mPageIndex_; }
    void setMPageIndex(int32_t v) { mPageIndex_ = v; }
    bool mIsLoading() const { return mIsLoading_; }
    void setMIsLoading(bool v) { mIsLoading_ = v; }
    bool mHasMoreData() const { return mHasMoreData_; }
    void setMHasMoreData(bool v) { mHasMoreData_ = v; }
    const std::optional<NSDate>& mUpdateTime() const { return mUpdateTime_; }
    void setMUpdateTime(std::optional<NSDate> v) { mUpdateTime_ = v; }
    const std::vector<std::shared_ptr<FMInfo>>& mFMInfos() const { return mFMInfos_; }
    void setMFMInfos(std::vector<std::shared_ptr<FMInfo>> v) { mFMInfos_ = std::move(v); }
    bool mNeedReload() const { return mNeedReload_; }
    void setMNeedReload(bool v) { mNeedReload_ = v; }
    const std::shared_ptr<UIActivityIndicatorView>& mPageLoadingIndicator() const {
        return mPageLoadingIndicator_;
    }
    void setMPageLoadingIndicator(std::shared_ptr<UIActivityIndicatorView> v) {
        mPageLoadingIndicator_ = std::move(v);
    }
    const std::vector<std::string>& mDowndoadedFileNames() const { return mDowndoadedFileNames_; }
    void setMDowndoadedFileNames(std::vector<std::string> v) {
        mDowndoadedFileNames_ = std::move(v);
    }

    // Page requests.
    void loadData();
    void loadSucessfully(const Json& json);
    void loadFailed(const NetError& error);

    // Re-reads the downloaded names; loads page 0 when there is nothing to show (or a
    // reload was asked for), else redraws.
    void refresh();
    // Page 0 again, unless a page is outstanding.
    void reLoad();
    // The application became active.
    void becomeActive();

    std::shared_ptr<UILabel> headerViewWithNotice(const std::string& notice);
    std::shared_ptr<UIImage> getIconImageForCurrentType();

    // A row's state, derived afresh at every redraw.
    bool isFMDownloaded(const FMInfo& info) const;
    bool isFMPretoned(const FMInfo& info) const;
    bool isFMSetAsCurrentTone(const FMInfo& info) const;

    // The row button's action: download, install, or nothing, by the row's state.
    void buy(const std::shared_ptr<TaggedRowButton>& sender);
    // Moves a pretone into place or starts a download; always YES.
    bool startDownloadFM(const std::shared_ptr<FMInfo>& info);
    int getIndexOfFMInfoByID(int32_t fmId) const;

    void downloadDone(int taskID) override;
    void downloadFailed(int taskID) override;
    void downloadDoneImpl(int taskID);

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    int numberOfRowsInSection(const std::shared_ptr<UITableView>& tableView, int section) override;
    std::shared_ptr<UITableViewCell>
    cellForRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
                          const NSIndexPath& indexPath) override;
    void willDisplayCell(const std::shared_ptr<UITableView>& tableView,
                         const std::shared_ptr<UITableViewCell>& cell,
                         const NSIndexPath& indexPath) override;
    std::shared_ptr<UIView> viewForHeaderInSection(const std::shared_ptr<UITableView>& tableView,
                                                   int section) override;
    CGFloat heightForHeaderInSection(const std::shared_ptr<UITableView>& tableView,
                                     int section) override;
    void didSelectRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
                                 const NSIndexPath& indexPath) override;

private:
    std::shared_ptr<ToneListController> self();
    // The row after the records that asks for the next page as it comes into view.
    bool isMoreRow(int row) const;
    std::shared_ptr<UITableViewCell> toneCell(const std::shared_ptr<UITableView>& tableView);
    void fillToneCell(const std::shared_ptr<UITableViewCell>& cell, const NSIndexPath& indexPath);
    std::optional<NSIndexPath> indexPathOfButton(const std::shared_ptr<TaggedRowButton>& sender);

    int32_t mType_ = 0;
    int32_t mPageIndex_ = 0;
    bool mIsLoading_ = false;
    bool mHasMoreData_ = false;
    std::optional<NSDate> mUpdateTime_;
    std::vector<std::shared_ptr<FMInfo>> mFMInfos_;
    bool mNeedReload_ = false;
    std::shared_ptr<UIActivityIndicatorView> mPageLoadingIndicator_;
    std::vector<std::string> mDowndoadedFileNames_;
};
