#pragma once
// Shows an image scaled to fill its bounds.
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIView.h"

class UIImageView : public UIView {
public:
    UIImageView() : UIImageView(CGRectZero) {}
    explicit UIImageView(CGRect frame) : UIView(frame) { setUserInteractionEnabled(false); }
    static std::shared_ptr<UIImageView> initWithFrame(CGRect frame) {
        return std::make_shared<UIImageView>(frame);
    }
    // Sized to the image.
    static std::shared_ptr<UIImageView> initWithImage(std::shared_ptr<UIImage> image);

    const std::shared_ptr<UIImage>& image() const { return image_; }
    void setImage(std::shared_ptr<UIImage> image) { image_ = std::move(image); }
    const std::shared_ptr<UIImage>& highlightedImage() const { return highlightedImage_; }
    void setHighlightedImage(std::shared_ptr<UIImage> image) {
        highlightedImage_ = std::move(image);
    }
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool h) { highlighted_ = h; }
    // What is drawn now: the highlighted image while highlighted, when there is one.
    std::shared_ptr<UIImage> currentImage() const;

    CGSize sizeThatFits(CGSize size) const override;
    void drawRect(render::Canvas& canvas, CGRect rect) const override;
    std::string className() const override { return "UIImageView"; }
    void describe(Json::Members& out) const override;

private:
    std::shared_ptr<UIImage> image_;
    std::shared_ptr<UIImage> highlightedImage_;
    bool highlighted_ = false;
};
