#pragma once
// A modal alert over the key window: a title, a message and buttons. Button indexes follow
// the order of creation: the cancel button first when there is one, then the others.
#include "platform/uikit/UIAlertViewDelegate.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UILabel.h"
#include <memory>
#include <optional>
#include <string>
#include <vector>

class UIAlertView : public UIView {
public:
    UIAlertView() = default;
    static std::shared_ptr<UIAlertView>
    initWithTitle(const std::string& title, const std::string& message,
                  std::weak_ptr<UIAlertViewDelegate> delegate,
                  const std::optional<std::string>& cancelButtonTitle,
                  const std::vector<std::string>& otherButtonTitles = {});

    const std::string& title() const { return title_; }
    void setTitle(const std::string& t) { title_ = t; }
    const std::string& message() const { return message_; }
    void setMessage(const std::string& m) { message_ = m; }
    std::shared_ptr<UIAlertViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<UIAlertViewDelegate> d) { delegate_ = std::move(d); }

    int addButtonWithTitle(const std::string& title);
    int numberOfButtons() const { return static_cast<int>(buttonTitles_.size()); }
    std::string buttonTitleAtIndex(int index) const;
    int cancelButtonIndex() const { return cancelButtonIndex_; }
    void setCancelButtonIndex(int index) { cancelButtonIndex_ = index; }
    int firstOtherButtonIndex() const;
    bool isVisible() const { return visible_; }

    // Over the key window; nothing without one.
    void show();
    // Dismisses without telling clickedButtonAtIndex, like the device.
    void dismissWithClickedButtonIndex(int buttonIndex, bool animated);

    // The button views, by index (empty until shown).
    std::shared_ptr<UIButton> buttonAtIndex(int index) const;

    std::string className() const override { return "UIAlertView"; }
    void describe(Json::Members& out) const override;

private:
    void buildContent(CGRect area);
    void buttonTapped(std::shared_ptr<UIButton> sender);

    std::string title_;
    std::string message_;
    std::weak_ptr<UIAlertViewDelegate> delegate_;
    std::vector<std::string> buttonTitles_;
    int cancelButtonIndex_ = -1;
    bool visible_ = false;
    std::weak_ptr<UIWindow> window_;
    std::vector<std::shared_ptr<UIButton>> buttons_;
};
