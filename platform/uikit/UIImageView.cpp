#include "platform/uikit/UIImageView.h"

#include "platform/render/Canvas.h"

std::shared_ptr<UIImageView> UIImageView::initWithImage(std::shared_ptr<UIImage> image) {
    CGSize size = image ? image->size() : CGSizeMake(0, 0);
    auto view = std::make_shared<UIImageView>(CGRectMake(0, 0, size.width, size.height));
    view->setImage(std::move(image));
    return view;
}

std::shared_ptr<UIImage> UIImageView::currentImage() const {
    if (highlighted_ && highlightedImage_) {
        return highlightedImage_;
    }
    return image_;
}

CGSize UIImageView::sizeThatFits(CGSize size) const {
    auto image = currentImage();
    return image ? image->size() : CGSizeMake(0, 0);
}

void UIImageView::drawRect(render::Canvas& canvas, CGRect rect) const {
    if (auto image = currentImage()) {
        canvas.drawImage(image->bitmap(),
                         {rect.origin.x, rect.origin.y, rect.size.width, rect.size.height});
    }
}

void UIImageView::describe(Json::Members& out) const {
    auto image = currentImage();
    out.emplace_back("image", image ? Json::string(image->name()) : Json::null());
}
