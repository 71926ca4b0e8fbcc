#pragma once
// One row of a table: a content view holding the labels and image of the cell's style, an
// accessory at the right, the selection look and a separator line below.
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIView.h"
#include <functional>
#include <memory>
#include <optional>
#include <string>

enum UITableViewCellStyle : int {
    UITableViewCellStyleDefault = 0,
    UITableViewCellStyleValue1 = 1,
    UITableViewCellStyleValue2 = 2,
    UITableViewCellStyleSubtitle = 3,
};

enum UITableViewCellAccessoryType : int {
    UITableViewCellAccessoryNone = 0,
    UITableViewCellAccessoryDisclosureIndicator = 1,
    UITableViewCellAccessoryDetailDisclosureButton = 2,
    UITableViewCellAccessoryCheckmark = 3,
};

enum UITableViewCellSelectionStyle : int {
    UITableViewCellSelectionStyleNone = 0,
    UITableViewCellSelectionStyleBlue = 1,
    UITableViewCellSelectionStyleGray = 2,
};

enum UITableViewCellSeparatorStyle : int {
    UITableViewCellSeparatorStyleNone = 0,
    UITableViewCellSeparatorStyleSingleLine = 1,
};

class UITableViewCell : public UIView {
public:
    UITableViewCell(int style, std::string reuseIdentifier);
    static std::shared_ptr<UITableViewCell> initWithStyle(int style, std::string reuseIdentifier) {
        return std::make_shared<UITableViewCell>(style, std::move(reuseIdentifier));
    }

    int style() const { return style_; }
    const std::string& reuseIdentifier() const { return reuseIdentifier_; }

    // Made on first use; the app adds its own subviews to the content view.
    std::shared_ptr<UIView> contentView();
    std::shared_ptr<UILabel> textLabel();
    // Null for the default style, which has none.
    std::shared_ptr<UILabel> detailTextLabel();
    std::shared_ptr<UIImageView> imageView();

    int accessoryType() const { return accessoryType_; }
    void setAccessoryType(int type) { accessoryType_ = type, setNeedsLayout(); }
    const std::shared_ptr<UIView>& accessoryView() const { return accessoryView_; }
    void setAccessoryView(std::shared_ptr<UIView> view);
    int selectionStyle() const { return selectionStyle_; }
    void setSelectionStyle(int style) { selectionStyle_ = style; }
    const std::shared_ptr<UIView>& backgroundView() const { return backgroundView_; }
    void setBackgroundView(std::shared_ptr<UIView> view);

    bool isSelected() const { return selected_; }
    void setSelected(bool selected, bool animated = false);
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted, bool animated = false);
    bool isEditing() const { return editing_; }
    void setEditing(bool editing, bool animated = false);

    // Called by the table before it hands a recycled cell out again.
    virtual void prepareForReuse();

    // Set by the table: the separator drawn under the row.
    void setSeparator(int style, UIColor color, CGFloat leftInset);
    // The red delete button at the right of the row; its tap runs `onDelete`.
    void showDeleteConfirmation(const std::string& title, std::function<void()> onDelete);
    void hideDeleteConfirmation();
    bool isShowingDeleteConfirmation() const { return deleteButton_ != nullptr; }
    std::shared_ptr<UIView> deleteConfirmationButton() const { return deleteButton_; }

    void layoutSubviews() override;
    void drawRect(render::Canvas& canvas, CGRect rect) const override;
    std::string className() const override { return "UITableViewCell"; }
    void describe(Json::Members& out) const override;

private:
    CGFloat accessoryWidth() const;

    int style_;
    std::string reuseIdentifier_;
    std::shared_ptr<UIView> contentView_;
    std::shared_ptr<UILabel> textLabel_;
    std::shared_ptr<UILabel> detailTextLabel_;
    std::shared_ptr<UIImageView> imageView_;
    int accessoryType_ = UITableViewCellAccessoryNone;
    std::shared_ptr<UIView> accessoryView_;
    int selectionStyle_ = UITableViewCellSelectionStyleBlue;
    std::shared_ptr<UIView> backgroundView_;
    bool selected_ = false;
    bool highlighted_ = false;
    bool editing_ = false;
    int separatorStyle_ = UITableViewCellSeparatorStyleNone;
    UIColor separatorColor_{};
    CGFloat separatorInset_ = 15;
    std::shared_ptr<UIView> deleteButton_;
    std::string deleteTitle_;
};
