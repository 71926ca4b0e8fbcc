#pragma once
// The drawing properties of a view's layer; sublayers are drawn under the view's content.
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGeometry.h"
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CALayer : public std::enable_shared_from_this<CALayer> {
public:
    static std::shared_ptr<CALayer> layer() { return std::make_shared<CALayer>(); }
    virtual ~CALayer() = default;

    CGFloat cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(CGFloat r) { cornerRadius_ = r; }
    bool masksToBounds() const { return masksToBounds_; }
    void setMasksToBounds(bool m) { masksToBounds_ = m; }
    CGFloat borderWidth() const { return borderWidth_; }
    void setBorderWidth(CGFloat w) { borderWidth_ = w; }
    UIColor borderColor() const { return borderColor_; }
    void setBorderColor(UIColor c) { borderColor_ = c; }
    std::optional<UIColor> shadowColor() const { return shadowColor_; }
    void setShadowColor(UIColor c) { shadowColor_ = c; }
    CGSize shadowOffset() const { return shadowOffset_; }
    void setShadowOffset(CGSize s) { shadowOffset_ = s; }
    float shadowOpacity() const { return shadowOpacity_; }
    void setShadowOpacity(float o) { shadowOpacity_ = o; }
    CGFloat shadowRadius() const { return shadowRadius_; }
    void setShadowRadius(CGFloat r) { shadowRadius_ = r; }

    // Geometry of a standalone sublayer, in the owning view's coordinates.
    CGRect bounds() const { return bounds_; }
    void setBounds(CGRect b) { bounds_ = b; }
    CGPoint position() const { return position_; }
    void setPosition(CGPoint p) { position_ = p; }
    CGRect frame() const;

    const std::vector<std::shared_ptr<CALayer>>& sublayers() const { return sublayers_; }
    void addSublayer(std::shared_ptr<CALayer> layer);
    void insertSublayer(std::shared_ptr<CALayer> layer, unsigned index);
    void removeFromSuperlayer();
    std::shared_ptr<CALayer> superlayer() const { return superlayer_.lock(); }

    virtual std::string className() const { return "CALayer"; }

private:
    CGFloat cornerRadius_ = 0;
    bool masksToBounds_ = false;
    CGFloat borderWidth_ = 0;
    UIColor borderColor_ = UIColor::blackColor();
    std::optional<UIColor> shadowColor_;
    CGSize shadowOffset_{0, -3}; // the platform's default
    float shadowOpacity_ = 0;
    CGFloat shadowRadius_ = 3;
    CGRect bounds_{};
    CGPoint position_{};
    std::vector<std::shared_ptr<CALayer>> sublayers_;
    std::weak_ptr<CALayer> superlayer_;
};

// Two colours, top to bottom (the platform's default direction).
class CAGradientLayer : public CALayer {
public:
    static std::shared_ptr<CAGradientLayer> layer() { return std::make_shared<CAGradientLayer>(); }
    const std::vector<UIColor>& colors() const { return colors_; }
    void setColors(std::vector<UIColor> c) { colors_ = std::move(c); }
    std::string className() const override { return "CAGradientLayer"; }

private:
    std::vector<UIColor> colors_;
};
