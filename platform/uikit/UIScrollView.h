#pragma once
// A view whose bounds origin is the content offset: dragging moves the content under the
// finger, within the content size and the insets. No momentum.
#include "platform/uikit/UIView.h"
#include <memory>

class UIScrollView;

class UIScrollViewDelegate {
public:
    virtual ~UIScrollViewDelegate() = default;
    virtual void scrollViewDidScroll(const std::shared_ptr<UIScrollView>& scrollView) {}
    virtual void scrollViewWillBeginDragging(const std::shared_ptr<UIScrollView>& scrollView) {}
    virtual void scrollViewDidEndDragging(const std::shared_ptr<UIScrollView>& scrollView,
                                          bool willDecelerate) {}
};

class UIScrollView : public UIView {
public:
    explicit UIScrollView(CGRect frame);
    static std::shared_ptr<UIScrollView> initWithFrame(CGRect frame) {
        return std::make_shared<UIScrollView>(frame);
    }

    CGSize contentSize() const { return contentSize_; }
    void setContentSize(CGSize size);
    CGPoint contentOffset() const { return bounds().origin; }
    // Not clamped, like the device; a drag clamps.
    void setContentOffset(CGPoint offset, bool animated = false);
    UIEdgeInsets contentInset() const { return contentInset_; }
    void setContentInset(UIEdgeInsets insets) { contentInset_ = insets; }
    bool bounces() const { return bounces_; }
    void setBounces(bool b) { bounces_ = b; }
    bool isScrollEnabled() const { return scrollEnabled_; }
    void setScrollEnabled(bool e) { scrollEnabled_ = e; }
    bool showsVerticalScrollIndicator() const { return showsVertical_; }
    void setShowsVerticalScrollIndicator(bool s) { showsVertical_ = s; }
    bool showsHorizontalScrollIndicator() const { return showsHorizontal_; }
    void setShowsHorizontalScrollIndicator(bool s) { showsHorizontal_ = s; }
    bool isDragging() const { return dragging_; }

    std::shared_ptr<UIScrollViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<UIScrollViewDelegate> d) { delegate_ = std::move(d); }

    // The offsets a drag may reach.
    CGPoint minimumContentOffset() const;
    CGPoint maximumContentOffset() const;
    CGPoint clampedOffset(CGPoint offset) const;
    // A mouse wheel: moves the content by dy (positive shows what lies further down).
    void scrollBy(CGFloat dy);

    bool handlesPan() const override { return scrollEnabled_; }
    void panBegan(CGPoint start, CGPoint current) override;
    void panMoved(CGPoint current) override;
    void panEnded(CGPoint current) override;

    void setFrame(CGRect frame) override;
    void drawRect(render::Canvas& canvas, CGRect rect) const override;
    std::string className() const override { return "UIScrollView"; }
    void describe(Json::Members& out) const override;

protected:
    // The offset changed (by a drag, the wheel or in code), before the delegate hears.
    virtual void contentOffsetDidChange() {}

private:
    CGSize contentSize_{};
    UIEdgeInsets contentInset_{};
    bool bounces_ = true;
    bool scrollEnabled_ = true;
    bool showsVertical_ = true;
    bool showsHorizontal_ = true;
    bool dragging_ = false;
    CGPoint dragStart_{};
    CGPoint dragStartOffset_{};
    std::weak_ptr<UIScrollViewDelegate> delegate_;
};
