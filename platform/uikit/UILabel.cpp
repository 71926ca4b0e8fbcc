#include "platform/uikit/UILabel.h"

#include "platform/render/Canvas.h"

#include <cmath>
#include <limits>

void UILabel::setText(const std::string& text) {
    text_ = text;
    hasText_ = true;
    setNeedsDisplay();
}

void UILabel::clearText() {
    text_.clear();
    hasText_ = false;
}

void UILabel::setFont(const UIFont& f) {
    font_ = f;
}

CGSize UILabel::sizeThatFits(CGSize size) const {
    if (text_.empty()) {
        return CGSizeMake(0, 0);
    }
    if (numberOfLines_ == 1) {
        return sizeWithFont(text_, font_);
    }
    double width = size.width > 0 ? size.width : std::numeric_limits<double>::infinity();
    double height = std::numeric_limits<double>::infinity();
    if (numberOfLines_ > 1) {
        height = std::ceil(font_.lineHeight() * numberOfLines_);
    }
    return sizeWithFont(text_, font_, CGSizeMake(width, height), NSLineBreakByWordWrapping);
}

void UILabel::drawRect(render::Canvas& canvas, CGRect rect) const {
    if (text_.empty()) {
        return;
    }
    const render::Font font{font_.pointSize, font_.bold, font_.italic};
    const auto mode = static_cast<render::LineBreak>(lineBreakMode_);
    const double width = rect.size.width;
    // As many lines as asked for and as fit in the height.
    int lines = numberOfLines_;
    double lineHeight = render::lineHeight(font);
    if (lineHeight > 0) {
        int fit = std::max(1, static_cast<int>(std::floor(rect.size.height / lineHeight + 1e-6)));
        lines = lines == 0 ? fit : std::min(lines, fit);
    }
    render::Size size = render::measureText(text_, font, width, mode, lines);
    double h = std::min(size.h, rect.size.height);
    double y = rect.origin.y + (rect.size.height - h) / 2;
    render::TextAlign align = textAlignment_ == NSTextAlignmentCenter  ? render::TextAlign::Center
                              : textAlignment_ == NSTextAlignmentRight ? render::TextAlign::Right
                                                                       : render::TextAlign::Left;
    const UIColor& c = highlighted_ ? highlightedTextColor_ : textColor_;
    canvas.drawText(text_, {rect.origin.x, y, width, h}, font, {c.red, c.green, c.blue, c.alpha},
                    align, mode, lines);
}

void UILabel::describe(Json::Members& out) const {
    out.emplace_back("text", hasText_ ? Json::string(text_) : Json::null());
    out.emplace_back("textColor", colorJson(textColor_));
    out.emplace_back("font", fontJson(font_));
    out.emplace_back("lines", Json::number(numberOfLines_));
    const char* align = textAlignment_ == NSTextAlignmentCenter  ? "center"
                        : textAlignment_ == NSTextAlignmentRight ? "right"
                                                                 : "left";
    out.emplace_back("align", Json::string(align));
}
