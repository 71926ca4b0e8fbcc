#pragma once
// The bar at the top of a navigation stack: the top item's title (or title view), a back
// button naming the screen below, and the top item's left and right buttons.
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UIView.h"
#include <functional>
#include <memory>
#include <optional>
#include <vector>

enum UIBarStyle : int {
    UIBarStyleDefault = 0,
    UIBarStyleBlack = 1,
};

class UINavigationBar : public UIView {
public:
    static constexpr CGFloat kHeight = 44;

    explicit UINavigationBar(CGRect frame);
    static std::shared_ptr<UINavigationBar> initWithFrame(CGRect frame) {
        return std::make_shared<UINavigationBar>(frame);
    }

    int barStyle() const { return barStyle_; }
    void setBarStyle(int style);
    // Colour of the buttons; the system blue when unset.
    UIColor tintColor() const;
    void setTintColor(std::optional<UIColor> c);
    // Background; from the bar style when unset.
    std::optional<UIColor> barTintColor() const { return barTintColor_; }
    void setBarTintColor(std::optional<UIColor> c);
    bool isTranslucent() const { return translucent_; }
    void setTranslucent(bool t) { translucent_ = t; }

    // The stack's items, bottom first; the last one is shown.
    const std::vector<std::shared_ptr<UINavigationItem>>& items() const { return items_; }
    void setItems(std::vector<std::shared_ptr<UINavigationItem>> items);
    std::shared_ptr<UINavigationItem> topItem() const;
    std::shared_ptr<UINavigationItem> backItem() const;

    // What the back button reads: the previous item's back item title, else its title,
    // else "Back"; empty when no back button shows.
    std::string backButtonTitle() const;
    // The button views now shown (null when absent); a tap on one acts like the device.
    std::shared_ptr<UIView> backButton() const { return backButton_; }
    std::shared_ptr<UIView> leftButton() const { return leftButton_; }
    std::shared_ptr<UIView> rightButton() const { return rightButton_; }

    // The back button asks the owner to pop.
    void setBackHandler(std::function<void()> handler) { backHandler_ = std::move(handler); }

    void layoutSubviews() override;
    void drawRect(render::Canvas& canvas, CGRect rect) const override;
    std::string className() const override { return "UINavigationBar"; }
    void describe(Json::Members& out) const override;

private:
    void rebuild();
    UIColor backgroundColorForStyle() const;
    UIColor titleColor() const;

    int barStyle_ = UIBarStyleDefault;
    std::optional<UIColor> tintColor_;
    std::optional<UIColor> barTintColor_;
    bool translucent_ = true;
    std::vector<std::shared_ptr<UINavigationItem>> items_;
    std::shared_ptr<UIView> backButton_, leftButton_, rightButton_, titleView_;
    std::function<void()> backHandler_;
};
