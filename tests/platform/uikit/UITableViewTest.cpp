#include "platform/uikit/UITableView.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

// Readable index paths in failure messages.
void PrintTo(const NSIndexPath& p, std::ostream* os) {
    *os << "[" << p.section() << "," << p.row() << "]";
}

namespace {

using Paths = std::vector<NSIndexPath>;

NSIndexPath row(int r, int s = 0) {
    return NSIndexPath::indexPathForRow(r, s);
}

// A data source and delegate that records what the table asks and tells.
class Rows : public UITableViewDataSource, public UITableViewDelegate {
public:
    std::vector<int> rowsPerSection{100};
    std::map<int, std::string> headerTitles;
    std::optional<CGFloat> headerHeight; // absent: automatic
    bool headerViews = false;
    bool editable = false;
    bool buttonInCells = false;

    int sectionQuestions = 0;
    std::vector<int> rowQuestions;
    Paths cellRequests, displayed, selected;
    std::vector<std::pair<int, NSIndexPath>> commits;
    int cellsMade = 0;
    std::vector<int> headerViewRequests;

    int numberOfSectionsInTableView(const std::shared_ptr<UITableView>&) override {
        ++sectionQuestions;
        return static_cast<int>(rowsPerSection.size());
    }
    int numberOfRowsInSection(const std::shared_ptr<UITableView>&, int section) override {
        rowQuestions.push_back(section);
        return rowsPerSection[static_cast<size_t>(section)];
    }
    std::shared_ptr<UITableViewCell> cellForRowAtIndexPath(const std::shared_ptr<UITableView>& tv,
                                                           const NSIndexPath& ip) override {
        cellRequests.push_back(ip);
        auto cell = tv->dequeueReusableCellWithIdentifier("Cell");
        if (!cell) {
            ++cellsMade;
            cell = UITableViewCell::initWithStyle(UITableViewCellStyleDefault, "Cell");
            if (buttonInCells) {
                auto button = UIButton::buttonWithType(UIButtonTypeCustom);
                button->setFrame(CGRectMake(260, 5, 50, 30));
                button->setTag(104);
                cell->contentView()->addSubview(button);
            }
        }
        cell->textLabel()->setText(std::to_string(ip.section()) + "." + std::to_string(ip.row()));
        return cell;
    }
    std::optional<std::string> titleForHeaderInSection(const std::shared_ptr<UITableView>&,
                                                       int section) override {
        auto it = headerTitles.find(section);
        return it == headerTitles.end() ? std::nullopt : std::optional(it->second);
    }
    bool canEditRowAtIndexPath(const std::shared_ptr<UITableView>&, const NSIndexPath&) override {
        return editable;
    }
    void commitEditingStyle(const std::shared_ptr<UITableView>& tv, int style,
                            const NSIndexPath& ip) override {
        commits.emplace_back(style, ip);
        rowsPerSection[static_cast<size_t>(ip.section())] -= 1;
        tv->deleteRowsAtIndexPaths({ip}, UITableViewRowAnimationFade);
    }

    CGFloat heightForHeaderInSection(const std::shared_ptr<UITableView>&, int section) override {
        if (!headerHeight) {
            return UITableViewAutomaticDimension;
        }
        return rowsPerSection[static_cast<size_t>(section)] > 0 ? *headerHeight : 0;
    }
    std::shared_ptr<UIView> viewForHeaderInSection(const std::shared_ptr<UITableView>&,
                                                   int section) override {
        headerViewRequests.push_back(section);
        if (!headerViews) {
            return nullptr;
        }
        auto label = UILabel::initWithFrame(CGRectMake(10, 0, 320, 5));
        label->setText("strip " + std::to_string(section));
        return label;
    }
    void willDisplayCell(const std::shared_ptr<UITableView>&,
                         const std::shared_ptr<UITableViewCell>&, const NSIndexPath& ip) override {
        displayed.push_back(ip);
    }
    void didSelectRowAtIndexPath(const std::shared_ptr<UITableView>&,
                                 const NSIndexPath& ip) override {
        selected.push_back(ip);
    }
};

// A 320×440 table (ten 44-pt rows in view) in a window, driven through the window's touches.
class TableTest : public testing::Test {
protected:
    void SetUp() override {
        window = UIWindow::initWithFrame(CGRectMake(0, 0, 320, 568));
        table = UITableView::initWithFrame(CGRectMake(0, 0, 320, 440), UITableViewStylePlain);
        rows = std::make_shared<Rows>();
        table->setDataSource(rows);
        table->setDelegate(rows);
        window->addSubview(table);
    }
    void load() {
        table->reloadData();
        rows->cellRequests.clear();
        rows->displayed.clear();
    }
    void tap(CGPoint p) {
        window->sendTouch(UITouchPhaseBegan, p);
        window->sendTouch(UITouchPhaseEnded, p);
    }
    void drag(CGPoint from, CGPoint to) {
        window->sendTouch(UITouchPhaseBegan, from);
        CGPoint mid = CGPointMake((from.x + to.x) / 2, (from.y + to.y) / 2);
        window->sendTouch(UITouchPhaseMoved, mid);
        window->sendTouch(UITouchPhaseMoved, to);
        window->sendTouch(UITouchPhaseEnded, to);
    }
    Paths visibleRows() const { return table->indexPathsForVisibleRows(); }

    std::shared_ptr<UIWindow> window;
    std::shared_ptr<UITableView> table;
    std::shared_ptr<Rows> rows;
};

Paths rowRange(int first, int last, int section = 0) {
    Paths out;
    for (int r = first; r <= last; ++r) {
        out.push_back(row(r, section));
    }
    return out;
}

// --- data source questions and visible cells ---

TEST_F(TableTest, AsksSectionsAndRowsButCellsOnlyForRowsInView) {
    rows->rowsPerSection = {100, 3};
    table->reloadData();
    EXPECT_EQ(rows->sectionQuestions, 1);
    EXPECT_EQ(rows->rowQuestions, (std::vector<int>{0, 1}));
    EXPECT_EQ(table->numberOfSections(), 2);
    EXPECT_EQ(table->numberOfRowsInSection(0), 100);
    EXPECT_EQ(table->numberOfRowsInSection(1), 3);
    EXPECT_EQ(rows->cellRequests, rowRange(0, 9));
    EXPECT_EQ(visibleRows(), rowRange(0, 9));
    EXPECT_EQ(table->contentSize().height, 103 * 44);
}

TEST_F(TableTest, FirstLayoutLoadsTheTable) {
    table->layoutIfNeeded();
    EXPECT_EQ(rows->cellRequests, rowRange(0, 9));
}

TEST_F(TableTest, NoDataSourceMeansNoRows) {
    table->setDataSource(std::weak_ptr<UITableViewDataSource>());
    table->reloadData();
    EXPECT_EQ(table->numberOfSections(), 0);
    EXPECT_TRUE(table->visibleCells().empty());
}

TEST_F(TableTest, RowHeightsFromTheDelegateDefaultToRowHeight) {
    table->setRowHeight(65);
    table->reloadData();
    EXPECT_EQ(table->rectForRowAtIndexPath(row(2)), CGRectMake(0, 130, 320, 65));
    EXPECT_EQ(visibleRows(), rowRange(0, 6)); // 440 / 65 = 6.8 rows
    EXPECT_EQ(table->rectForRowAtIndexPath(row(100)), CGRectZero);
}

// --- reuse and will-display while scrolling ---

TEST_F(TableTest, ACellThatScrollsOutIsHandedBackByDequeue) {
    load();
    auto first = table->cellForRowAtIndexPath(row(0));
    ASSERT_NE(first, nullptr);
    table->setContentOffset(CGPointMake(0, 440));
    EXPECT_EQ(visibleRows(), rowRange(10, 19));
    EXPECT_EQ(rows->cellsMade, 10) << "the ten cells that left were reused";
    EXPECT_EQ(table->cellForRowAtIndexPath(row(0)), nullptr);
    auto cells = table->visibleCells();
    EXPECT_NE(std::find(cells.begin(), cells.end(), first), cells.end());
    EXPECT_EQ(table->dequeueReusableCellWithIdentifier("Cell"), nullptr);
}

TEST_F(TableTest, DequeueKeepsIdentifiersApart) {
    load();
    table->setContentOffset(CGPointMake(0, 4400)); // past the end: nothing in view
    EXPECT_TRUE(table->visibleCells().empty());
    EXPECT_EQ(table->dequeueReusableCellWithIdentifier("other"), nullptr);
    int handedOut = 0;
    while (auto cell = table->dequeueReusableCellWithIdentifier("Cell")) {
        EXPECT_EQ(cell->reuseIdentifier(), "Cell");
        ++handedOut;
    }
    EXPECT_EQ(handedOut, 10);
}

TEST_F(TableTest, ReusedCellIsResetForReuse) {
    load();
    table->selectRowAtIndexPath(row(0), false, UITableViewScrollPositionNone);
    auto first = table->cellForRowAtIndexPath(row(0));
    EXPECT_TRUE(first->isSelected());
    table->setContentOffset(CGPointMake(0, 440));
    EXPECT_FALSE(first->isSelected()) << "row 10 is not the selected row";
    table->setContentOffset(CGPointMake(0, 0));
    EXPECT_TRUE(table->cellForRowAtIndexPath(row(0))->isSelected());
}

TEST_F(TableTest, WillDisplayAsRowsComeIntoView) {
    struct Case {
        CGFloat offset;
        Paths newlyShown;
    };
    const Case cases[] = {
        {1, {row(10)}},            // one point reveals the top of row 10
        {44, {}},                  // row 10 already shown; row 0 has left
        {100, {row(11), row(12)}}, // rows up to 540/44
        {0, rowRange(0, 1)},       // back up: rows 0-1 return (row 2 stayed in view)
    };
    load();
    for (const auto& c : cases) {
        rows->displayed.clear();
        table->setContentOffset(CGPointMake(0, c.offset));
        EXPECT_EQ(rows->displayed, c.newlyShown) << "offset " << c.offset;
    }
}

TEST_F(TableTest, ReloadDataAsksAgainForEveryRowInView) {
    load();
    rows->rowsPerSection = {2};
    table->reloadData();
    EXPECT_EQ(rows->cellRequests, rowRange(0, 1));
    EXPECT_EQ(rows->displayed, rowRange(0, 1));
    EXPECT_EQ(rows->cellsMade, 10);
}

// --- headers ---

TEST_F(TableTest, HeaderHeightsByStyleAndTitle) {
    struct Case {
        int style;
        std::optional<std::string> title;
        std::optional<CGFloat> delegateHeight;
        CGFloat expected;
    };
    const Case cases[] = {
        {UITableViewStylePlain, std::nullopt, std::nullopt, 0},
        {UITableViewStylePlain, "Title", std::nullopt, 22},
        {UITableViewStylePlain, "Title", 20.0, 20},
        {UITableViewStyleGrouped, std::nullopt, std::nullopt, 35},
        {UITableViewStyleGrouped, "Setting", std::nullopt, 55},
    };
    for (const auto& c : cases) {
        auto tv = UITableView::initWithFrame(CGRectMake(0, 0, 320, 440), c.style);
        auto src = std::make_shared<Rows>();
        src->rowsPerSection = {3, 3};
        if (c.title) {
            src->headerTitles = {{0, *c.title}, {1, *c.title}};
        }
        src->headerHeight = c.delegateHeight;
        tv->setDataSource(src);
        tv->setDelegate(src);
        tv->reloadData();
        EXPECT_EQ(tv->rectForHeaderInSection(0).size.height, c.expected);
        EXPECT_EQ(tv->rectForRowAtIndexPath(row(0)).origin.y, c.expected);
        EXPECT_EQ(tv->rectForHeaderInSection(1).origin.y, tv->rectForFooterInSection(0).maxY());
        bool shown = tv->headerViewForSection(0) != nullptr;
        EXPECT_EQ(shown, c.expected > 0 && (c.title || c.delegateHeight));
    }
}

TEST_F(TableTest, HeaderViewFromDelegateFillsTheHeaderRect) {
    rows->headerViews = true;
    rows->headerHeight = 20;
    rows->rowsPerSection = {5};
    table->reloadData();
    auto header = table->headerViewForSection(0);
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->frame(), CGRectMake(0, 0, 320, 20));
    EXPECT_EQ(header->superview(), table);
    EXPECT_EQ(table->rectForRowAtIndexPath(row(0)).origin.y, 20);
}

TEST_F(TableTest, EmptySectionHasNoHeaderView) {
    rows->headerViews = true;
    rows->headerHeight = 20;
    rows->rowsPerSection = {0};
    table->reloadData();
    EXPECT_EQ(table->headerViewForSection(0), nullptr);
    EXPECT_TRUE(rows->headerViewRequests.empty());
}

TEST_F(TableTest, PlainHeaderFloatsAtTheTopWhileItsRowsScroll) {
    rows->headerViews = true;
    rows->headerHeight = 20;
    table->reloadData();
    table->setContentOffset(CGPointMake(0, 300));
    auto header = table->headerViewForSection(0);
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->frame().origin.y, 300);
}

TEST_F(TableTest, TableHeaderViewComesBeforeTheRows) {
    table->setTableHeaderView(UIView::initWithFrame(CGRectMake(0, 0, 100, 50)));
    table->reloadData();
    EXPECT_EQ(table->tableHeaderView()->frame(), CGRectMake(0, 0, 320, 50));
    EXPECT_EQ(table->rectForRowAtIndexPath(row(0)).origin.y, 50);
    table->setTableHeaderView(nullptr);
    EXPECT_EQ(table->rectForRowAtIndexPath(row(0)).origin.y, 0);
}

// --- deleting rows ---

TEST_F(TableTest, DeleteRowsKeepsTheOtherRowsCells) {
    rows->rowsPerSection = {5};
    load();
    std::vector<std::shared_ptr<UITableViewCell>> before;
    for (int r = 0; r < 5; ++r) {
        before.push_back(table->cellForRowAtIndexPath(row(r)));
    }
    rows->rowsPerSection = {3};
    table->deleteRowsAtIndexPaths({row(1), row(3)}, UITableViewRowAnimationFade);
    EXPECT_EQ(table->numberOfRowsInSection(0), 3);
    EXPECT_EQ(table->cellForRowAtIndexPath(row(0)), before[0]);
    EXPECT_EQ(table->cellForRowAtIndexPath(row(1)), before[2]);
    EXPECT_EQ(table->cellForRowAtIndexPath(row(2)), before[4]);
    EXPECT_EQ(table->indexPathForCell(before[4]), row(2));
    EXPECT_EQ(table->indexPathForCell(before[1]), std::nullopt);
    EXPECT_EQ(before[4]->frame().origin.y, 88);
    EXPECT_TRUE(rows->cellRequests.empty()) << "kept rows are not asked for again";
}

TEST_F(TableTest, DeleteRowsBringsFurtherRowsIntoView) {
    load();
    auto row10Before = rows->cellRequests.size();
    rows->rowsPerSection = {99};
    table->deleteRowsAtIndexPaths({row(0)}, UITableViewRowAnimationFade);
    EXPECT_EQ(row10Before, 0u);
    EXPECT_EQ(rows->cellRequests, Paths{row(9)}) << "old row 10 moved up into view";
    EXPECT_EQ(visibleRows(), rowRange(0, 9));
}

TEST_F(TableTest, DeleteRowsWithDataSourceOutOfStepReloads) {
    rows->rowsPerSection = {5};
    load();
    rows->rowsPerSection = {2}; // dropped two rows but announces one
    table->deleteRowsAtIndexPaths({row(0)}, UITableViewRowAnimationFade);
    EXPECT_EQ(table->numberOfRowsInSection(0), 2);
    EXPECT_EQ(visibleRows(), rowRange(0, 1));
}

TEST_F(TableTest, DeleteRowsMovesTheSelection) {
    rows->rowsPerSection = {5};
    load();
    table->selectRowAtIndexPath(row(3), false, UITableViewScrollPositionNone);
    rows->rowsPerSection = {4};
    table->deleteRowsAtIndexPaths({row(0)}, UITableViewRowAnimationFade);
    EXPECT_EQ(table->indexPathForSelectedRow(), row(2));
    rows->rowsPerSection = {3};
    table->deleteRowsAtIndexPaths({row(2)}, UITableViewRowAnimationFade);
    EXPECT_EQ(table->indexPathForSelectedRow(), std::nullopt);
}

// --- cells and index paths ---

TEST_F(TableTest, IndexPathForCellOnlyForCellsInView) {
    rows->rowsPerSection = {30, 30};
    load();
    auto cell = table->cellForRowAtIndexPath(row(4));
    EXPECT_EQ(table->indexPathForCell(cell), row(4));
    table->setContentOffset(CGPointMake(0, 30 * 44));
    EXPECT_EQ(table->indexPathForCell(table->cellForRowAtIndexPath(row(0, 1))), row(0, 1));
    EXPECT_EQ(table->cellForRowAtIndexPath(row(4)), nullptr);
    EXPECT_EQ(table->indexPathForCell(UITableViewCell::initWithStyle(0, "Cell")), std::nullopt);
    EXPECT_EQ(table->indexPathForCell(nullptr), std::nullopt);
}

TEST_F(TableTest, ScrollToRowPositions) {
    struct Case {
        int row;
        int position;
        CGFloat offset;
    };
    const Case cases[] = {
        {50, UITableViewScrollPositionTop, 2200},
        {50, UITableViewScrollPositionMiddle, 2200 + 22 - 220},
        {50, UITableViewScrollPositionBottom, 2244 - 440},
        {99, UITableViewScrollPositionTop, 4400 - 440}, // clamped to the end
        {3, UITableViewScrollPositionNone, 0},          // already in view
    };
    load();
    for (const auto& c : cases) {
        table->setContentOffset(CGPointMake(0, 0));
        table->scrollToRowAtIndexPath(row(c.row), c.position, false);
        EXPECT_EQ(table->contentOffset().y, c.offset) << "row " << c.row;
        EXPECT_NE(table->cellForRowAtIndexPath(row(c.row)), nullptr);
    }
}

// --- touches: selection, drags, swipe-to-delete ---

TEST_F(TableTest, TapSelectsTheRow) {
    load();
    tap(CGPointMake(100, 3 * 44 + 10));
    EXPECT_EQ(rows->selected, Paths{row(3)});
    EXPECT_EQ(table->indexPathForSelectedRow(), row(3));
    EXPECT_TRUE(table->cellForRowAtIndexPath(row(3))->isSelected());
    tap(CGPointMake(100, 5 * 44 + 10));
    EXPECT_FALSE(table->cellForRowAtIndexPath(row(3))->isSelected());
    EXPECT_EQ(table->indexPathForSelectedRow(), row(5));
}

TEST_F(TableTest, TapHighlightsWhileDown) {
    load();
    window->sendTouch(UITouchPhaseBegan, CGPointMake(100, 10));
    EXPECT_TRUE(table->cellForRowAtIndexPath(row(0))->isHighlighted());
    window->sendTouch(UITouchPhaseEnded, CGPointMake(100, 10));
    EXPECT_FALSE(table->cellForRowAtIndexPath(row(0))->isHighlighted());
}

TEST_F(TableTest, TapOnScrolledTableSelectsTheRowUnderTheFinger) {
    load();
    table->setContentOffset(CGPointMake(0, 440));
    tap(CGPointMake(100, 10));
    EXPECT_EQ(rows->selected, Paths{row(10)});
}

TEST_F(TableTest, DragScrollsByTheFingersTravelAndDoesNotSelect) {
    load();
    drag(CGPointMake(100, 300), CGPointMake(100, 200));
    EXPECT_TRUE(rows->selected.empty());
    EXPECT_EQ(table->contentOffset().y, 100);
    EXPECT_FALSE(table->cellForRowAtIndexPath(row(6))->isHighlighted());
}

TEST_F(TableTest, DragIsClampedToTheContent) {
    struct Case {
        CGFloat startOffset;
        CGFloat fingerDy; // positive: finger moves down
        CGFloat expected;
    };
    const Case cases[] = {
        {0, 150, 0}, // nothing above the first row
        {100, 50, 50},
        {4400 - 440, -200, 3960}, // nothing below the last row
        {3900, -200, 3960},
    };
    load();
    for (const auto& c : cases) {
        table->setContentOffset(CGPointMake(0, c.startOffset));
        drag(CGPointMake(100, 220), CGPointMake(100, 220 + c.fingerDy));
        EXPECT_EQ(table->contentOffset().y, c.expected) << "from " << c.startOffset;
    }
}

TEST_F(TableTest, TapOnAButtonInARowDoesNotSelectTheRow) {
    rows->buttonInCells = true;
    load();
    tap(CGPointMake(280, 44 + 20));
    EXPECT_TRUE(rows->selected.empty());
    tap(CGPointMake(100, 44 + 20));
    EXPECT_EQ(rows->selected, Paths{row(1)});
}

TEST_F(TableTest, SwipeLeftOffersDeleteAndItsTapCommits) {
    rows->editable = true;
    rows->rowsPerSection = {5};
    load();
    drag(CGPointMake(250, 2 * 44 + 20), CGPointMake(150, 2 * 44 + 22));
    EXPECT_EQ(table->contentOffset().y, 0) << "a sideways swipe does not scroll";
    auto cell = table->cellForRowAtIndexPath(row(2));
    ASSERT_TRUE(cell->isShowingDeleteConfirmation());
    EXPECT_TRUE(table->isEditing());
    EXPECT_EQ(table->indexPathForDeleteConfirmation(), row(2));
    auto button = cell->deleteConfirmationButton();
    EXPECT_GT(button->frame().origin.x, 200) << "at the right of the row";
    CGRect onScreen = button->convertRectToView(button->bounds(), nullptr);
    tap(CGPointMake(onScreen.midX(), onScreen.midY()));
    ASSERT_EQ(rows->commits.size(), 1u);
    EXPECT_EQ(rows->commits[0].first, UITableViewCellEditingStyleDelete);
    EXPECT_EQ(rows->commits[0].second, row(2));
    EXPECT_TRUE(rows->selected.empty());
    EXPECT_EQ(table->numberOfRowsInSection(0), 4);
    EXPECT_FALSE(table->isEditing());
}

TEST_F(TableTest, SwipeOnARowThatCannotBeEditedOffersNothing) {
    rows->editable = false;
    load();
    drag(CGPointMake(250, 64), CGPointMake(150, 64));
    EXPECT_FALSE(table->cellForRowAtIndexPath(row(1))->isShowingDeleteConfirmation());
    EXPECT_FALSE(table->indexPathForDeleteConfirmation());
}

TEST_F(TableTest, ShortOrRightwardSwipesOfferNothing) {
    rows->editable = true;
    load();
    drag(CGPointMake(250, 64), CGPointMake(230, 64)); // 20 pt: a drag, but too short
    drag(CGPointMake(100, 64), CGPointMake(250, 64)); // rightwards
    EXPECT_FALSE(table->indexPathForDeleteConfirmation());
}

TEST_F(TableTest, TapElsewhereClosesTheConfirmationWithoutSelecting) {
    rows->editable = true;
    load();
    drag(CGPointMake(250, 64), CGPointMake(150, 64));
    ASSERT_TRUE(table->indexPathForDeleteConfirmation());
    tap(CGPointMake(100, 200));
    EXPECT_FALSE(table->indexPathForDeleteConfirmation());
    EXPECT_FALSE(table->cellForRowAtIndexPath(row(1))->isShowingDeleteConfirmation());
    EXPECT_TRUE(rows->selected.empty());
    EXPECT_TRUE(rows->commits.empty());
    tap(CGPointMake(100, 200));
    EXPECT_EQ(rows->selected, Paths{row(4)});
}

TEST_F(TableTest, LeavingEditingModeClosesTheConfirmation) {
    rows->editable = true;
    load();
    drag(CGPointMake(250, 64), CGPointMake(150, 64));
    ASSERT_TRUE(table->isEditing());
    table->setEditing(false, true);
    EXPECT_FALSE(table->isEditing());
    EXPECT_FALSE(table->cellForRowAtIndexPath(row(1))->isShowingDeleteConfirmation());
}

} // namespace
