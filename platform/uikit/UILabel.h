#pragma once
// Static text, drawn vertically centred in the bounds like the device.
#include "platform/uikit/NSStringDrawing.h"
#include "platform/uikit/UIView.h"
#include <string>

enum NSTextAlignment : int {
    NSTextAlignmentLeft = 0,
    NSTextAlignmentCenter = 1,
    NSTextAlignmentRight = 2,
};
using UITextAlignment = NSTextAlignment;
inline constexpr NSTextAlignment UITextAlignmentLeft = NSTextAlignmentLeft;
inline constexpr NSTextAlignment UITextAlignmentCenter = NSTextAlignmentCenter;
inline constexpr NSTextAlignment UITextAlignmentRight = NSTextAlignmentRight;

class UILabel : public UIView {
public:
    // Labels let touches through to the views under them, like the device.
    UILabel() : UILabel(CGRectZero) {}
    explicit UILabel(CGRect frame) : UIView(frame) { setUserInteractionEnabled(false); }
    static std::shared_ptr<UILabel> initWithFrame(CGRect frame) {
        return std::make_shared<UILabel>(frame);
    }

    // Absent and empty text both draw nothing; the dump tells them apart.
    const std::string& text() const { return text_; }
    bool hasText() const { return hasText_; }
    void setText(const std::string& text);
    void clearText();
    const UIFont& font() const { return font_; }
    void setFont(const UIFont& f);
    const UIColor& textColor() const { return textColor_; }
    void setTextColor(const UIColor& c) { textColor_ = c; }
    NSTextAlignment textAlignment() const { return textAlignment_; }
    void setTextAlignment(NSTextAlignment a) { textAlignment_ = a; }
    // 0 means as many lines as the height allows.
    int numberOfLines() const { return numberOfLines_; }
    void setNumberOfLines(int n) { numberOfLines_ = n < 0 ? 0 : n; }
    NSLineBreakMode lineBreakMode() const { return lineBreakMode_; }
    void setLineBreakMode(NSLineBreakMode m) { lineBreakMode_ = m; }
    const UIColor& highlightedTextColor() const { return highlightedTextColor_; }
    void setHighlightedTextColor(const UIColor& c) { highlightedTextColor_ = c; }
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool h) { highlighted_ = h; }

    CGSize sizeThatFits(CGSize size) const override;
    void drawRect(render::Canvas& canvas, CGRect rect) const override;
    std::string className() const override { return "UILabel"; }
    void describe(Json::Members& out) const override;

private:
    std::string text_;
    bool hasText_ = false;
    UIFont font_ = UIFont::systemFontOfSize(17);
    UIColor textColor_ = UIColor::blackColor();
    UIColor highlightedTextColor_ = UIColor::whiteColor();
    NSTextAlignment textAlignment_ = NSTextAlignmentLeft;
    int numberOfLines_ = 1;
    NSLineBreakMode lineBreakMode_ = NSLineBreakByTruncatingTail;
    bool highlighted_ = false;
};
