#include "platform/uikit/UITableViewController.h"

std::shared_ptr<UITableView> UITableViewController::tableView() {
    view();
    return table_;
}

void UITableViewController::setTableView(std::shared_ptr<UITableView> table) {
    table_ = table;
    if (table_) {
        auto self = std::dynamic_pointer_cast<UITableViewController>(shared_from_this());
        table_->setDataSource(std::weak_ptr<UITableViewDataSource>(self));
        table_->setDelegate(std::weak_ptr<UITableViewDelegate>(self));
    }
    setView(table_);
}

void UITableViewController::loadView() {
    setTableView(UITableView::initWithFrame(applicationFrame(), style_));
}

void UITableViewController::viewWillAppear(bool animated) {
    UIViewController::viewWillAppear(animated);
    auto table = tableView();
    if (!table) {
        return;
    }
    if (!loadedOnce_) {
        loadedOnce_ = true;
        if (table->numberOfSections() == 0) {
            table->reloadData();
        }
    }
    if (clearsSelection_) {
        if (auto selected = table->indexPathForSelectedRow()) {
            table->deselectRowAtIndexPath(*selected, animated);
        }
    }
}
