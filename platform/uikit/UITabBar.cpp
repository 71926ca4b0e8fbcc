#include "platform/uikit/UITabBar.h"

#include "platform/render/Canvas.h"
#include "platform/uikit/NSStringDrawing.h"
#include "platform/uikit/UIImage.h"

#include <algorithm>

namespace {

const UIColor kSystemBlue = UIColor::colorWithRed(0, 122 / 255.0, 1, 1);
const UIColor kUnselected = UIColor::colorWithWhite(146 / 255.0, 1);
const UIFont kTitleFont = UIFont::systemFontOfSize(10);
constexpr CGFloat kImageBox = 30;
constexpr CGFloat kTouchSlop = 15;

render::Color toRender(const UIColor& c) {
    return {c.red, c.green, c.blue, c.alpha};
}

// One item's button: the image above the title, both in the item's state colour.
class UITabBarButton : public UIView {
public:
    UITabBarButton(std::shared_ptr<UITabBarItem> item, std::function<void()> onTap)
        : item_(std::move(item)), onTap_(std::move(onTap)) {}

    void setState(bool selected, UIColor color) {
        selected_ = selected;
        color_ = color;
    }

    void touchesBegan(UITouch&) override {}
    void touchesEnded(UITouch& touch) override {
        CGPoint p = convertPointFromView(touch.windowLocation, nullptr);
        CGRect slop = CGRectMake(-kTouchSlop, -kTouchSlop, bounds().size.width + 2 * kTouchSlop,
                                 bounds().size.height + 2 * kTouchSlop);
        if (CGRectContainsPoint(slop, p) && onTap_) {
            auto tap = onTap_;
            tap();
        }
    }
    void touchesMoved(UITouch&) override {}
    void touchesCancelled(UITouch&) override {}

    void drawRect(render::Canvas& canvas, CGRect) const override {
        CGFloat w = bounds().size.width;
        if (const auto& image = item_->image()) {
            CGSize s = image->size();
            CGFloat scale = std::min<CGFloat>({1.0, kImageBox / std::max<CGFloat>(s.width, 1),
                                               kImageBox / std::max<CGFloat>(s.height, 1)});
            CGFloat iw = s.width * scale, ih = s.height * scale;
            render::Rect dest{(w - iw) / 2, 4 + (kImageBox - ih) / 2, iw, ih};
            canvas.save();
            if (!selected_) {
                canvas.beginGroup();
                canvas.drawImage(image->bitmap(), dest);
                canvas.endGroup(0.5);
            } else {
                canvas.drawImage(image->bitmap(), dest);
            }
            canvas.restore();
        }
        canvas.drawText(item_->title(), {0, 35, w, 12}, {10, false, false}, toRender(color_),
                        render::TextAlign::Center, render::LineBreak::TruncateTail, 1);
    }

    std::string className() const override { return "UITabBarButton"; }
    void describe(Json::Members& out) const override {
        out.emplace_back("title", Json::string(item_->title()));
        out.emplace_back("titleColor", colorJson(color_));
        out.emplace_back("selected", Json::boolean(selected_));
        if (item_->image()) {
            out.emplace_back("image", Json::string(item_->image()->name()));
        }
    }

private:
    std::shared_ptr<UITabBarItem> item_;
    std::function<void()> onTap_;
    bool selected_ = false;
    UIColor color_ = kUnselected;
};

} // namespace

UITabBar::UITabBar(CGRect frame) : UIView(frame) {}

UIColor UITabBar::tintColor() const {
    return tintColor_.value_or(kSystemBlue);
}

void UITabBar::setTintColor(std::optional<UIColor> c) {
    tintColor_ = c;
    rebuild();
}

void UITabBar::setItems(std::vector<std::shared_ptr<UITabBarItem>> items) {
    for (const auto& item : items_) {
        item->setChangeHandler(nullptr);
    }
    items_ = std::move(items);
    if (selected_ && std::find(items_.begin(), items_.end(), selected_) == items_.end()) {
        selected_.reset();
    }
    rebuild();
}

void UITabBar::setSelectedItem(std::shared_ptr<UITabBarItem> item) {
    selected_ = std::move(item);
    for (size_t i = 0; i < buttons_.size(); ++i) {
        bool on = items_[i] == selected_;
        static_cast<UITabBarButton&>(*buttons_[i]).setState(on, on ? tintColor() : kUnselected);
    }
}

void UITabBar::rebuild() {
    for (const auto& b : buttons_) {
        b->removeFromSuperview();
    }
    buttons_.clear();
    std::weak_ptr<UITabBar> weak = std::static_pointer_cast<UITabBar>(weak_from_this().lock());
    for (size_t i = 0; i < items_.size(); ++i) {
        int index = static_cast<int>(i);
        items_[i]->setChangeHandler([weak] {
            if (auto bar = weak.lock()) {
                bar->setNeedsLayout();
            }
        });
        auto button = std::make_shared<UITabBarButton>(items_[i], [weak, index] {
            if (auto bar = weak.lock()) {
                bar->tapped(index);
            }
        });
        buttons_.push_back(button);
        addSubview(button);
    }
    setSelectedItem(selected_);
    layoutSubviews();
}

void UITabBar::tapped(int index) {
    if (tapHandler_) {
        auto handler = tapHandler_;
        handler(index);
    } else if (index >= 0 && static_cast<size_t>(index) < items_.size()) {
        setSelectedItem(items_[index]);
    }
}

void UITabBar::layoutSubviews() {
    if (buttons_.empty()) {
        return;
    }
    CGFloat w = bounds().size.width / static_cast<CGFloat>(buttons_.size());
    for (size_t i = 0; i < buttons_.size(); ++i) {
        buttons_[i]->setFrame(CGRectMake(w * static_cast<CGFloat>(i), 0, w, kHeight));
    }
}

void UITabBar::drawRect(render::Canvas& canvas, CGRect) const {
    UIColor bg = barTintColor_.value_or(
        barStyle_ == UIBarStyleBlack
            ? UIColor::colorWithWhite(0.07, 1)
            : UIColor::colorWithRed(247 / 255.0, 247 / 255.0, 247 / 255.0, 1));
    CGFloat w = bounds().size.width;
    canvas.fillRect({0, 0, w, bounds().size.height}, toRender(bg));
    canvas.drawLine(0, 0.25, w, 0.25, {0, 0, 0, 0.3}, 0.5);
}

void UITabBar::describe(Json::Members& out) const {
    out.emplace_back("tintColor", colorJson(tintColor()));
    if (barTintColor_) {
        out.emplace_back("barTintColor", colorJson(*barTintColor_));
    }
    out.emplace_back("barStyle", Json::number(barStyle_));
    auto it = std::find(items_.begin(), items_.end(), selected_);
    out.emplace_back(
        "selectedIndex",
        Json::number(it == items_.end() ? -1 : static_cast<double>(it - items_.begin())));
}
