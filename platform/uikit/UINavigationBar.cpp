#include "platform/uikit/UINavigationBar.h"

#include "platform/render/Canvas.h"
#include "platform/uikit/NSStringDrawing.h"

#include <algorithm>
#include <cmath>

namespace {

const UIColor kSystemBlue = UIColor::colorWithRed(0, 122 / 255.0, 1, 1);
const UIFont kTitleFont = UIFont::boldSystemFontOfSize(17);
const UIFont kButtonFont = UIFont::systemFontOfSize(17);
constexpr CGFloat kMargin = 8;
constexpr CGFloat kTouchSlop = 15;

render::Color toRender(const UIColor& c) {
    return {c.red, c.green, c.blue, c.alpha};
}
render::Font toRender(const UIFont& f) {
    return {f.pointSize, f.bold, f.italic};
}

// A bar button as the device draws it on system 7: tinted text (or a glyph), no border.
class UINavigationButton : public UIView {
public:
    enum class Kind { Back, Item };

    UINavigationButton(Kind kind, std::string title, std::optional<int> systemItem, UIColor color,
                       bool bold, std::function<void()> onTap)
        : kind_(kind), title_(std::move(title)), systemItem_(systemItem), color_(color),
          font_(bold ? UIFont::boldSystemFontOfSize(17) : kButtonFont), onTap_(std::move(onTap)) {
        setBackgroundColor(std::nullopt);
    }

    CGSize sizeThatFits(CGSize) const override {
        if (isCompose()) {
            return CGSizeMake(44, UINavigationBar::kHeight);
        }
        CGFloat w = ::sizeWithFont(title_, font_).width + (kind_ == Kind::Back ? 18 : 0);
        return CGSizeMake(std::max<CGFloat>(w, 30), UINavigationBar::kHeight);
    }

    void touchesBegan(UITouch&) override { highlighted_ = true; }
    void touchesMoved(UITouch& touch) override { highlighted_ = inside(touch); }
    void touchesCancelled(UITouch&) override { highlighted_ = false; }
    void touchesEnded(UITouch& touch) override {
        highlighted_ = false;
        if (inside(touch) && onTap_) {
            // The tap may tear the bar down (a pop): keep the action alive while it runs.
            auto tap = onTap_;
            tap();
        }
    }

    void drawRect(render::Canvas& canvas, CGRect rect) const override {
        UIColor c = highlighted_ ? color_.colorWithAlphaComponent(0.3) : color_;
        CGFloat h = bounds().size.height;
        if (isCompose()) {
            // A square with a pen across its corner.
            CGFloat x = (bounds().size.width - 20) / 2, y = (h - 20) / 2;
            canvas.strokeRect({x, y + 3, 17, 17}, toRender(c), 1.5);
            canvas.drawLine(x + 7, y + 13, x + 21, y - 1, toRender(c), 2);
            return;
        }
        CGFloat x = 0;
        if (kind_ == Kind::Back) {
            canvas.drawLine(12, h / 2 - 10, 3, h / 2, toRender(c), 3);
            canvas.drawLine(3, h / 2, 12, h / 2 + 10, toRender(c), 3);
            x = 18;
        }
        CGFloat lineH = ::sizeWithFont("A", font_).height;
        canvas.drawText(title_, {x, (h - lineH) / 2, bounds().size.width - x, lineH},
                        toRender(font_), toRender(c), render::TextAlign::Left,
                        render::LineBreak::TruncateTail, 1);
    }

    std::string className() const override { return "UINavigationButton"; }
    void describe(Json::Members& out) const override {
        out.emplace_back("title", Json::string(title_));
        out.emplace_back("titleColor", colorJson(color_));
        if (systemItem_) {
            out.emplace_back("systemItem", Json::number(*systemItem_));
        }
    }

private:
    bool isCompose() const { return systemItem_ && *systemItem_ == UIBarButtonSystemItemCompose; }
    bool inside(const UITouch& touch) const {
        CGPoint p = convertPointFromView(touch.windowLocation, nullptr);
        CGRect slop = CGRectMake(-kTouchSlop, -kTouchSlop, bounds().size.width + 2 * kTouchSlop,
                                 bounds().size.height + 2 * kTouchSlop);
        return CGRectContainsPoint(slop, p);
    }

    Kind kind_;
    std::string title_;
    std::optional<int> systemItem_;
    UIColor color_;
    UIFont font_;
    std::function<void()> onTap_;
    bool highlighted_ = false;
};

std::shared_ptr<UIView> makeItemButton(const std::shared_ptr<UIBarButtonItem>& item,
                                       UIColor barTint) {
    std::weak_ptr<UIBarButtonItem> weak = item;
    return std::make_shared<UINavigationButton>(
        UINavigationButton::Kind::Item, item->title(), item->systemItem(),
        item->tintColor().value_or(barTint), item->style() == UIBarButtonItemStyleDone, [weak] {
            if (auto i = weak.lock()) {
                i->sendAction();
            }
        });
}

} // namespace

UINavigationBar::UINavigationBar(CGRect frame) : UIView(frame) {}

void UINavigationBar::setBarStyle(int style) {
    barStyle_ = style;
    rebuild();
}

UIColor UINavigationBar::tintColor() const {
    return tintColor_.value_or(kSystemBlue);
}

void UINavigationBar::setTintColor(std::optional<UIColor> c) {
    tintColor_ = c;
    rebuild();
}

void UINavigationBar::setBarTintColor(std::optional<UIColor> c) {
    barTintColor_ = c;
}

void UINavigationBar::setItems(std::vector<std::shared_ptr<UINavigationItem>> items) {
    for (const auto& item : items_) {
        item->setChangeHandler(nullptr);
        if (item->backBarButtonItem()) {
            item->backBarButtonItem()->setChangeHandler(nullptr);
        }
    }
    items_ = std::move(items);
    rebuild();
}

std::shared_ptr<UINavigationItem> UINavigationBar::topItem() const {
    return items_.empty() ? nullptr : items_.back();
}

std::shared_ptr<UINavigationItem> UINavigationBar::backItem() const {
    return items_.size() < 2 ? nullptr : items_[items_.size() - 2];
}

std::string UINavigationBar::backButtonTitle() const {
    auto top = topItem();
    auto back = backItem();
    if (!top || !back || top->hidesBackButton() || top->leftBarButtonItem()) {
        return "";
    }
    if (back->backBarButtonItem()) {
        return back->backBarButtonItem()->title();
    }
    return back->title().empty() ? "Back" : back->title();
}

void UINavigationBar::rebuild() {
    for (auto* v : {&backButton_, &leftButton_, &rightButton_, &titleView_}) {
        if (*v) {
            (*v)->removeFromSuperview();
            v->reset();
        }
    }
    std::weak_ptr<UINavigationBar> weak =
        std::static_pointer_cast<UINavigationBar>(weak_from_this().lock());
    auto refresh = [weak] {
        if (auto bar = weak.lock()) {
            bar->rebuild();
        }
    };
    // Every item shown tells the bar when it changes.
    for (const auto& item : items_) {
        item->setChangeHandler(refresh);
        if (item->backBarButtonItem()) {
            item->backBarButtonItem()->setChangeHandler(refresh);
        }
    }
    auto top = topItem();
    if (!top) {
        return;
    }
    if (top->leftBarButtonItem()) {
        top->leftBarButtonItem()->setChangeHandler(refresh);
        leftButton_ = makeItemButton(top->leftBarButtonItem(), tintColor());
    } else if (backItem() && !top->hidesBackButton()) {
        backButton_ = std::make_shared<UINavigationButton>(
            UINavigationButton::Kind::Back, backButtonTitle(), std::nullopt, tintColor(), false,
            [weak] {
                if (auto bar = weak.lock(); bar && bar->backHandler_) {
                    auto handler = bar->backHandler_;
                    handler();
                }
            });
    }
    if (top->rightBarButtonItem()) {
        top->rightBarButtonItem()->setChangeHandler(refresh);
        rightButton_ = makeItemButton(top->rightBarButtonItem(), tintColor());
    }
    titleView_ = top->titleView();
    for (const auto& v : {backButton_, leftButton_, rightButton_, titleView_}) {
        if (v) {
            addSubview(v);
        }
    }
    layoutSubviews();
}

void UINavigationBar::layoutSubviews() {
    CGFloat w = bounds().size.width, h = bounds().size.height;
    for (const auto& b : {backButton_, leftButton_}) {
        if (b) {
            CGSize s = b->sizeThatFits({});
            b->setFrame(CGRectMake(kMargin, 0, std::min(s.width, w / 3), h));
        }
    }
    if (rightButton_) {
        CGSize s = rightButton_->sizeThatFits({});
        CGFloat bw = std::min(s.width, w / 3);
        rightButton_->setFrame(CGRectMake(w - kMargin - bw, 0, bw, h));
    }
    if (titleView_) {
        CGSize s = titleView_->frame().size;
        titleView_->setFrame(CGRectMake(std::round((w - s.width) / 2),
                                        std::round((h - s.height) / 2), s.width, s.height));
    }
}

UIColor UINavigationBar::backgroundColorForStyle() const {
    if (barTintColor_) {
        return *barTintColor_;
    }
    return barStyle_ == UIBarStyleBlack
               ? UIColor::colorWithWhite(0.07, 1)
               : UIColor::colorWithRed(247 / 255.0, 247 / 255.0, 247 / 255.0, 1);
}

UIColor UINavigationBar::titleColor() const {
    return barStyle_ == UIBarStyleBlack ? UIColor::whiteColor() : UIColor::blackColor();
}

void UINavigationBar::drawRect(render::Canvas& canvas, CGRect) const {
    CGFloat w = bounds().size.width, h = bounds().size.height;
    // On system 7 the bar's background runs up under the status bar.
    CGPoint onScreen = convertPointToView(CGPointMake(0, 0), nullptr);
    CGFloat up = std::clamp<CGFloat>(onScreen.y, 0, 20);
    canvas.fillRect({0, -up, w, h + up}, toRender(backgroundColorForStyle()));
    canvas.drawLine(0, h - 0.25, w, h - 0.25, {0, 0, 0, 0.3}, 0.5);
    auto top = topItem();
    if (!top || titleView_) {
        return;
    }
    CGFloat side = 0;
    for (const auto& b : {backButton_, leftButton_, rightButton_}) {
        if (b) {
            side = std::max(side, b->frame().size.width + kMargin);
        }
    }
    CGFloat lineH = ::sizeWithFont("A", kTitleFont).height;
    canvas.drawText(top->title(), {side, (h - lineH) / 2, w - 2 * side, lineH},
                    toRender(kTitleFont), toRender(titleColor()), render::TextAlign::Center,
                    render::LineBreak::TruncateTail, 1);
}

void UINavigationBar::describe(Json::Members& out) const {
    auto top = topItem();
    out.emplace_back("title", Json::string(top ? top->title() : ""));
    out.emplace_back("barStyle", Json::number(barStyle_));
    out.emplace_back("tintColor", colorJson(tintColor()));
    if (barTintColor_) {
        out.emplace_back("barTintColor", colorJson(*barTintColor_));
    }
}
