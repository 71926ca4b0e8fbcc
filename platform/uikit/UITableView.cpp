#include "platform/uikit/UITableView.h"

#include "platform/render/Canvas.h"
#include "platform/uikit/NSStringDrawing.h"

#include <algorithm>
#include <set>

CGFloat UITableViewDelegate::heightForRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
                                                     const NSIndexPath&) {
    return tableView ? tableView->rowHeight() : 44;
}

namespace {

constexpr CGFloat kSwipeDistance = 30;
constexpr CGFloat kGroupedGap = 35;
const UIColor kGroupedBackground = UIColor::colorWithRed(239 / 255.0, 239 / 255.0, 244 / 255.0, 1);
const UIColor kPlainHeaderBackground =
    UIColor::colorWithRed(247 / 255.0, 247 / 255.0, 247 / 255.0, 1);
const UIColor kGroupedTitle = UIColor::colorWithRed(109 / 255.0, 109 / 255.0, 114 / 255.0, 1);

// The table's own header or footer for a section title.
class UITableViewHeaderFooterView : public UIView {
public:
    UITableViewHeaderFooterView(std::string text, bool grouped, bool footer)
        : text_(std::move(text)), grouped_(grouped), footer_(footer) {
        setBackgroundColor(grouped ? std::nullopt : std::optional(kPlainHeaderBackground));
        setUserInteractionEnabled(false);
    }
    void drawRect(render::Canvas& canvas, CGRect) const override {
        CGSize s = bounds().size;
        render::Font font{grouped_ ? 14.0 : 14.0, !grouped_, false};
        CGFloat lineH = ::sizeWithFont("A", UIFont{font.size, font.bold, false}).height;
        // Grouped titles sit just above the rows (headers) or just below them (footers).
        CGFloat y = !grouped_ ? (s.height - lineH) / 2 : footer_ ? 6 : s.height - lineH - 7;
        UIColor c = grouped_ ? kGroupedTitle : UIColor::blackColor();
        canvas.drawText(text_, {15, y, s.width - 30, lineH}, font, {c.red, c.green, c.blue, 1},
                        render::TextAlign::Left, render::LineBreak::TruncateTail, 1);
    }
    std::string className() const override { return "UITableViewHeaderFooterView"; }
    void describe(Json::Members& out) const override {
        out.emplace_back("text", Json::string(text_));
    }

private:
    std::string text_;
    bool grouped_;
    bool footer_;
};

bool intersects(CGFloat y, CGFloat h, const CGRect& r) {
    return h > 0 && y < r.maxY() && y + h > r.minY();
}

} // namespace

UITableView::UITableView(CGRect frame, int style)
    : UIScrollView(frame), style_(style),
      sectionHeaderHeight_(style == UITableViewStyleGrouped ? kGroupedGap : 22),
      sectionFooterHeight_(style == UITableViewStyleGrouped ? 0 : 22),
      separatorColor_(UIColor::colorWithRed(200 / 255.0, 199 / 255.0, 204 / 255.0, 1)) {
    setBackgroundColor(style == UITableViewStyleGrouped ? kGroupedBackground
                                                        : UIColor::whiteColor());
}

std::shared_ptr<UITableView> UITableView::me() {
    return std::static_pointer_cast<UITableView>(shared_from_this());
}

void UITableView::setDelegate(std::weak_ptr<UITableViewDelegate> d) {
    UIScrollView::setDelegate(std::weak_ptr<UIScrollViewDelegate>(d.lock()));
    delegate_ = std::move(d);
}

void UITableView::setSeparatorStyle(int style) {
    separatorStyle_ = style;
    for (const auto& [ip, cell] : visible_) {
        cell->setSeparator(separatorStyle_, separatorColor_, 15);
    }
}

void UITableView::setSeparatorColor(UIColor c) {
    separatorColor_ = c;
    setSeparatorStyle(separatorStyle_);
}

void UITableView::setTableHeaderView(std::shared_ptr<UIView> view) {
    if (tableHeaderView_) {
        tableHeaderView_->removeFromSuperview();
    }
    tableHeaderView_ = std::move(view);
    if (tableHeaderView_) {
        addSubview(tableHeaderView_);
    }
    if (loaded_) {
        computeLayout();
        tile();
    }
}

void UITableView::setTableFooterView(std::shared_ptr<UIView> view) {
    if (tableFooterView_) {
        tableFooterView_->removeFromSuperview();
    }
    tableFooterView_ = std::move(view);
    if (tableFooterView_) {
        addSubview(tableFooterView_);
    }
    if (loaded_) {
        computeLayout();
        tile();
    }
}

void UITableView::setBackgroundView(std::shared_ptr<UIView> view) {
    if (backgroundView_) {
        backgroundView_->removeFromSuperview();
    }
    backgroundView_ = std::move(view);
    if (backgroundView_) {
        insertSubviewAtIndex(backgroundView_, 0);
        backgroundView_->setFrame(bounds());
    }
}

int UITableView::numberOfRowsInSection(int section) const {
    if (section < 0 || section >= numberOfSections()) {
        return 0;
    }
    return static_cast<int>(sections_[static_cast<size_t>(section)].rowY.size());
}

bool UITableView::validIndexPath(const NSIndexPath& ip) const {
    return ip.row() >= 0 && ip.row() < numberOfRowsInSection(ip.section());
}

void UITableView::computeLayout() {
    auto self = me();
    auto ds = dataSource();
    auto del = delegate();
    bool grouped = style_ == UITableViewStyleGrouped;
    CGFloat y = tableHeaderView_ ? tableHeaderView_->frame().size.height : 0;
    int count = ds ? std::max(0, ds->numberOfSectionsInTableView(self)) : 0;
    sections_.assign(static_cast<size_t>(count), Section{});
    for (int s = 0; s < count; ++s) {
        Section& sec = sections_[static_cast<size_t>(s)];
        sec.headerTitle = ds->titleForHeaderInSection(self, s);
        sec.footerTitle = ds->titleForFooterInSection(self, s);
        bool headerTitle = sec.headerTitle && !sec.headerTitle->empty();
        bool footerTitle = sec.footerTitle && !sec.footerTitle->empty();
        CGFloat hh = del ? del->heightForHeaderInSection(self, s) : UITableViewAutomaticDimension;
        if (hh < 0) {
            hh = grouped ? sectionHeaderHeight_ + (headerTitle ? 20 : 0)
                         : (headerTitle ? sectionHeaderHeight_ : 0);
        }
        sec.headerY = y;
        sec.headerH = hh;
        y += hh;
        int rows = std::max(0, ds->numberOfRowsInSection(self, s));
        sec.rowY.reserve(static_cast<size_t>(rows));
        sec.rowH.reserve(static_cast<size_t>(rows));
        for (int r = 0; r < rows; ++r) {
            auto ip = NSIndexPath::indexPathForRow(r, s);
            CGFloat h = del ? del->heightForRowAtIndexPath(self, ip) : rowHeight_;
            sec.rowY.push_back(y);
            sec.rowH.push_back(std::max<CGFloat>(0, h));
            y += sec.rowH.back();
        }
        CGFloat fh = del ? del->heightForFooterInSection(self, s) : UITableViewAutomaticDimension;
        if (fh < 0) {
            fh = footerTitle ? (grouped ? 30 : sectionFooterHeight_)
                             : (grouped ? sectionFooterHeight_ : 0);
        }
        sec.footerY = y;
        sec.footerH = fh;
        y += fh;
    }
    if (tableFooterView_) {
        y += tableFooterView_->frame().size.height;
    }
    setContentSize(CGSizeMake(bounds().size.width, y));
}

void UITableView::reloadData() {
    endSwipeEditing();
    dropAllCells();
    loaded_ = true;
    computeLayout();
    if (selected_ && !validIndexPath(*selected_)) {
        selected_.reset();
    }
    tile();
}

void UITableView::dropAllCells() {
    auto cells = std::move(visible_);
    visible_.clear();
    for (const auto& [ip, cell] : cells) {
        recycle(cell);
    }
    for (auto* views : {&headerViews_, &footerViews_}) {
        for (const auto& [s, v] : *views) {
            v->removeFromSuperview();
        }
        views->clear();
    }
}

void UITableView::recycle(const std::shared_ptr<UITableViewCell>& cell) {
    cell->removeFromSuperview();
    cell->setHighlighted(false);
    if (!cell->reuseIdentifier().empty()) {
        reusePool_[cell->reuseIdentifier()].push_back(cell);
    }
}

std::shared_ptr<UITableViewCell>
UITableView::dequeueReusableCellWithIdentifier(const std::string& id) {
    auto it = reusePool_.find(id);
    if (it == reusePool_.end() || it->second.empty()) {
        return nullptr;
    }
    auto cell = it->second.back();
    it->second.pop_back();
    cell->prepareForReuse();
    return cell;
}

void UITableView::layoutSubviews() {
    if (!loaded_) {
        reloadData();
        return;
    }
    tile();
}

void UITableView::configureCell(const std::shared_ptr<UITableViewCell>& cell,
                                const NSIndexPath& ip) {
    const Section& sec = sections_[static_cast<size_t>(ip.section())];
    auto r = static_cast<size_t>(ip.row());
    cell->setFrame(CGRectMake(0, sec.rowY[r], bounds().size.width, sec.rowH[r]));
    cell->setSeparator(separatorStyle_, separatorColor_, 15);
    cell->layoutIfNeeded();
}

// Re-entrant calls (a data source that reloads from inside cellForRowAtIndexPath or
// willDisplayCell) run once more after the current pass instead of nesting.
void UITableView::tile() {
    if (!loaded_) {
        return;
    }
    if (tiling_) {
        retile_ = true;
        return;
    }
    tiling_ = true;
    for (int pass = 0; pass < 4; ++pass) {
        retile_ = false;
        CGRect visible = bounds();
        placeFixedViews();
        tileRows(visible);
        tileSupplementary(visible, true);
        tileSupplementary(visible, false);
        if (!retile_) {
            break;
        }
    }
    tiling_ = false;
}

void UITableView::placeFixedViews() {
    CGFloat w = bounds().size.width;
    setContentSize(CGSizeMake(w, contentSize().height));
    if (tableHeaderView_) {
        CGRect f = tableHeaderView_->frame();
        tableHeaderView_->setFrame(CGRectMake(0, 0, w, f.size.height));
    }
    if (tableFooterView_) {
        CGRect f = tableFooterView_->frame();
        tableFooterView_->setFrame(
            CGRectMake(0, contentSize().height - f.size.height, w, f.size.height));
    }
    if (backgroundView_) {
        backgroundView_->setFrame(bounds());
        sendSubviewToBack(backgroundView_);
    }
}

void UITableView::tileRows(const CGRect& visible) {
    std::set<NSIndexPath> wanted;
    for (size_t s = 0; s < sections_.size(); ++s) {
        const Section& sec = sections_[s];
        for (size_t r = 0; r < sec.rowY.size(); ++r) {
            if (intersects(sec.rowY[r], sec.rowH[r], visible)) {
                wanted.insert(
                    NSIndexPath::indexPathForRow(static_cast<int>(r), static_cast<int>(s)));
            }
        }
    }
    for (auto it = visible_.begin(); it != visible_.end();) {
        if (wanted.count(it->first) == 0) {
            if (swipeRow_ && *swipeRow_ == it->first) {
                endSwipeEditing();
            }
            auto cell = it->second;
            it = visible_.erase(it);
            recycle(cell);
        } else {
            configureCell(it->second, it->first);
            ++it;
        }
    }
    auto ds = dataSource();
    if (!ds) {
        return;
    }
    auto self = me();
    for (const auto& ip : wanted) {
        if (visible_.count(ip) != 0) {
            continue;
        }
        auto cell = ds->cellForRowAtIndexPath(self, ip);
        if (!cell || retile_ || !validIndexPath(ip)) {
            // The data source reloaded meanwhile: the next pass starts over.
            if (retile_) {
                break;
            }
            continue;
        }
        visible_[ip] = cell;
        insertSubviewAtIndex(cell, backgroundView_ ? 1 : 0);
        configureCell(cell, ip);
        cell->setSelected(selected_ && *selected_ == ip);
        cell->setEditing(editing_ && !swipeRow_);
        if (auto del = delegate()) {
            del->willDisplayCell(self, cell, ip);
        }
        if (retile_) {
            break;
        }
    }
}

CGRect UITableView::floatingHeaderRect(int section) const {
    const Section& sec = sections_[static_cast<size_t>(section)];
    CGRect r = CGRectMake(0, sec.headerY, bounds().size.width, sec.headerH);
    if (style_ == UITableViewStylePlain) {
        // Plain headers stay at the top while their section's rows scroll under them.
        CGFloat top = bounds().origin.y + contentInset().top;
        CGFloat y = std::max(sec.headerY, top);
        y = std::min(y, sec.footerY - sec.headerH);
        r.origin.y = std::max(sec.headerY, y);
    }
    return r;
}

void UITableView::tileSupplementary(const CGRect& visible, bool header) {
    auto& views = header ? headerViews_ : footerViews_;
    auto self = me();
    auto del = delegate();
    bool grouped = style_ == UITableViewStyleGrouped;
    for (int s = 0; s < numberOfSections(); ++s) {
        const Section& sec = sections_[static_cast<size_t>(s)];
        CGRect r = header ? floatingHeaderRect(s)
                          : CGRectMake(0, sec.footerY, bounds().size.width, sec.footerH);
        bool show = intersects(r.origin.y, r.size.height, visible);
        auto it = views.find(s);
        if (!show) {
            if (it != views.end()) {
                it->second->removeFromSuperview();
                views.erase(it);
            }
            continue;
        }
        if (it == views.end()) {
            std::shared_ptr<UIView> v;
            if (del) {
                v = header ? del->viewForHeaderInSection(self, s)
                           : del->viewForFooterInSection(self, s);
            }
            const auto& title = header ? sec.headerTitle : sec.footerTitle;
            if (!v && title && !title->empty()) {
                v = std::make_shared<UITableViewHeaderFooterView>(*title, grouped, !header);
            }
            if (!v) {
                continue;
            }
            it = views.emplace(s, v).first;
            addSubview(v);
        }
        it->second->setFrame(r);
        bringSubviewToFront(it->second);
    }
}

std::shared_ptr<UIView> UITableView::headerViewForSection(int section) const {
    auto it = headerViews_.find(section);
    return it == headerViews_.end() ? nullptr : it->second;
}

std::shared_ptr<UIView> UITableView::footerViewForSection(int section) const {
    auto it = footerViews_.find(section);
    return it == footerViews_.end() ? nullptr : it->second;
}

std::shared_ptr<UITableViewCell>
UITableView::cellForRowAtIndexPath(const NSIndexPath& indexPath) const {
    auto it = visible_.find(indexPath);
    return it == visible_.end() ? nullptr : it->second;
}

std::optional<NSIndexPath>
UITableView::indexPathForCell(const std::shared_ptr<UITableViewCell>& cell) const {
    for (const auto& [ip, c] : visible_) {
        if (c == cell) {
            return ip;
        }
    }
    return std::nullopt;
}

std::vector<std::shared_ptr<UITableViewCell>> UITableView::visibleCells() const {
    std::vector<std::shared_ptr<UITableViewCell>> out;
    for (const auto& [ip, c] : visible_) {
        out.push_back(c);
    }
    return out;
}

std::vector<NSIndexPath> UITableView::indexPathsForVisibleRows() const {
    std::vector<NSIndexPath> out;
    for (const auto& [ip, c] : visible_) {
        out.push_back(ip);
    }
    return out;
}

std::optional<NSIndexPath> UITableView::indexPathForRowAtPoint(CGPoint p) const {
    for (size_t s = 0; s < sections_.size(); ++s) {
        const Section& sec = sections_[s];
        for (size_t r = 0; r < sec.rowY.size(); ++r) {
            if (p.y >= sec.rowY[r] && p.y < sec.rowY[r] + sec.rowH[r]) {
                return NSIndexPath::indexPathForRow(static_cast<int>(r), static_cast<int>(s));
            }
        }
    }
    return std::nullopt;
}

CGRect UITableView::rectForRowAtIndexPath(const NSIndexPath& ip) const {
    if (!validIndexPath(ip)) {
        return CGRectZero;
    }
    const Section& sec = sections_[static_cast<size_t>(ip.section())];
    auto r = static_cast<size_t>(ip.row());
    return CGRectMake(0, sec.rowY[r], bounds().size.width, sec.rowH[r]);
}

CGRect UITableView::rectForHeaderInSection(int section) const {
    if (section < 0 || section >= numberOfSections()) {
        return CGRectZero;
    }
    const Section& sec = sections_[static_cast<size_t>(section)];
    return CGRectMake(0, sec.headerY, bounds().size.width, sec.headerH);
}

CGRect UITableView::rectForFooterInSection(int section) const {
    if (section < 0 || section >= numberOfSections()) {
        return CGRectZero;
    }
    const Section& sec = sections_[static_cast<size_t>(section)];
    return CGRectMake(0, sec.footerY, bounds().size.width, sec.footerH);
}

void UITableView::scrollToRowAtIndexPath(const NSIndexPath& ip, int position, bool animated) {
    if (!loaded_) {
        reloadData();
    }
    if (!validIndexPath(ip)) {
        return;
    }
    CGRect r = rectForRowAtIndexPath(ip);
    CGRect b = bounds();
    CGFloat header =
        style_ == UITableViewStylePlain ? sections_[static_cast<size_t>(ip.section())].headerH : 0;
    CGFloat y = b.origin.y;
    switch (position) {
    case UITableViewScrollPositionTop:
        y = r.minY() - header;
        break;
    case UITableViewScrollPositionMiddle:
        y = r.midY() - b.size.height / 2;
        break;
    case UITableViewScrollPositionBottom:
        y = r.maxY() - b.size.height;
        break;
    default:
        if (r.minY() - header < b.minY()) {
            y = r.minY() - header;
        } else if (r.maxY() > b.maxY()) {
            y = r.maxY() - b.size.height;
        }
        break;
    }
    setContentOffset(clampedOffset(CGPointMake(b.origin.x, y)), animated);
}

void UITableView::selectRowAtIndexPath(const std::optional<NSIndexPath>& ip, bool animated,
                                       int scrollPosition) {
    if (selected_) {
        deselectRowAtIndexPath(*selected_, animated);
    }
    if (!ip || !validIndexPath(*ip)) {
        return;
    }
    selected_ = ip;
    if (auto cell = cellForRowAtIndexPath(*ip)) {
        cell->setSelected(true, animated);
    }
    if (scrollPosition != UITableViewScrollPositionNone) {
        scrollToRowAtIndexPath(*ip, scrollPosition, animated);
    }
}

void UITableView::deselectRowAtIndexPath(const NSIndexPath& ip, bool animated) {
    if (selected_ && *selected_ == ip) {
        selected_.reset();
    }
    if (auto cell = cellForRowAtIndexPath(ip)) {
        cell->setSelected(false, animated);
    }
}

void UITableView::deleteRowsAtIndexPaths(const std::vector<NSIndexPath>& indexPaths, int) {
    if (!loaded_) {
        return;
    }
    std::map<int, std::set<int>> gone;
    for (const auto& ip : indexPaths) {
        if (validIndexPath(ip)) {
            gone[ip.section()].insert(ip.row());
        }
    }
    auto shift = [&gone](const NSIndexPath& ip) -> std::optional<NSIndexPath> {
        auto it = gone.find(ip.section());
        if (it == gone.end()) {
            return ip;
        }
        if (it->second.count(ip.row()) != 0) {
            return std::nullopt;
        }
        auto below = std::distance(it->second.begin(), it->second.lower_bound(ip.row()));
        return NSIndexPath::indexPathForRow(ip.row() - static_cast<int>(below), ip.section());
    };
    // The counts the data source must now answer; anything else is handled as a reload.
    std::vector<int> expected;
    for (int s = 0; s < numberOfSections(); ++s) {
        auto it = gone.find(s);
        expected.push_back(numberOfRowsInSection(s) -
                           (it == gone.end() ? 0 : static_cast<int>(it->second.size())));
    }
    if (swipeRow_) {
        auto moved = shift(*swipeRow_);
        if (!moved) {
            endSwipeEditing();
        } else {
            swipeRow_ = moved;
        }
    }
    if (selected_) {
        selected_ = shift(*selected_);
    }
    std::map<NSIndexPath, std::shared_ptr<UITableViewCell>> kept;
    for (const auto& [ip, cell] : visible_) {
        if (auto moved = shift(ip)) {
            kept[*moved] = cell;
        } else {
            recycle(cell);
        }
    }
    visible_ = std::move(kept);
    computeLayout();
    bool consistent = numberOfSections() == static_cast<int>(expected.size());
    for (int s = 0; consistent && s < numberOfSections(); ++s) {
        consistent = numberOfRowsInSection(s) == expected[static_cast<size_t>(s)];
    }
    if (!consistent) {
        reloadData();
        return;
    }
    CGPoint o = contentOffset();
    CGPoint max = maximumContentOffset();
    if (o.y > max.y) {
        setContentOffset(CGPointMake(o.x, max.y));
    }
    tile();
}

void UITableView::setEditing(bool editing, bool animated) {
    if (!editing) {
        endSwipeEditing();
    }
    editing_ = editing;
    for (const auto& [ip, cell] : visible_) {
        cell->setEditing(editing, animated);
    }
}

bool UITableView::canSwipeDelete(const NSIndexPath& ip) {
    auto ds = dataSource();
    if (!ds || editing_ || !validIndexPath(ip) || !ds->canEditRowAtIndexPath(me(), ip)) {
        return false;
    }
    auto del = delegate();
    int style =
        del ? del->editingStyleForRowAtIndexPath(me(), ip) : UITableViewCellEditingStyleDelete;
    return style == UITableViewCellEditingStyleDelete;
}

void UITableView::showDeleteConfirmation(const NSIndexPath& ip) {
    auto cell = cellForRowAtIndexPath(ip);
    if (!cell) {
        return;
    }
    auto del = delegate();
    std::string title =
        del ? del->titleForDeleteConfirmationButtonForRowAtIndexPath(me(), ip) : "Delete";
    std::weak_ptr<UITableView> weakTable = me();
    std::weak_ptr<UITableViewCell> weakCell = cell;
    swipeRow_ = ip;
    // On the device the table is in editing mode while a confirmation shows.
    editing_ = true;
    cell->showDeleteConfirmation(title, [weakTable, weakCell] {
        auto table = weakTable.lock();
        auto c = weakCell.lock();
        if (table && c) {
            table->commitDeleteFromCell(c);
        }
    });
}

void UITableView::endSwipeEditing() {
    if (!swipeRow_) {
        return;
    }
    if (auto cell = cellForRowAtIndexPath(*swipeRow_)) {
        cell->hideDeleteConfirmation();
    }
    swipeRow_.reset();
    editing_ = false;
}

void UITableView::commitDeleteFromCell(const std::shared_ptr<UITableViewCell>& cell) {
    auto ip = indexPathForCell(cell);
    endSwipeEditing();
    auto ds = dataSource();
    if (ip && ds) {
        ds->commitEditingStyle(me(), UITableViewCellEditingStyleDelete, *ip);
    }
}

// A touch that ends where it began, without becoming a drag, selects the row. While a delete
// confirmation shows, the first touch only closes it.
void UITableView::touchesBegan(UITouch& touch) {
    touchRow_.reset();
    swallowTouch_ = false;
    if (swipeRow_) {
        endSwipeEditing();
        swallowTouch_ = true;
        return;
    }
    if (editing_) {
        return;
    }
    CGPoint p = convertPointFromView(touch.windowLocation, nullptr);
    touchRow_ = indexPathForRowAtPoint(p);
    if (touchRow_) {
        if (auto cell = cellForRowAtIndexPath(*touchRow_)) {
            cell->setHighlighted(true);
        }
    }
}

void UITableView::touchesMoved(UITouch& touch) {
    if (!touchRow_) {
        return;
    }
    CGPoint p = convertPointFromView(touch.windowLocation, nullptr);
    auto now = indexPathForRowAtPoint(p);
    if (auto cell = cellForRowAtIndexPath(*touchRow_)) {
        cell->setHighlighted(now && *now == *touchRow_);
    }
}

void UITableView::touchesEnded(UITouch& touch) {
    auto row = touchRow_;
    touchRow_.reset();
    if (swallowTouch_ || !row) {
        swallowTouch_ = false;
        return;
    }
    if (auto cell = cellForRowAtIndexPath(*row)) {
        cell->setHighlighted(false);
    }
    CGPoint p = convertPointFromView(touch.windowLocation, nullptr);
    auto now = indexPathForRowAtPoint(p);
    if (!now || *now != *row) {
        return;
    }
    auto self = me();
    selectRowAtIndexPath(*row, false, UITableViewScrollPositionNone);
    if (auto del = delegate()) {
        del->didSelectRowAtIndexPath(self, *row);
    }
}

void UITableView::touchesCancelled(UITouch&) {
    if (touchRow_) {
        if (auto cell = cellForRowAtIndexPath(*touchRow_)) {
            cell->setHighlighted(false);
        }
    }
    touchRow_.reset();
    swallowTouch_ = false;
}

// A drag that starts mostly leftwards over a row that may be deleted offers Delete; any other
// drag scrolls. A drag while a confirmation shows only closes it.
void UITableView::panBegan(CGPoint start, CGPoint current) {
    pan_ = Pan::None;
    panRow_.reset();
    if (swipeRow_) {
        endSwipeEditing();
        return;
    }
    CGFloat dx = current.x - start.x, dy = current.y - start.y;
    if (dx < 0 && -dx > std::abs(dy)) {
        auto ip = indexPathForRowAtPoint(convertPointFromView(start, nullptr));
        if (ip && canSwipeDelete(*ip)) {
            pan_ = Pan::Swipe;
            panRow_ = ip;
            panStart_ = start;
            return;
        }
    }
    if (!isScrollEnabled()) {
        return;
    }
    pan_ = Pan::Scroll;
    UIScrollView::panBegan(start, current);
}

void UITableView::panMoved(CGPoint current) {
    if (pan_ == Pan::Scroll) {
        UIScrollView::panMoved(current);
    }
}

void UITableView::panEnded(CGPoint current) {
    Pan pan = pan_;
    pan_ = Pan::None;
    if (pan == Pan::Scroll) {
        UIScrollView::panEnded(current);
    } else if (pan == Pan::Swipe && panRow_ && panStart_.x - current.x >= kSwipeDistance) {
        showDeleteConfirmation(*panRow_);
    }
    panRow_.reset();
}

void UITableView::describe(Json::Members& out) const {
    UIScrollView::describe(out);
    out.emplace_back("style", Json::number(style_));
    out.emplace_back("editing", Json::boolean(editing_));
}
