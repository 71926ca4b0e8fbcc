#include "platform/uikit/UIActionSheet.h"

#include "platform/uikit/UIWindow.h"

#include <cmath>

namespace {

constexpr double kMargin = 8;
constexpr double kButtonHeight = 44;
constexpr double kHairline = 0.5;
const UIColor kTint = UIColor::colorWithRed(0, 122 / 255.0, 1, 1);
const UIColor kDestructive = UIColor::colorWithRed(1, 59 / 255.0, 48 / 255.0, 1);

std::shared_ptr<UIView> roundedGroup() {
    auto group = UIView::initWithFrame(CGRectZero);
    group->setBackgroundColor(UIColor::colorWithWhite(0.97, 1));
    group->layer()->setCornerRadius(4);
    group->setClipsToBounds(true);
    return group;
}

} // namespace

std::shared_ptr<UIActionSheet>
UIActionSheet::initWithTitle(const std::string& title,
                             std::weak_ptr<UIActionSheetDelegate> delegate,
                             const std::optional<std::string>& cancelButtonTitle,
                             const std::optional<std::string>& destructiveButtonTitle,
                             const std::vector<std::string>& otherButtonTitles) {
    auto sheet = std::make_shared<UIActionSheet>();
    sheet->title_ = title;
    sheet->delegate_ = std::move(delegate);
    if (destructiveButtonTitle) {
        sheet->destructiveButtonIndex_ = sheet->addButtonWithTitle(*destructiveButtonTitle);
    }
    for (const auto& t : otherButtonTitles) {
        sheet->addButtonWithTitle(t);
    }
    if (cancelButtonTitle) {
        sheet->cancelButtonIndex_ = sheet->addButtonWithTitle(*cancelButtonTitle);
    }
    return sheet;
}

int UIActionSheet::addButtonWithTitle(const std::string& title) {
    buttonTitles_.push_back(title);
    return static_cast<int>(buttonTitles_.size()) - 1;
}

std::string UIActionSheet::buttonTitleAtIndex(int index) const {
    if (index < 0 || index >= numberOfButtons()) {
        return {};
    }
    return buttonTitles_[static_cast<size_t>(index)];
}

int UIActionSheet::firstOtherButtonIndex() const {
    for (int i = 0; i < numberOfButtons(); ++i) {
        if (i != cancelButtonIndex_ && i != destructiveButtonIndex_) {
            return i;
        }
    }
    return -1;
}

std::shared_ptr<UIButton> UIActionSheet::buttonAtIndex(int index) const {
    for (const auto& b : buttons_) {
        if (b->tag() == index) {
            return b;
        }
    }
    return nullptr;
}

void UIActionSheet::showFromTabBar(const std::shared_ptr<UIView>& tabBar) {
    presentIn(tabBar ? tabBar->window() : nullptr);
}

void UIActionSheet::showInView(const std::shared_ptr<UIView>& view) {
    presentIn(view ? view->window() : nullptr);
}

void UIActionSheet::presentIn(UIWindow* window) {
    std::shared_ptr<UIWindow> target =
        window ? std::static_pointer_cast<UIWindow>(window->shared_from_this())
               : UIWindow::keyWindow();
    if (!target || visible_) {
        return;
    }
    setFrame(target->bounds());
    buildContent(target->bounds());
    window_ = target;
    visible_ = true;
    target->presentOverlay(shared_from_this());
}

void UIActionSheet::buildContent(CGRect area) {
    for (const auto& child : std::vector<std::shared_ptr<UIView>>(subviews())) {
        child->removeFromSuperview();
    }
    buttons_.clear();
    setBackgroundColor(UIColor::colorWithWhite(0, 0.4));
    const double width = area.size.width - 2 * kMargin;

    auto makeButton = [&](const std::shared_ptr<UIView>& group, int index, double y) {
        auto button = UIButton::buttonWithType(UIButtonTypeSystem);
        button->setFrame(CGRectMake(0, y, width, kButtonHeight));
        button->setTag(index);
        button->setTitle(buttonTitleAtIndex(index), UIControlStateNormal);
        UIColor color = index == destructiveButtonIndex_ ? kDestructive : kTint;
        button->setTitleColor(color, UIControlStateNormal);
        button->setTitleColor(color.colorWithAlphaComponent(0.3), UIControlStateHighlighted);
        button->titleLabel()->setFont(index == cancelButtonIndex_ ? UIFont::boldSystemFontOfSize(21)
                                                                  : UIFont::systemFontOfSize(21));
        std::weak_ptr<UIActionSheet> weak =
            std::static_pointer_cast<UIActionSheet>(shared_from_this());
        button->addTarget(weak, &UIActionSheet::buttonTapped, UIControlEventTouchUpInside);
        group->addSubview(button);
        buttons_.push_back(button);
    };
    auto addHairline = [&](const std::shared_ptr<UIView>& group, double y) {
        auto line = UIView::initWithFrame(CGRectMake(0, y, width, kHairline));
        line->setBackgroundColor(UIColor::colorWithWhite(0.8, 1));
        line->setUserInteractionEnabled(false);
        group->addSubview(line);
    };

    // The title and every button but cancel in one rounded group; cancel alone below it.
    auto group = roundedGroup();
    double y = 0;
    if (!title_.empty()) {
        auto label = UILabel::initWithFrame(CGRectZero);
        label->setText(title_);
        label->setFont(UIFont::systemFontOfSize(13));
        label->setTextColor(UIColor::colorWithWhite(0.56, 1));
        label->setNumberOfLines(0);
        label->setLineBreakMode(NSLineBreakByWordWrapping);
        label->setTextAlignment(NSTextAlignmentCenter);
        CGSize size = label->sizeThatFits(CGSizeMake(width - 32, 0));
        label->setFrame(CGRectMake(16, 14, width - 32, size.height));
        group->addSubview(label);
        y = std::ceil(size.height + 28);
    }
    bool first = true;
    for (int i = 0; i < numberOfButtons(); ++i) {
        if (i == cancelButtonIndex_) {
            continue;
        }
        if (!first || !title_.empty()) {
            addHairline(group, y);
            y += kHairline;
        }
        first = false;
        makeButton(group, i, y);
        y += kButtonHeight;
    }
    double bottom = area.size.height - kMargin;
    if (cancelButtonIndex_ >= 0 && cancelButtonIndex_ < numberOfButtons()) {
        auto cancel = roundedGroup();
        cancel->setFrame(CGRectMake(kMargin, bottom - kButtonHeight, width, kButtonHeight));
        makeButton(cancel, cancelButtonIndex_, 0);
        addSubview(cancel);
        bottom -= kButtonHeight + kMargin;
    }
    if (y > 0) {
        group->setFrame(CGRectMake(kMargin, bottom - y, width, y));
        addSubview(group);
    }
}

void UIActionSheet::buttonTapped(std::shared_ptr<UIButton> sender) {
    if (!sender || !visible_) {
        return;
    }
    auto self = std::static_pointer_cast<UIActionSheet>(shared_from_this());
    int index = sender->tag();
    if (auto d = delegate()) {
        d->clickedButtonAtIndex(self, index);
    }
    dismissWithClickedButtonIndex(index, true);
}

void UIActionSheet::dismissWithClickedButtonIndex(int buttonIndex, bool animated) {
    if (!visible_) {
        return;
    }
    auto self = std::static_pointer_cast<UIActionSheet>(shared_from_this());
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

void UIActionSheet::describe(Json::Members& out) const {
    out.emplace_back("title", Json::string(title_));
}
