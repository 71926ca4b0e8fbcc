#include "platform/uikit/UITableViewCell.h"

#include "platform/render/Canvas.h"
#include "platform/uikit/NSStringDrawing.h"

#include <algorithm>

namespace {

constexpr CGFloat kInset = 15;
const UIColor kSelectedFill = UIColor::colorWithWhite(217 / 255.0, 1);
const UIColor kChevron = UIColor::colorWithRed(199 / 255.0, 199 / 255.0, 204 / 255.0, 1);
const UIColor kSystemBlue = UIColor::colorWithRed(0, 122 / 255.0, 1, 1);
const UIColor kDetailGray = UIColor::colorWithRed(142 / 255.0, 142 / 255.0, 147 / 255.0, 1);
const UIColor kDeleteRed = UIColor::colorWithRed(1, 59 / 255.0, 48 / 255.0, 1);

render::Color toRender(const UIColor& c) {
    return {c.red, c.green, c.blue, c.alpha};
}

class UITableViewCellDeleteConfirmationButton : public UIView {
public:
    UITableViewCellDeleteConfirmationButton(std::string title, std::function<void()> onTap)
        : title_(std::move(title)), onTap_(std::move(onTap)) {
        setBackgroundColor(kDeleteRed);
    }
    static CGFloat widthFor(const std::string& title) {
        return std::max<CGFloat>(82,
                                 ::sizeWithFont(title, UIFont::systemFontOfSize(17)).width + 30);
    }

    void touchesBegan(UITouch&) override {}
    void touchesMoved(UITouch&) override {}
    void touchesCancelled(UITouch&) override {}
    void touchesEnded(UITouch& touch) override {
        CGPoint p = convertPointFromView(touch.windowLocation, nullptr);
        if (CGRectContainsPoint(bounds(), p) && onTap_) {
            // Committing usually removes this very row: keep the action alive meanwhile.
            auto keep = shared_from_this();
            auto tap = onTap_;
            tap();
        }
    }

    void drawRect(render::Canvas& canvas, CGRect) const override {
        CGSize s = bounds().size;
        CGFloat lineH = ::sizeWithFont("A", UIFont::systemFontOfSize(17)).height;
        canvas.drawText(title_, {0, (s.height - lineH) / 2, s.width, lineH}, {17, false, false},
                        {1, 1, 1, 1}, render::TextAlign::Center, render::LineBreak::Clip, 1);
    }
    std::string className() const override { return "UITableViewCellDeleteConfirmationButton"; }
    void describe(Json::Members& out) const override {
        out.emplace_back("title", Json::string(title_));
    }

private:
    std::string title_;
    std::function<void()> onTap_;
};

} // namespace

UITableViewCell::UITableViewCell(int style, std::string reuseIdentifier)
    : UIView(CGRectMake(0, 0, 320, 44)), style_(style),
      reuseIdentifier_(std::move(reuseIdentifier)) {
    setBackgroundColor(UIColor::whiteColor());
}

std::shared_ptr<UIView> UITableViewCell::contentView() {
    if (!contentView_) {
        contentView_ = std::make_shared<UIView>(bounds());
        contentView_->setBackgroundColor(std::nullopt);
        addSubview(contentView_);
    }
    return contentView_;
}

std::shared_ptr<UILabel> UITableViewCell::textLabel() {
    if (!textLabel_) {
        textLabel_ = UILabel::initWithFrame(CGRectZero);
        textLabel_->setBackgroundColor(std::nullopt);
        textLabel_->setFont(UIFont::systemFontOfSize(style_ == UITableViewCellStyleValue2   ? 12
                                                     : style_ == UITableViewCellStyleValue1 ? 17
                                                                                            : 18));
        if (style_ == UITableViewCellStyleValue2) {
            textLabel_->setTextColor(kSystemBlue);
            textLabel_->setTextAlignment(NSTextAlignmentRight);
        }
        contentView()->addSubview(textLabel_);
        setNeedsLayout();
    }
    return textLabel_;
}

std::shared_ptr<UILabel> UITableViewCell::detailTextLabel() {
    if (style_ == UITableViewCellStyleDefault) {
        return nullptr;
    }
    if (!detailTextLabel_) {
        detailTextLabel_ = UILabel::initWithFrame(CGRectZero);
        detailTextLabel_->setBackgroundColor(std::nullopt);
        switch (style_) {
        case UITableViewCellStyleValue1:
            detailTextLabel_->setFont(UIFont::systemFontOfSize(17));
            detailTextLabel_->setTextColor(kDetailGray);
            detailTextLabel_->setTextAlignment(NSTextAlignmentRight);
            break;
        case UITableViewCellStyleSubtitle:
            detailTextLabel_->setFont(UIFont::systemFontOfSize(12));
            break;
        default:
            detailTextLabel_->setFont(UIFont::systemFontOfSize(15));
            break;
        }
        contentView()->addSubview(detailTextLabel_);
        setNeedsLayout();
    }
    return detailTextLabel_;
}

std::shared_ptr<UIImageView> UITableViewCell::imageView() {
    if (!imageView_) {
        imageView_ = UIImageView::initWithFrame(CGRectZero);
        contentView()->addSubview(imageView_);
        setNeedsLayout();
    }
    return imageView_;
}

void UITableViewCell::setAccessoryView(std::shared_ptr<UIView> view) {
    if (accessoryView_) {
        accessoryView_->removeFromSuperview();
    }
    accessoryView_ = std::move(view);
    if (accessoryView_) {
        addSubview(accessoryView_);
    }
    setNeedsLayout();
}

void UITableViewCell::setBackgroundView(std::shared_ptr<UIView> view) {
    if (backgroundView_) {
        backgroundView_->removeFromSuperview();
    }
    backgroundView_ = std::move(view);
    if (backgroundView_) {
        insertSubviewAtIndex(backgroundView_, 0);
    }
    setNeedsLayout();
}

void UITableViewCell::setSelected(bool selected, bool) {
    selected_ = selected;
}

void UITableViewCell::setHighlighted(bool highlighted, bool) {
    highlighted_ = highlighted;
}

void UITableViewCell::setEditing(bool editing, bool) {
    editing_ = editing;
    if (!editing) {
        hideDeleteConfirmation();
    }
}

void UITableViewCell::prepareForReuse() {
    selected_ = false;
    highlighted_ = false;
    editing_ = false;
    hideDeleteConfirmation();
}

void UITableViewCell::setSeparator(int style, UIColor color, CGFloat leftInset) {
    separatorStyle_ = style;
    separatorColor_ = color;
    separatorInset_ = leftInset;
}

void UITableViewCell::showDeleteConfirmation(const std::string& title,
                                             std::function<void()> onDelete) {
    hideDeleteConfirmation();
    deleteTitle_ = title;
    deleteButton_ =
        std::make_shared<UITableViewCellDeleteConfirmationButton>(title, std::move(onDelete));
    addSubview(deleteButton_);
    layoutSubviews();
}

void UITableViewCell::hideDeleteConfirmation() {
    if (deleteButton_) {
        deleteButton_->removeFromSuperview();
        deleteButton_.reset();
        setNeedsLayout();
    }
}

CGFloat UITableViewCell::accessoryWidth() const {
    switch (accessoryType_) {
    case UITableViewCellAccessoryDisclosureIndicator:
        return 33;
    case UITableViewCellAccessoryDetailDisclosureButton:
        return 67;
    case UITableViewCellAccessoryCheckmark:
        return 39;
    default:
        return 0;
    }
}

void UITableViewCell::layoutSubviews() {
    CGSize size = bounds().size;
    CGFloat contentW = size.width - accessoryWidth();
    if (accessoryView_) {
        if (accessoryView_->frame().size == CGSize{}) {
            accessoryView_->sizeToFit();
        }
        CGSize a = accessoryView_->frame().size;
        accessoryView_->setFrame(CGRectMake(size.width - kInset - a.width,
                                            (size.height - a.height) / 2, a.width, a.height));
        contentW = accessoryView_->frame().minX();
    }
    CGFloat shift = 0;
    if (deleteButton_) {
        CGFloat bw = UITableViewCellDeleteConfirmationButton::widthFor(deleteTitle_);
        deleteButton_->setFrame(CGRectMake(size.width - bw, 0, bw, size.height));
        shift = bw;
    }
    if (backgroundView_) {
        backgroundView_->setFrame(bounds());
    }
    auto content = contentView();
    content->setFrame(CGRectMake(-shift, 0, std::max<CGFloat>(0, contentW), size.height));
    CGFloat w = content->bounds().size.width, h = size.height;

    CGFloat x = kInset;
    if (imageView_ && imageView_->image()) {
        CGSize s = imageView_->image()->size();
        if (s.height > h) {
            s = CGSizeMake(s.width * h / s.height, h);
        }
        imageView_->setFrame(CGRectMake(kInset, (h - s.height) / 2, s.width, s.height));
        x = kInset + s.width + kInset;
    }
    bool hasDetail = detailTextLabel_ && !detailTextLabel_->text().empty();
    CGFloat textW = std::max<CGFloat>(0, w - x - kInset);
    switch (style_) {
    case UITableViewCellStyleValue1: {
        CGFloat dw = 0;
        if (detailTextLabel_) {
            dw = std::min(textW,
                          ::sizeWithFont(detailTextLabel_->text(), detailTextLabel_->font()).width);
            detailTextLabel_->setFrame(CGRectMake(w - kInset - dw, 0, dw, h));
        }
        if (textLabel_) {
            CGFloat tw = hasDetail ? std::max<CGFloat>(0, textW - dw - 10) : textW;
            textLabel_->setFrame(CGRectMake(x, 0, tw, h));
        }
        break;
    }
    case UITableViewCellStyleSubtitle: {
        if (textLabel_ && !hasDetail) {
            textLabel_->setFrame(CGRectMake(x, 0, textW, h));
            if (detailTextLabel_) {
                detailTextLabel_->setFrame(CGRectMake(x, h, textW, 0));
            }
            break;
        }
        CGFloat th = textLabel_ ? ::sizeWithFont("A", textLabel_->font()).height : 0;
        CGFloat dh = ::sizeWithFont("A", detailTextLabel_->font()).height;
        CGFloat top = std::max<CGFloat>(0, (h - th - dh) / 2);
        if (textLabel_) {
            textLabel_->setFrame(CGRectMake(x, top, textW, th));
        }
        detailTextLabel_->setFrame(CGRectMake(x, top + th, textW, dh));
        break;
    }
    case UITableViewCellStyleValue2: {
        if (textLabel_) {
            textLabel_->setFrame(CGRectMake(x, 0, 67, h));
        }
        if (detailTextLabel_) {
            detailTextLabel_->setFrame(
                CGRectMake(x + 73, 0, std::max<CGFloat>(0, w - x - 73 - kInset), h));
        }
        break;
    }
    default:
        if (textLabel_) {
            textLabel_->setFrame(CGRectMake(x, 0, textW, h));
        }
        break;
    }
}

void UITableViewCell::drawRect(render::Canvas& canvas, CGRect) const {
    CGSize s = bounds().size;
    if ((highlighted_ || selected_) && selectionStyle_ != UITableViewCellSelectionStyleNone) {
        canvas.fillRect({0, 0, s.width, s.height}, toRender(kSelectedFill));
    }
    if (!accessoryView_ && !deleteButton_) {
        CGFloat cy = s.height / 2;
        CGFloat right = s.width - kInset;
        switch (accessoryType_) {
        case UITableViewCellAccessoryDisclosureIndicator:
            canvas.drawLine(right - 8, cy - 6.5, right - 1, cy, toRender(kChevron), 2);
            canvas.drawLine(right - 1, cy, right - 8, cy + 6.5, toRender(kChevron), 2);
            break;
        case UITableViewCellAccessoryDetailDisclosureButton:
            canvas.drawLine(right - 8, cy - 6.5, right - 1, cy, toRender(kChevron), 2);
            canvas.drawLine(right - 1, cy, right - 8, cy + 6.5, toRender(kChevron), 2);
            canvas.fillCircle(right - 30, cy, 11, toRender(kSystemBlue));
            canvas.fillCircle(right - 30, cy, 10, {1, 1, 1, 1});
            canvas.drawText("i", {right - 41, cy - 9, 22, 18}, {14, true, false},
                            toRender(kSystemBlue), render::TextAlign::Center,
                            render::LineBreak::Clip, 1);
            break;
        case UITableViewCellAccessoryCheckmark:
            canvas.drawLine(right - 14, cy, right - 9, cy + 5, toRender(kSystemBlue), 2);
            canvas.drawLine(right - 9, cy + 5, right, cy - 6, toRender(kSystemBlue), 2);
            break;
        default:
            break;
        }
    }
    if (separatorStyle_ == UITableViewCellSeparatorStyleSingleLine) {
        canvas.drawLine(separatorInset_, s.height - 0.25, s.width, s.height - 0.25,
                        toRender(separatorColor_), 0.5);
    }
}

void UITableViewCell::describe(Json::Members& out) const {
    out.emplace_back("reuseIdentifier", Json::string(reuseIdentifier_));
    out.emplace_back("selected", Json::boolean(selected_));
    out.emplace_back("highlighted", Json::boolean(highlighted_));
    out.emplace_back("accessoryType", Json::number(accessoryType_));
}
