#include "platform/kits/NoticeOverlay.h"

#include "platform/foundation/NSTimer.h"

#include <algorithm>

namespace {

constexpr double kScreenMargin = 30;
constexpr double kPaddingX = 16;
constexpr double kPaddingY = 12;
constexpr double kMinBoxWidth = 80;
constexpr double kFadeSeconds = 0.3;

} // namespace

NoticeOverlay::NoticeOverlay()
    : box_(UIView::initWithFrame(CGRectZero)), captionLabel_(UILabel::initWithFrame(CGRectZero)) {
    setBackgroundColor(std::nullopt);
    box_->setBackgroundColor(UIColor::colorWithWhite(0, opacity_));
    box_->layer()->setCornerRadius(10);
    captionLabel_->setTextColor(UIColor::whiteColor());
    captionLabel_->setFont(UIFont::boldSystemFontOfSize(16));
    captionLabel_->setTextAlignment(NSTextAlignmentCenter);
    captionLabel_->setNumberOfLines(0);
    captionLabel_->setLineBreakMode(NSLineBreakByWordWrapping);
    box_->addSubview(captionLabel_);
    box_->setHidden(true);
}

std::shared_ptr<NoticeOverlay> NoticeOverlay::create() {
    auto overlay = std::make_shared<NoticeOverlay>();
    // Only once a shared owner exists can the box learn its superview.
    overlay->addSubview(overlay->box_);
    return overlay;
}

void NoticeOverlay::setOpacity(double opacity) {
    opacity_ = std::clamp(opacity, 0.0, 1.0);
    box_->setBackgroundColor(UIColor::colorWithWhite(0, opacity_));
}

void NoticeOverlay::setHasShadow(bool shadow) {
    hasShadow_ = shadow;
    applyShadow();
}

void NoticeOverlay::applyShadow() {
    const auto& layer = box_->layer();
    if (hasShadow_) {
        layer->setShadowColor(UIColor::blackColor());
        layer->setShadowOffset(CGSizeMake(0, 2));
        layer->setShadowOpacity(0.5f);
        layer->setShadowRadius(4);
    } else {
        layer->setShadowOpacity(0);
    }
}

void NoticeOverlay::setCaption(const std::string& caption) {
    captionLabel_->setText(caption);
    layoutBox();
}

void NoticeOverlay::show() {
    auto parent = superview();
    if (!parent) {
        return;
    }
    setFrame(parent->bounds());
    setAlpha(1);
    box_->setHidden(false);
    showing_ = true;
    layoutBox();
}

void NoticeOverlay::hideAfterDelay(double seconds) {
    if (hideTimer_) {
        hideTimer_->invalidate();
    }
    std::weak_ptr<NoticeOverlay> weak = std::static_pointer_cast<NoticeOverlay>(self());
    hideTimer_ = NSTimer::scheduledTimerWithTimeInterval(seconds, false, [weak](NSTimer&) {
        if (auto overlay = weak.lock()) {
            overlay->hideTimer_.reset();
            overlay->hide();
        }
    });
}

void NoticeOverlay::hide() {
    if (hideTimer_) {
        hideTimer_->invalidate();
        hideTimer_.reset();
    }
    if (!showing_) {
        return;
    }
    showing_ = false;
    auto overlay = std::static_pointer_cast<NoticeOverlay>(self());
    const CGRect shown = box_->frame();
    const double w = shown.size.width * disappearScaleFactor_;
    const double h = shown.size.height * disappearScaleFactor_;
    UIView::animateWithDuration(
        kFadeSeconds,
        [&] {
            setAlpha(0);
            box_->setFrame(CGRectMake(shown.origin.x + (shown.size.width - w) / 2,
                                      shown.origin.y + (shown.size.height - h) / 2, w, h));
        },
        [overlay](bool) {
            // A show() during the fade keeps the overlay.
            if (overlay->showing_) {
                return;
            }
            overlay->removeFromSuperview();
            if (auto d = overlay->delegate()) {
                d->noticeOverlayWasHidden(overlay);
            }
        });
}

std::shared_ptr<UIView> NoticeOverlay::hitTest(CGPoint point) {
    if (touches_ == NoticeTouches::PassThrough) {
        return nullptr;
    }
    return UIView::hitTest(point);
}

void NoticeOverlay::layoutSubviews() {
    if (showing_) {
        layoutBox();
    }
}

void NoticeOverlay::layoutBox() {
    const CGRect area = bounds();
    const double maxText = std::max(0.0, area.size.width - 2 * kScreenMargin - 2 * kPaddingX);
    CGSize text = captionLabel_->sizeThatFits(CGSizeMake(maxText, 0));
    text.width = std::min(text.width, maxText);
    const double w = std::max(kMinBoxWidth, text.width + 2 * kPaddingX);
    const double h = text.height + 2 * kPaddingY;
    box_->setFrame(CGRectMake((area.size.width - w) / 2, (area.size.height - h) / 2, w, h));
    captionLabel_->setFrame(CGRectMake((w - text.width) / 2, kPaddingY, text.width, text.height));
}
