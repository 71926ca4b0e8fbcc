#pragma once
// A control with a title, an image and a background image per state; a state without its
// own value shows the normal state's.
#include "platform/uikit/UIControl.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include <map>
#include <optional>
#include <string>

enum UIButtonType : int {
    UIButtonTypeCustom = 0,
    UIButtonTypeRoundedRect = 1,
    UIButtonTypeSystem = 1,
};

class UIButton : public UIControl {
public:
    explicit UIButton(CGRect frame = CGRectZero, UIButtonType type = UIButtonTypeCustom);
    static std::shared_ptr<UIButton> buttonWithType(UIButtonType type) {
        return std::make_shared<UIButton>(CGRectZero, type);
    }
    static std::shared_ptr<UIButton> initWithFrame(CGRect frame) {
        return std::make_shared<UIButton>(frame);
    }
    UIButtonType buttonType() const { return type_; }

    void setTitle(const std::string& title, UIControlState state);
    void setTitleColor(const UIColor& color, UIControlState state);
    void setImage(std::shared_ptr<UIImage> image, UIControlState state);
    void setBackgroundImage(std::shared_ptr<UIImage> image, UIControlState state);
    std::optional<std::string> titleForState(UIControlState state) const;
    std::optional<UIColor> titleColorForState(UIControlState state) const;
    std::shared_ptr<UIImage> imageForState(UIControlState state) const;
    std::shared_ptr<UIImage> backgroundImageForState(UIControlState state) const;

    // For the current state, with the fallback to normal.
    std::optional<std::string> currentTitle() const { return titleForState(state()); }
    UIColor currentTitleColor() const;
    std::shared_ptr<UIImage> currentImage() const { return imageForState(state()); }
    std::shared_ptr<UIImage> currentBackgroundImage() const {
        return backgroundImageForState(state());
    }

    // Created on first use (font and colours of the title).
    std::shared_ptr<UILabel> titleLabel();
    std::shared_ptr<UIImageView> imageView();

    UIEdgeInsets contentEdgeInsets() const { return contentEdgeInsets_; }
    void setContentEdgeInsets(UIEdgeInsets i) {
        contentEdgeInsets_ = i;
        setNeedsLayout();
    }

    void layoutSubviews() override;
    CGSize sizeThatFits(CGSize size) const override;
    void drawRect(render::Canvas& canvas, CGRect rect) const override;
    std::string className() const override { return "UIButton"; }
    void describe(Json::Members& out) const override;

protected:
    void stateDidChange() override;

private:
    template <class V>
    static const V* lookup(const std::map<UIControlState, V>& m, UIControlState state);
    void refreshContent();

    UIButtonType type_;
    std::map<UIControlState, std::string> titles_;
    std::map<UIControlState, UIColor> titleColors_;
    std::map<UIControlState, std::shared_ptr<UIImage>> images_;
    std::map<UIControlState, std::shared_ptr<UIImage>> backgroundImages_;
    std::shared_ptr<UILabel> titleLabel_;
    std::shared_ptr<UIImageView> imageView_;
    UIEdgeInsets contentEdgeInsets_{};
};
