#include "platform/uikit/UIButton.h"

#include "platform/render/Canvas.h"

#include <algorithm>

namespace {
const UIColor kTint = UIColor::colorWithRed(0, 122 / 255.0, 1, 1);
} // namespace

UIButton::UIButton(CGRect frame, UIButtonType type) : UIControl(frame), type_(type) {}

template <class V>
const V* UIButton::lookup(const std::map<UIControlState, V>& m, UIControlState state) {
    if (auto it = m.find(state); it != m.end()) {
        return &it->second;
    }
    // Highlighted while selected falls back to selected before normal.
    if (state & UIControlStateSelected) {
        if (auto it = m.find(UIControlStateSelected); it != m.end()) {
            return &it->second;
        }
    }
    if (auto it = m.find(UIControlStateNormal); it != m.end()) {
        return &it->second;
    }
    return nullptr;
}

void UIButton::setTitle(const std::string& title, UIControlState state) {
    titles_[state] = title;
    refreshContent();
}

void UIButton::setTitleColor(const UIColor& color, UIControlState state) {
    titleColors_[state] = color;
    refreshContent();
}

void UIButton::setImage(std::shared_ptr<UIImage> image, UIControlState state) {
    if (image) {
        images_[state] = std::move(image);
    } else {
        images_.erase(state);
    }
    refreshContent();
}

void UIButton::setBackgroundImage(std::shared_ptr<UIImage> image, UIControlState state) {
    if (image) {
        backgroundImages_[state] = std::move(image);
    } else {
        backgroundImages_.erase(state);
    }
}

std::optional<std::string> UIButton::titleForState(UIControlState state) const {
    if (auto* t = lookup(titles_, state)) {
        return *t;
    }
    return std::nullopt;
}

std::optional<UIColor> UIButton::titleColorForState(UIControlState state) const {
    if (auto* c = lookup(titleColors_, state)) {
        return *c;
    }
    return std::nullopt;
}

std::shared_ptr<UIImage> UIButton::imageForState(UIControlState state) const {
    auto* i = lookup(images_, state);
    return i ? *i : nullptr;
}

std::shared_ptr<UIImage> UIButton::backgroundImageForState(UIControlState state) const {
    auto* i = lookup(backgroundImages_, state);
    return i ? *i : nullptr;
}

UIColor UIButton::currentTitleColor() const {
    if (auto c = titleColorForState(state())) {
        return *c;
    }
    if (type_ == UIButtonTypeCustom) {
        return UIColor::whiteColor();
    }
    if (!isEnabled()) {
        return UIColor::colorWithWhite(0.56, 1);
    }
    return isHighlighted() ? kTint.colorWithAlphaComponent(0.2) : kTint;
}

std::shared_ptr<UILabel> UIButton::titleLabel() {
    if (!titleLabel_) {
        titleLabel_ = UILabel::initWithFrame(CGRectZero);
        titleLabel_->setFont(UIFont::systemFontOfSize(15));
        titleLabel_->setTextAlignment(NSTextAlignmentCenter);
        titleLabel_->setLineBreakMode(NSLineBreakByTruncatingMiddle);
        titleLabel_->setUserInteractionEnabled(false);
        addSubview(titleLabel_);
        refreshContent();
    }
    return titleLabel_;
}

std::shared_ptr<UIImageView> UIButton::imageView() {
    if (!imageView_) {
        imageView_ = UIImageView::initWithFrame(CGRectZero);
        insertSubviewAtIndex(imageView_, 0);
        refreshContent();
    }
    return imageView_;
}

void UIButton::stateDidChange() {
    refreshContent();
}

void UIButton::refreshContent() {
    if (titleForState(state()) && !titleLabel_) {
        titleLabel();
    }
    if (currentImage() && !imageView_) {
        imageView();
    }
    if (titleLabel_) {
        if (auto t = currentTitle()) {
            titleLabel_->setText(*t);
        } else {
            titleLabel_->clearText();
        }
        titleLabel_->setTextColor(currentTitleColor());
    }
    if (imageView_) {
        imageView_->setImage(currentImage());
    }
    setNeedsLayout();
}

void UIButton::layoutSubviews() {
    CGRect content = UIEdgeInsetsInsetRect(bounds(), contentEdgeInsets_);
    CGSize imageSize = imageView_ && imageView_->image() ? imageView_->image()->size() : CGSize{};
    CGSize titleSize = titleLabel_ ? titleLabel_->sizeThatFits(content.size) : CGSize{};
    // Image then title, centred together, each clipped to the content width.
    double imageW = std::min(imageSize.width, content.size.width);
    double titleW = std::min(titleSize.width, std::max(0.0, content.size.width - imageW));
    double x = content.origin.x + (content.size.width - imageW - titleW) / 2;
    if (imageView_) {
        double h = std::min(imageSize.height, content.size.height);
        imageView_->setFrame(
            CGRectMake(x, content.origin.y + (content.size.height - h) / 2, imageW, h));
    }
    if (titleLabel_) {
        double h = std::min(titleSize.height, content.size.height);
        titleLabel_->setFrame(
            CGRectMake(x + imageW, content.origin.y + (content.size.height - h) / 2, titleW, h));
    }
}

CGSize UIButton::sizeThatFits(CGSize size) const {
    CGSize title = titleLabel_ ? titleLabel_->sizeThatFits(size) : CGSize{};
    CGSize image = currentImage() ? currentImage()->size() : CGSize{};
    if (auto bg = currentBackgroundImage()) {
        image.width = std::max(image.width, bg->size().width);
        image.height = std::max(image.height, bg->size().height);
    }
    return CGSizeMake(
        title.width + image.width + contentEdgeInsets_.left + contentEdgeInsets_.right,
        std::max(title.height, image.height) + contentEdgeInsets_.top + contentEdgeInsets_.bottom);
}

void UIButton::drawRect(render::Canvas& canvas, CGRect rect) const {
    if (auto bg = currentBackgroundImage()) {
        canvas.drawImage(bg->bitmap(),
                         {rect.origin.x, rect.origin.y, rect.size.width, rect.size.height});
    }
}

void UIButton::describe(Json::Members& out) const {
    auto title = currentTitle();
    out.emplace_back("title", title ? Json::string(*title) : Json::null());
    out.emplace_back("titleColor", colorJson(currentTitleColor()));
    UIControl::describe(out);
    auto image = currentImage();
    out.emplace_back("image", image ? Json::string(image->name()) : Json::null());
}
