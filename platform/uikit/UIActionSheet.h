#pragma once
// A modal list of choices rising from the bottom of the window. Indexes: the destructive
// button, then the others, then the cancel button; buttons added later come after.
#include "platform/uikit/UIActionSheetDelegate.h"
#include "platform/uikit/UIButton.h"
#include <memory>
#include <optional>
#include <string>
#include <vector>

class UIActionSheet : public UIView {
public:
    UIActionSheet() = default;
    static std::shared_ptr<UIActionSheet>
    initWithTitle(const std::string& title, std::weak_ptr<UIActionSheetDelegate> delegate,
                  const std::optional<std::string>& cancelButtonTitle,
                  const std::optional<std::string>& destructiveButtonTitle,
                  const std::vector<std::string>& otherButtonTitles = {});

    const std::string& title() const { return title_; }
    std::shared_ptr<UIActionSheetDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<UIActionSheetDelegate> d) { delegate_ = std::move(d); }

    int addButtonWithTitle(const std::string& title);
    int numberOfButtons() const { return static_cast<int>(buttonTitles_.size()); }
    std::string buttonTitleAtIndex(int index) const;
    int cancelButtonIndex() const { return cancelButtonIndex_; }
    void setCancelButtonIndex(int index) { cancelButtonIndex_ = index; }
    int destructiveButtonIndex() const { return destructiveButtonIndex_; }
    void setDestructiveButtonIndex(int index) { destructiveButtonIndex_ = index; }
    int firstOtherButtonIndex() const;
    bool isVisible() const { return visible_; }

    // Both cover the window of the given view (the key window when it has none).
    void showFromTabBar(const std::shared_ptr<UIView>& tabBar);
    void showInView(const std::shared_ptr<UIView>& view);
    void dismissWithClickedButtonIndex(int buttonIndex, bool animated);

    std::shared_ptr<UIButton> buttonAtIndex(int index) const;

    std::string className() const override { return "UIActionSheet"; }
    void describe(Json::Members& out) const override;

private:
    void presentIn(UIWindow* window);
    void buildContent(CGRect area);
    void buttonTapped(std::shared_ptr<UIButton> sender);

    std::string title_;
    std::weak_ptr<UIActionSheetDelegate> delegate_;
    std::vector<std::string> buttonTitles_;
    int cancelButtonIndex_ = -1;
    int destructiveButtonIndex_ = -1;
    bool visible_ = false;
    std::weak_ptr<UIWindow> window_;
    std::vector<std::shared_ptr<UIButton>> buttons_;
};
