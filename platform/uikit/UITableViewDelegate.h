#pragma once
// What a table tells and asks the object that manages its look and selection.
#include "platform/foundation/NSIndexPath.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UITableViewDataSource.h"
#include <memory>
#include <string>

// A header or footer height that the table works out from its style and title.
inline constexpr CGFloat UITableViewAutomaticDimension = -1;

class UITableViewDelegate : public UIScrollViewDelegate {
public:
    // Default: the table's rowHeight.
    virtual CGFloat heightForRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
                                            const NSIndexPath& indexPath);
    virtual CGFloat heightForHeaderInSection(const std::shared_ptr<UITableView>& tableView,
                                             int section) {
        return UITableViewAutomaticDimension;
    }
    virtual CGFloat heightForFooterInSection(const std::shared_ptr<UITableView>& tableView,
                                             int section) {
        return UITableViewAutomaticDimension;
    }
    // Null: the table's own view for the section's title, if it has one.
    virtual std::shared_ptr<UIView>
    viewForHeaderInSection(const std::shared_ptr<UITableView>& tableView, int section) {
        return nullptr;
    }
    virtual std::shared_ptr<UIView>
    viewForFooterInSection(const std::shared_ptr<UITableView>& tableView, int section) {
        return nullptr;
    }
    virtual void willDisplayCell(const std::shared_ptr<UITableView>& tableView,
                                 const std::shared_ptr<UITableViewCell>& cell,
                                 const NSIndexPath& indexPath) {}
    virtual void didSelectRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
                                         const NSIndexPath& indexPath) {}
    virtual int editingStyleForRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
                                              const NSIndexPath& indexPath) {
        return UITableViewCellEditingStyleDelete;
    }
    virtual std::string
    titleForDeleteConfirmationButtonForRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
                                                      const NSIndexPath& indexPath) {
        return "Delete";
    }
};
