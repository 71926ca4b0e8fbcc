#pragma once
// A scrolling list of rows in sections. Only the rows in view have cells: the data source is
// asked for a cell as its row comes into view, and a cell that leaves the view waits under
// its reuse identifier until dequeueReusableCellWithIdentifier hands it out again.
#include "platform/foundation/NSIndexPath.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UITableViewCell.h"
#include "platform/uikit/UITableViewDataSource.h"
#include "platform/uikit/UITableViewDelegate.h"
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

enum UITableViewStyle : int {
    UITableViewStylePlain = 0,
    UITableViewStyleGrouped = 1,
};

enum UITableViewScrollPosition : int {
    UITableViewScrollPositionNone = 0,
    UITableViewScrollPositionTop = 1,
    UITableViewScrollPositionMiddle = 2,
    UITableViewScrollPositionBottom = 3,
};

enum UITableViewRowAnimation : int {
    UITableViewRowAnimationFade = 0,
    UITableViewRowAnimationRight = 1,
    UITableViewRowAnimationLeft = 2,
    UITableViewRowAnimationTop = 3,
    UITableViewRowAnimationBottom = 4,
    UITableViewRowAnimationNone = 5,
    UITableViewRowAnimationMiddle = 6,
    UITableViewRowAnimationAutomatic = 100,
};

class UITableView : public UIScrollView {
public:
    UITableView(CGRect frame, int style);
    static std::shared_ptr<UITableView> initWithFrame(CGRect frame,
                                                      int style = UITableViewStylePlain) {
        return std::make_shared<UITableView>(frame, style);
    }

    int style() const { return style_; }

    std::shared_ptr<UITableViewDataSource> dataSource() const { return dataSource_.lock(); }
    void setDataSource(std::weak_ptr<UITableViewDataSource> ds) { dataSource_ = std::move(ds); }
    std::shared_ptr<UITableViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<UITableViewDelegate> d);

    CGFloat rowHeight() const { return rowHeight_; }
    void setRowHeight(CGFloat h) { rowHeight_ = h; }
    CGFloat sectionHeaderHeight() const { return sectionHeaderHeight_; }
    void setSectionHeaderHeight(CGFloat h) { sectionHeaderHeight_ = h; }
    CGFloat sectionFooterHeight() const { return sectionFooterHeight_; }
    void setSectionFooterHeight(CGFloat h) { sectionFooterHeight_ = h; }
    int separatorStyle() const { return separatorStyle_; }
    void setSeparatorStyle(int style);
    UIColor separatorColor() const { return separatorColor_; }
    void setSeparatorColor(UIColor c);

    // Above the first section / below the last, at their own heights, full width.
    const std::shared_ptr<UIView>& tableHeaderView() const { return tableHeaderView_; }
    void setTableHeaderView(std::shared_ptr<UIView> view);
    const std::shared_ptr<UIView>& tableFooterView() const { return tableFooterView_; }
    void setTableFooterView(std::shared_ptr<UIView> view);
    // Behind the rows, filling the visible area.
    const std::shared_ptr<UIView>& backgroundView() const { return backgroundView_; }
    void setBackgroundView(std::shared_ptr<UIView> view);

    // Asks the data source for everything again; the cells in view go back to the reuse pool
    // and the rows now in view get cells.
    void reloadData();
    int numberOfSections() const { return static_cast<int>(sections_.size()); }
    int numberOfRowsInSection(int section) const;

    // A cell that left the view under this identifier, made ready for reuse; or null.
    std::shared_ptr<UITableViewCell> dequeueReusableCellWithIdentifier(const std::string& id);

    // Rows in view only.
    std::shared_ptr<UITableViewCell> cellForRowAtIndexPath(const NSIndexPath& indexPath) const;
    std::optional<NSIndexPath> indexPathForCell(const std::shared_ptr<UITableViewCell>& cell) const;
    std::vector<std::shared_ptr<UITableViewCell>> visibleCells() const;
    std::vector<NSIndexPath> indexPathsForVisibleRows() const;
    // Content coordinates.
    std::optional<NSIndexPath> indexPathForRowAtPoint(CGPoint point) const;
    CGRect rectForRowAtIndexPath(const NSIndexPath& indexPath) const;
    CGRect rectForHeaderInSection(int section) const;
    CGRect rectForFooterInSection(int section) const;
    // The header / footer view now shown for a section, if it is in view.
    std::shared_ptr<UIView> headerViewForSection(int section) const;
    std::shared_ptr<UIView> footerViewForSection(int section) const;
    void scrollToRowAtIndexPath(const NSIndexPath& indexPath, int scrollPosition, bool animated);

    void selectRowAtIndexPath(const std::optional<NSIndexPath>& indexPath, bool animated,
                              int scrollPosition);
    void deselectRowAtIndexPath(const NSIndexPath& indexPath, bool animated);
    std::optional<NSIndexPath> indexPathForSelectedRow() const { return selected_; }

    // The data source has already dropped the rows; it is asked for the counts again and the
    // other rows keep their cells.
    void deleteRowsAtIndexPaths(const std::vector<NSIndexPath>& indexPaths, int animation);

    bool isEditing() const { return editing_; }
    // Leaving editing mode also closes an open delete confirmation.
    void setEditing(bool editing, bool animated = false);
    // The row whose delete confirmation shows, if any.
    std::optional<NSIndexPath> indexPathForDeleteConfirmation() const { return swipeRow_; }

    void layoutSubviews() override;
    void touchesBegan(UITouch& touch) override;
    void touchesMoved(UITouch& touch) override;
    void touchesEnded(UITouch& touch) override;
    void touchesCancelled(UITouch& touch) override;
    bool handlesPan() const override { return true; }
    void panBegan(CGPoint start, CGPoint current) override;
    void panMoved(CGPoint current) override;
    void panEnded(CGPoint current) override;
    std::string className() const override { return "UITableView"; }
    void describe(Json::Members& out) const override;

protected:
    void contentOffsetDidChange() override { tile(); }

private:
    struct Section {
        CGFloat headerY = 0, headerH = 0;
        std::vector<CGFloat> rowY, rowH;
        CGFloat footerY = 0, footerH = 0;
        std::optional<std::string> headerTitle, footerTitle;
    };
    enum class Pan { None, Scroll, Swipe };

    std::shared_ptr<UITableView> me();
    void computeLayout();
    void tile();
    void tileRows(const CGRect& visible);
    void tileSupplementary(const CGRect& visible, bool header);
    void placeFixedViews();
    void recycle(const std::shared_ptr<UITableViewCell>& cell);
    void dropAllCells();
    CGRect floatingHeaderRect(int section) const;
    bool validIndexPath(const NSIndexPath& ip) const;
    bool canSwipeDelete(const NSIndexPath& ip);
    void showDeleteConfirmation(const NSIndexPath& ip);
    void endSwipeEditing();
    void commitDeleteFromCell(const std::shared_ptr<UITableViewCell>& cell);
    void configureCell(const std::shared_ptr<UITableViewCell>& cell, const NSIndexPath& ip);

    int style_;
    std::weak_ptr<UITableViewDataSource> dataSource_;
    std::weak_ptr<UITableViewDelegate> delegate_;
    CGFloat rowHeight_ = 44;
    CGFloat sectionHeaderHeight_;
    CGFloat sectionFooterHeight_;
    int separatorStyle_ = UITableViewCellSeparatorStyleSingleLine;
    UIColor separatorColor_;
    std::shared_ptr<UIView> tableHeaderView_, tableFooterView_, backgroundView_;

    bool loaded_ = false;
    bool tiling_ = false;
    bool retile_ = false;
    std::vector<Section> sections_;
    std::map<NSIndexPath, std::shared_ptr<UITableViewCell>> visible_;
    std::map<std::string, std::vector<std::shared_ptr<UITableViewCell>>> reusePool_;
    std::map<int, std::shared_ptr<UIView>> headerViews_, footerViews_;

    std::optional<NSIndexPath> selected_;
    bool editing_ = false;
    std::optional<NSIndexPath> swipeRow_;

    std::optional<NSIndexPath> touchRow_;
    bool swallowTouch_ = false;
    Pan pan_ = Pan::None;
    CGPoint panStart_{};
    std::optional<NSIndexPath> panRow_;
};
