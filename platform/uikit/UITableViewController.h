#pragma once
// A screen whose view is a table; it is the table's data source and delegate, and the app's
// table screens subclass it and override the operations they answer.
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UIViewController.h"
#include <memory>

class UITableViewController : public UIViewController,
                              public UITableViewDataSource,
                              public UITableViewDelegate {
public:
    explicit UITableViewController(int style = UITableViewStylePlain) : style_(style) {}
    static std::shared_ptr<UITableViewController> initWithStyle(int style) {
        return std::make_shared<UITableViewController>(style);
    }

    // The view, as a table (built on first use).
    std::shared_ptr<UITableView> tableView();
    void setTableView(std::shared_ptr<UITableView> table);
    int tableViewStyle() const { return style_; }
    bool clearsSelectionOnViewWillAppear() const { return clearsSelection_; }
    void setClearsSelectionOnViewWillAppear(bool c) { clearsSelection_ = c; }

    // A table of the application frame with this controller as data source and delegate.
    void loadView() override;
    // Loads the rows the first time and clears the selection, like the device.
    void viewWillAppear(bool animated) override;

    int numberOfRowsInSection(const std::shared_ptr<UITableView>& tableView, int section) override {
        return 0;
    }
    std::shared_ptr<UITableViewCell>
    cellForRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
                          const NSIndexPath& indexPath) override {
        return nullptr;
    }

private:
    int style_;
    bool clearsSelection_ = true;
    std::shared_ptr<UITableView> table_;
    bool loadedOnce_ = false;
};
