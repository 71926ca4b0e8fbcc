#include "platform/uikit/UITableViewCell.h"

#include <gtest/gtest.h>

namespace {

TEST(UITableViewCell, StylesHaveTheirLabels) {
    EXPECT_EQ(UITableViewCell::initWithStyle(UITableViewCellStyleDefault, "a")->detailTextLabel(),
              nullptr);
    for (int style : {UITableViewCellStyleValue1, UITableViewCellStyleSubtitle}) {
        auto cell = UITableViewCell::initWithStyle(style, "a");
        ASSERT_NE(cell->detailTextLabel(), nullptr);
        EXPECT_EQ(cell->detailTextLabel()->superview(), cell->contentView());
        EXPECT_EQ(cell->textLabel()->superview(), cell->contentView());
    }
}

TEST(UITableViewCell, ValueOneKeepsTheDetailAtTheRight) {
    auto cell = UITableViewCell::initWithStyle(UITableViewCellStyleValue1, "Cell");
    cell->setFrame(CGRectMake(0, 0, 320, 44));
    cell->textLabel()->setText("Clear Cache");
    cell->detailTextLabel()->setText("12 MB");
    cell->layoutSubviews();
    CGRect detail = cell->detailTextLabel()->frame();
    EXPECT_EQ(cell->textLabel()->frame().origin.x, 15);
    EXPECT_EQ(detail.maxX(), 320 - 15);
    EXPECT_GT(detail.size.width, 0);
    EXPECT_LE(cell->textLabel()->frame().maxX(), detail.minX());
    EXPECT_EQ(cell->detailTextLabel()->textAlignment(), NSTextAlignmentRight);
}

TEST(UITableViewCell, SubtitlePutsTheDetailUnderTheTitle) {
    auto cell = UITableViewCell::initWithStyle(UITableViewCellStyleSubtitle, "subtitle_cell");
    cell->setFrame(CGRectMake(0, 0, 320, 44));
    cell->textLabel()->setText("Name");
    cell->detailTextLabel()->setText("Description");
    cell->layoutSubviews();
    EXPECT_EQ(cell->detailTextLabel()->frame().minY(), cell->textLabel()->frame().maxY());
    EXPECT_LT(cell->detailTextLabel()->font().pointSize, cell->textLabel()->font().pointSize);
}

TEST(UITableViewCell, AccessoriesNarrowTheContentView) {
    struct Case {
        int accessory;
        CGFloat contentWidth;
    };
    const Case cases[] = {
        {UITableViewCellAccessoryNone, 320},
        {UITableViewCellAccessoryDisclosureIndicator, 287},
        {UITableViewCellAccessoryCheckmark, 281},
    };
    for (const auto& c : cases) {
        auto cell = UITableViewCell::initWithStyle(UITableViewCellStyleDefault, "Cell");
        cell->setFrame(CGRectMake(0, 0, 320, 44));
        cell->setAccessoryType(c.accessory);
        cell->layoutSubviews();
        EXPECT_EQ(cell->contentView()->frame().size.width, c.contentWidth) << c.accessory;
    }
}

TEST(UITableViewCell, AccessoryViewSitsAtTheRightCentred) {
    auto cell = UITableViewCell::initWithStyle(UITableViewCellStyleDefault, "switch_cell");
    cell->setFrame(CGRectMake(0, 0, 320, 44));
    cell->setAccessoryView(UIView::initWithFrame(CGRectMake(0, 0, 51, 31)));
    cell->layoutSubviews();
    EXPECT_EQ(cell->accessoryView()->frame(), CGRectMake(320 - 15 - 51, 6.5, 51, 31));
    EXPECT_EQ(cell->accessoryView()->superview(), cell);
    EXPECT_LE(cell->contentView()->frame().maxX(), cell->accessoryView()->frame().minX());
}

TEST(UITableViewCell, ImagePushesTheTitleRight) {
    auto cell = UITableViewCell::initWithStyle(UITableViewCellStyleDefault, "Cell");
    cell->setFrame(CGRectMake(0, 0, 320, 44));
    cell->textLabel()->setText("x");
    cell->layoutSubviews();
    EXPECT_EQ(cell->textLabel()->frame().origin.x, 15);
}

TEST(UITableViewCell, PrepareForReuseClearsStateButKeepsContent) {
    auto cell = UITableViewCell::initWithStyle(UITableViewCellStyleDefault, "Cell");
    auto mine = UIView::initWithFrame(CGRectMake(0, 0, 10, 10));
    mine->setTag(101);
    cell->contentView()->addSubview(mine);
    cell->setSelected(true);
    cell->setHighlighted(true);
    cell->showDeleteConfirmation("Delete", [] {});
    cell->prepareForReuse();
    EXPECT_FALSE(cell->isSelected());
    EXPECT_FALSE(cell->isHighlighted());
    EXPECT_FALSE(cell->isShowingDeleteConfirmation());
    EXPECT_EQ(cell->viewWithTag(101), mine);
}

TEST(UITableViewCell, DeleteConfirmationSlidesTheContentLeft) {
    auto cell = UITableViewCell::initWithStyle(UITableViewCellStyleDefault, "Cell");
    cell->setFrame(CGRectMake(0, 0, 320, 44));
    cell->showDeleteConfirmation("Delete", [] {});
    auto button = cell->deleteConfirmationButton();
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->frame().maxX(), 320);
    EXPECT_EQ(cell->contentView()->frame().origin.x, -button->frame().size.width);
    EXPECT_EQ(button->dumpTree().get("title")->asString(), "Delete");
}

} // namespace
