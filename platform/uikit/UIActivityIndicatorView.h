#pragma once
// A spinner; hidden while stopped unless told otherwise.
#include "platform/uikit/UIView.h"

enum UIActivityIndicatorViewStyle : int {
    UIActivityIndicatorViewStyleWhiteLarge = 0,
    UIActivityIndicatorViewStyleWhite = 1,
    UIActivityIndicatorViewStyleGray = 2,
};

class UIActivityIndicatorView : public UIView {
public:
    explicit UIActivityIndicatorView(
        CGRect frame = CGRectZero,
        UIActivityIndicatorViewStyle style = UIActivityIndicatorViewStyleWhite);
    static std::shared_ptr<UIActivityIndicatorView> initWithFrame(CGRect frame) {
        return std::make_shared<UIActivityIndicatorView>(frame);
    }
    // Sized for the style.
    static std::shared_ptr<UIActivityIndicatorView>
    initWithActivityIndicatorStyle(UIActivityIndicatorViewStyle style);

    UIActivityIndicatorViewStyle activityIndicatorViewStyle() const { return style_; }
    void setActivityIndicatorViewStyle(UIActivityIndicatorViewStyle style);
    UIColor color() const { return color_; }
    void setColor(const UIColor& c) { color_ = c; }
    bool hidesWhenStopped() const { return hidesWhenStopped_; }
    void setHidesWhenStopped(bool h);

    void startAnimating();
    void stopAnimating();
    bool isAnimating() const { return animating_; }

    CGSize sizeThatFits(CGSize size) const override;
    void drawRect(render::Canvas& canvas, CGRect rect) const override;
    std::string className() const override { return "UIActivityIndicatorView"; }
    void describe(Json::Members& out) const override;

private:
    UIActivityIndicatorViewStyle style_;
    UIColor color_;
    bool hidesWhenStopped_ = true;
    bool animating_ = false;
};
