#include "platform/uikit/UIScrollView.h"

#include "platform/render/Canvas.h"

#include <algorithm>

UIScrollView::UIScrollView(CGRect frame) : UIView(frame) {
    setClipsToBounds(true);
}

void UIScrollView::setContentSize(CGSize size) {
    contentSize_ = size;
}

void UIScrollView::setFrame(CGRect frame) {
    // The frame places the view; the bounds origin (the offset) stays.
    CGPoint offset = contentOffset();
    UIView::setFrame(frame);
    CGRect b = bounds();
    b.origin = offset;
    UIView::setBounds(b);
}

void UIScrollView::setContentOffset(CGPoint offset, bool animated) {
    CGRect b = bounds();
    if (b.origin == offset) {
        return;
    }
    b.origin = offset;
    UIView::setBounds(b);
    contentOffsetDidChange();
    if (auto d = delegate()) {
        d->scrollViewDidScroll(std::static_pointer_cast<UIScrollView>(shared_from_this()));
    }
}

CGPoint UIScrollView::minimumContentOffset() const {
    return CGPointMake(-contentInset_.left, -contentInset_.top);
}

CGPoint UIScrollView::maximumContentOffset() const {
    CGPoint min = minimumContentOffset();
    CGSize view = bounds().size;
    return CGPointMake(std::max(min.x, contentSize_.width + contentInset_.right - view.width),
                       std::max(min.y, contentSize_.height + contentInset_.bottom - view.height));
}

CGPoint UIScrollView::clampedOffset(CGPoint offset) const {
    CGPoint min = minimumContentOffset(), max = maximumContentOffset();
    return CGPointMake(std::clamp(offset.x, min.x, max.x), std::clamp(offset.y, min.y, max.y));
}

void UIScrollView::scrollBy(CGFloat dy) {
    if (!scrollEnabled_) {
        return;
    }
    CGPoint o = contentOffset();
    setContentOffset(clampedOffset(CGPointMake(o.x, o.y + dy)));
}

void UIScrollView::panBegan(CGPoint start, CGPoint current) {
    dragging_ = true;
    dragStart_ = start;
    dragStartOffset_ = contentOffset();
    if (auto d = delegate()) {
        d->scrollViewWillBeginDragging(std::static_pointer_cast<UIScrollView>(shared_from_this()));
    }
    panMoved(current);
}

// The content follows the finger: a finger moving up shows what lies further down.
void UIScrollView::panMoved(CGPoint current) {
    if (!dragging_) {
        return;
    }
    CGPoint o = dragStartOffset_;
    // Sideways only when the content is wider than the view.
    if (contentSize_.width > bounds().size.width) {
        o.x -= current.x - dragStart_.x;
    }
    o.y -= current.y - dragStart_.y;
    setContentOffset(clampedOffset(o));
}

void UIScrollView::panEnded(CGPoint current) {
    if (!dragging_) {
        return;
    }
    panMoved(current);
    dragging_ = false;
    if (auto d = delegate()) {
        d->scrollViewDidEndDragging(std::static_pointer_cast<UIScrollView>(shared_from_this()),
                                    false);
    }
}

void UIScrollView::drawRect(render::Canvas& canvas, CGRect rect) const {
    // The vertical indicator shows while a drag is under way.
    if (!dragging_ || !showsVertical_ || contentSize_.height <= bounds().size.height) {
        return;
    }
    CGRect b = bounds();
    CGFloat total = contentSize_.height + contentInset_.top + contentInset_.bottom;
    CGFloat h = std::max<CGFloat>(36, b.size.height * b.size.height / total);
    CGFloat range = std::max<CGFloat>(1, total - b.size.height);
    CGFloat t = std::clamp<CGFloat>((b.origin.y + contentInset_.top) / range, 0, 1);
    // Drawn in content coordinates: the bounds origin is the visible top.
    canvas.fillRect({b.maxX() - 5, b.origin.y + t * (b.size.height - h), 2.5, h}, {0, 0, 0, 0.35},
                    1.25);
}

void UIScrollView::describe(Json::Members& out) const {
    CGPoint o = contentOffset();
    out.emplace_back("contentOffset", Json::array({Json::number(o.x), Json::number(o.y)}));
    out.emplace_back("contentSize", Json::array({Json::number(contentSize_.width),
                                                 Json::number(contentSize_.height)}));
}
