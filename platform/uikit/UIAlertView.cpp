#include "platform/uikit/UIAlertView.h"

#include "platform/uikit/UIWindow.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kWidth = 270;
constexpr double kButtonHeight = 44;
constexpr double kHairline = 0.5;
const UIColor kTint = UIColor::colorWithRed(0, 122 / 255.0, 1, 1);
const UIColor kSeparator = UIColor::colorWithWhite(0.8, 1);

std::shared_ptr<UIView> hairline(CGRect frame) {
    auto line = UIView::initWithFrame(frame);
    line->setBackgroundColor(kSeparator);
    line->setUserInteractionEnabled(false);
    return line;
}

} // namespace

std::shared_ptr<UIAlertView>
UIAlertView::initWithTitle(const std::string& title, const std::string& message,
                           std::weak_ptr<UIAlertViewDelegate> delegate,
                           const std::optional<std::string>& cancelButtonTitle,
                           const std::vector<std::string>& otherButtonTitles) {
    auto alert = std::make_shared<UIAlertView>();
    alert->title_ = title;
    alert->message_ = message;
    alert->delegate_ = std::move(delegate);
    if (cancelButtonTitle) {
        alert->cancelButtonIndex_ = alert->addButtonWithTitle(*cancelButtonTitle);
    }
    for (const auto& t : otherButtonTitles) {
        alert->addButtonWithTitle(t);
    }
    return alert;
}

int UIAlertView::addButtonWithTitle(const std::string& title) {
    buttonTitles_.push_back(title);
    return static_cast<int>(buttonTitles_.size()) - 1;
}

std::string UIAlertView::buttonTitleAtIndex(int index) const {
    if (index < 0 || index >= numberOfButtons()) {
        return {};
    }
    return buttonTitles_[static_cast<size_t>(index)];
}

int UIAlertView::firstOtherButtonIndex() const {
    for (int i = 0; i < numberOfButtons(); ++i) {
        if (i != cancelButtonIndex_) {
            return i;
        }
    }
    return -1;
}

std::shared_ptr<UIButton> UIAlertView::buttonAtIndex(int index) const {
    for (const auto& b : buttons_) {
        if (b->tag() == index) {
            return b;
        }
    }
    return nullptr;
}

void UIAlertView::show() {
    auto window = UIWindow::keyWindow();
    if (!window || visible_) {
        return;
    }
    setFrame(window->bounds());
    buildContent(window->bounds());
    window_ = window;
    visible_ = true;
    window->presentOverlay(shared_from_this());
}

void UIAlertView::buildContent(CGRect area) {
    for (const auto& child : std::vector<std::shared_ptr<UIView>>(subviews())) {
        child->removeFromSuperview();
    }
    buttons_.clear();
    // The screen dims behind the box.
    setBackgroundColor(UIColor::colorWithWhite(0, 0.4));

    auto box = UIView::initWithFrame(CGRectZero);
    box->setBackgroundColor(UIColor::colorWithWhite(0.97, 1));
    box->layer()->setCornerRadius(7);
    box->setClipsToBounds(true);
    addSubview(box);

    double y = 19;
    const double textWidth = kWidth - 32;
    auto addText = [&](const std::string& text, UIFont font) {
        if (text.empty()) {
            return;
        }
        auto label = UILabel::initWithFrame(CGRectZero);
        label->setText(text);
        label->setFont(font);
        label->setNumberOfLines(0);
        label->setLineBreakMode(NSLineBreakByWordWrapping);
        label->setTextAlignment(NSTextAlignmentCenter);
        CGSize size = label->sizeThatFits(CGSizeMake(textWidth, 0));
        label->setFrame(CGRectMake(16, y, textWidth, size.height));
        box->addSubview(label);
        y += size.height + 4;
    };
    addText(title_, UIFont::boldSystemFontOfSize(17));
    addText(message_, UIFont::systemFontOfSize(13));
    y += 15;

    auto makeButton = [&](int index, CGRect frame) {
        auto button = UIButton::buttonWithType(UIButtonTypeSystem);
        button->setFrame(frame);
        button->setTag(index);
        button->setTitle(buttonTitleAtIndex(index), UIControlStateNormal);
        button->setTitleColor(kTint, UIControlStateNormal);
        button->setTitleColor(kTint.colorWithAlphaComponent(0.3), UIControlStateHighlighted);
        button->titleLabel()->setFont(index == cancelButtonIndex_ ? UIFont::boldSystemFontOfSize(17)
                                                                  : UIFont::systemFontOfSize(17));
        std::weak_ptr<UIAlertView> weak = std::static_pointer_cast<UIAlertView>(shared_from_this());
        button->addTarget(weak, &UIAlertView::buttonTapped, UIControlEventTouchUpInside);
        box->addSubview(button);
        buttons_.push_back(button);
    };

    const int count = numberOfButtons();
    if (count == 2) {
        // Side by side, the cancel button on the left.
        int left = cancelButtonIndex_ >= 0 ? cancelButtonIndex_ : 0;
        int right = left == 0 ? 1 : 0;
        box->addSubview(hairline(CGRectMake(0, y, kWidth, kHairline)));
        makeButton(left, CGRectMake(0, y + kHairline, kWidth / 2, kButtonHeight));
        box->addSubview(hairline(CGRectMake(kWidth / 2, y, kHairline, kButtonHeight + kHairline)));
        makeButton(right, CGRectMake(kWidth / 2 + kHairline, y + kHairline, kWidth / 2 - kHairline,
                                     kButtonHeight));
        y += kHairline + kButtonHeight;
    } else {
        // Stacked: the others in order, the cancel button at the bottom.
        std::vector<int> order;
        for (int i = 0; i < count; ++i) {
            if (i != cancelButtonIndex_) {
                order.push_back(i);
            }
        }
        if (cancelButtonIndex_ >= 0 && cancelButtonIndex_ < count) {
            order.push_back(cancelButtonIndex_);
        }
        for (int index : order) {
            box->addSubview(hairline(CGRectMake(0, y, kWidth, kHairline)));
            makeButton(index, CGRectMake(0, y + kHairline, kWidth, kButtonHeight));
            y += kHairline + kButtonHeight;
        }
    }
    double height = std::ceil(y);
    box->setFrame(CGRectMake(std::round((area.size.width - kWidth) / 2),
                             std::round((area.size.height - height) / 2), kWidth, height));
}

void UIAlertView::buttonTapped(std::shared_ptr<UIButton> sender) {
    if (!sender || !visible_) {
        return;
    }
    auto self = std::static_pointer_cast<UIAlertView>(shared_from_this());
    int index = sender->tag();
    if (auto d = delegate()) {
        d->clickedButtonAtIndex(self, index);
    }
    dismissWithClickedButtonIndex(index, true);
}

void UIAlertView::dismissWithClickedButtonIndex(int buttonIndex, bool animated) {
    if (!visible_) {
        return;
    }
    auto self = std::static_pointer_cast<UIAlertView>(shared_from_this());
    if (auto d = delegate()) {
        d->willDismissWithButtonIndex(self, buttonIndex);
    }
    visible_ = false;
    if (auto window = window_.lock()) {
        window->dismissOverlay(self);
    } else {
        removeFromSuperview();
    }
    window_.reset();
    if (auto d = delegate()) {
        d->didDismissWithButtonIndex(self, buttonIndex);
    }
}

void UIAlertView::describe(Json::Members& out) const {
    out.emplace_back("title", Json::string(title_));
    out.emplace_back("message", Json::string(message_));
}
