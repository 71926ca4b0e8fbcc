#pragma once
// The bar at the bottom of a tab bar controller: one button per item, the selected one in the
// tint colour.
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UITabBarItem.h"
#include "platform/uikit/UIView.h"
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class UITabBar : public UIView {
public:
    static constexpr CGFloat kHeight = 49;

    explicit UITabBar(CGRect frame);
    static std::shared_ptr<UITabBar> initWithFrame(CGRect frame) {
        return std::make_shared<UITabBar>(frame);
    }

    const std::vector<std::shared_ptr<UITabBarItem>>& items() const { return items_; }
    void setItems(std::vector<std::shared_ptr<UITabBarItem>> items);
    std::shared_ptr<UITabBarItem> selectedItem() const { return selected_; }
    void setSelectedItem(std::shared_ptr<UITabBarItem> item);

    // The selected item's colour; the system blue when unset.
    UIColor tintColor() const;
    void setTintColor(std::optional<UIColor> c);
    std::optional<UIColor> barTintColor() const { return barTintColor_; }
    void setBarTintColor(std::optional<UIColor> c) { barTintColor_ = c; }
    int barStyle() const { return barStyle_; }
    void setBarStyle(int style) { barStyle_ = style; }
    bool isTranslucent() const { return translucent_; }
    void setTranslucent(bool t) { translucent_ = t; }

    // The button views, in item order; a tap on one selects through the owner.
    const std::vector<std::shared_ptr<UIView>>& buttons() const { return buttons_; }
    void setTapHandler(std::function<void(int)> handler) { tapHandler_ = std::move(handler); }

    void layoutSubviews() override;
    void drawRect(render::Canvas& canvas, CGRect rect) const override;
    std::string className() const override { return "UITabBar"; }
    void describe(Json::Members& out) const override;

private:
    void rebuild();
    void tapped(int index);

    std::vector<std::shared_ptr<UITabBarItem>> items_;
    std::shared_ptr<UITabBarItem> selected_;
    std::vector<std::shared_ptr<UIView>> buttons_;
    std::optional<UIColor> tintColor_;
    std::optional<UIColor> barTintColor_;
    int barStyle_ = UIBarStyleDefault;
    bool translucent_ = true;
    std::function<void(int)> tapHandler_;
};
