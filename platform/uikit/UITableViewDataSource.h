#pragma once
// What a table asks of the object that owns its rows.
#include "platform/foundation/NSIndexPath.h"
#include <memory>
#include <optional>
#include <string>

class UITableView;
class UITableViewCell;

enum UITableViewCellEditingStyle : int {
    UITableViewCellEditingStyleNone = 0,
    UITableViewCellEditingStyleDelete = 1,
    UITableViewCellEditingStyleInsert = 2,
};

class UITableViewDataSource {
public:
    virtual ~UITableViewDataSource() = default;

    virtual int numberOfSectionsInTableView(const std::shared_ptr<UITableView>& tableView) {
        return 1;
    }
    virtual int numberOfRowsInSection(const std::shared_ptr<UITableView>& tableView,
                                      int section) = 0;
    virtual std::shared_ptr<UITableViewCell>
    cellForRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
                          const NSIndexPath& indexPath) = 0;

    // Absent: no title (and, in a plain table, no header).
    virtual std::optional<std::string>
    titleForHeaderInSection(const std::shared_ptr<UITableView>& tableView, int section) {
        return std::nullopt;
    }
    virtual std::optional<std::string>
    titleForFooterInSection(const std::shared_ptr<UITableView>& tableView, int section) {
        return std::nullopt;
    }

    // Differs from the device: there a row is editable by default when the data source
    // implements commitEditingStyle, which C++ cannot see; here a data source that offers
    // swipe-to-delete answers true.
    virtual bool canEditRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
                                       const NSIndexPath& indexPath) {
        return false;
    }
    virtual void commitEditingStyle(const std::shared_ptr<UITableView>& tableView, int editingStyle,
                                    const NSIndexPath& indexPath) {}
};
