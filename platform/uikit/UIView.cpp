#include "platform/uikit/UIView.h"

#include "platform/foundation/RunLoop.h"
#include "platform/render/Canvas.h"

#include <algorithm>
#include <cmath>

namespace {

render::Color toRender(const UIColor& c) {
    return render::Color{c.red, c.green, c.blue, c.alpha};
}

Json rectJson(CGRect r) {
    return Json::array({Json::number(r.origin.x), Json::number(r.origin.y),
                        Json::number(r.size.width), Json::number(r.size.height)});
}

// Sublayers are drawn in the owning view's coordinates, each under its own sublayers' content.
void drawLayer(render::Canvas& canvas, const CALayer& layer) {
    CGRect f = layer.frame();
    if (auto* gradient = dynamic_cast<const CAGradientLayer*>(&layer)) {
        const auto& colors = gradient->colors();
        if (colors.size() >= 2) {
            canvas.fillGradient({f.origin.x, f.origin.y, f.size.width, f.size.height},
                                toRender(colors.front()), toRender(colors.back()),
                                layer.cornerRadius());
        } else if (colors.size() == 1) {
            canvas.fillRect({f.origin.x, f.origin.y, f.size.width, f.size.height},
                            toRender(colors.front()), layer.cornerRadius());
        }
    }
    if (layer.sublayers().empty()) {
        return;
    }
    canvas.save();
    canvas.translate(f.origin.x, f.origin.y);
    for (const auto& sub : layer.sublayers()) {
        drawLayer(canvas, *sub);
    }
    canvas.restore();
}

} // namespace

// --- UITouch / UIResponder ---

CGPoint UITouch::locationInView(const UIView& v) const {
    return v.convertPointFromView(windowLocation, nullptr);
}

void UIResponder::touchesBegan(UITouch& touch) {
    if (auto* next = nextResponder()) {
        next->touchesBegan(touch);
    }
}

void UIResponder::touchesMoved(UITouch& touch) {
    if (auto* next = nextResponder()) {
        next->touchesMoved(touch);
    }
}

void UIResponder::touchesEnded(UITouch& touch) {
    if (auto* next = nextResponder()) {
        next->touchesEnded(touch);
    }
}

void UIResponder::touchesCancelled(UITouch& touch) {
    if (auto* next = nextResponder()) {
        next->touchesCancelled(touch);
    }
}

// --- UIView: geometry ---

UIView::UIView(CGRect frame)
    : frame_(frame), bounds_{CGPointMake(0, 0), frame.size}, layer_(CALayer::layer()) {}

UIView::~UIView() = default;

void UIView::setFrame(CGRect frame) {
    bool resized = frame.size != frame_.size;
    frame_ = frame;
    bounds_.size = frame.size;
    if (resized) {
        setNeedsLayout();
    }
}

void UIView::setBounds(CGRect bounds) {
    CGPoint c = center();
    bool resized = bounds.size != bounds_.size;
    bounds_ = bounds;
    frame_ = CGRectMake(c.x - bounds.size.width / 2, c.y - bounds.size.height / 2,
                        bounds.size.width, bounds.size.height);
    if (resized) {
        setNeedsLayout();
    }
}

CGPoint UIView::center() const {
    return CGPointMake(frame_.midX(), frame_.midY());
}

void UIView::setCenter(CGPoint c) {
    frame_.origin = CGPointMake(c.x - frame_.size.width / 2, c.y - frame_.size.height / 2);
}

namespace {

// From a view's bounds coordinates up to the root of its tree (the window's coordinates).
CGPoint toRoot(const UIView* v, CGPoint p) {
    while (v) {
        auto parent = v->superview();
        if (!parent) {
            break;
        }
        p = CGPointMake(p.x - v->bounds().origin.x + v->frame().origin.x,
                        p.y - v->bounds().origin.y + v->frame().origin.y);
        v = parent.get();
    }
    return p;
}

CGPoint fromRoot(const UIView* v, CGPoint p) {
    auto parent = v->superview();
    if (!parent) {
        return p;
    }
    p = fromRoot(parent.get(), p);
    return CGPointMake(p.x - v->frame().origin.x + v->bounds().origin.x,
                       p.y - v->frame().origin.y + v->bounds().origin.y);
}

} // namespace

CGPoint UIView::convertPointToView(CGPoint p, const UIView* view) const {
    CGPoint inRoot = toRoot(this, p);
    return view ? fromRoot(view, inRoot) : inRoot;
}

CGPoint UIView::convertPointFromView(CGPoint p, const UIView* view) const {
    CGPoint inRoot = view ? toRoot(view, p) : p;
    return fromRoot(this, inRoot);
}

CGRect UIView::convertRectToView(CGRect r, const UIView* view) const {
    return CGRect{convertPointToView(r.origin, view), r.size};
}

// --- UIView: hierarchy ---

namespace {

void notifyWindowChange(UIView& v) {
    v.didMoveToWindow();
    for (const auto& child : std::vector<std::shared_ptr<UIView>>(v.subviews())) {
        notifyWindowChange(*child);
    }
}

} // namespace

void UIView::addSubview(std::shared_ptr<UIView> view) {
    insertSubviewAtIndex(std::move(view), subviews_.size() + 1);
}

void UIView::insertSubviewAtIndex(std::shared_ptr<UIView> view, size_t index) {
    if (!view || view.get() == this || isDescendantOfView(view.get())) {
        return;
    }
    UIWindow* oldWindow = view->window();
    auto oldParent = view->superview();
    if (oldParent.get() == this) {
        auto it = std::find(subviews_.begin(), subviews_.end(), view);
        subviews_.erase(it);
    } else if (oldParent) {
        view->removeFromSuperview();
    }
    size_t at = std::min(index, subviews_.size());
    view->superview_ = weak_from_this();
    subviews_.insert(subviews_.begin() + static_cast<std::ptrdiff_t>(at), view);
    setNeedsLayout();
    if (oldParent.get() != this) {
        view->didMoveToSuperview();
    }
    didAddSubview(view);
    if (view->window() != oldWindow) {
        notifyWindowChange(*view);
    }
}

void UIView::removeFromSuperview() {
    auto parent = superview();
    if (!parent) {
        return;
    }
    auto keep = shared_from_this(); // the parent may hold the last reference
    UIWindow* oldWindow = window();
    auto& list = parent->subviews_;
    list.erase(std::find(list.begin(), list.end(), keep));
    superview_.reset();
    parent->setNeedsLayout();
    didMoveToSuperview();
    if (oldWindow) {
        notifyWindowChange(*this);
    }
}

void UIView::bringSubviewToFront(const std::shared_ptr<UIView>& view) {
    auto it = std::find(subviews_.begin(), subviews_.end(), view);
    if (it == subviews_.end()) {
        return;
    }
    std::rotate(it, it + 1, subviews_.end());
}

void UIView::sendSubviewToBack(const std::shared_ptr<UIView>& view) {
    auto it = std::find(subviews_.begin(), subviews_.end(), view);
    if (it == subviews_.end()) {
        return;
    }
    std::rotate(subviews_.begin(), it, it + 1);
}

bool UIView::isDescendantOfView(const UIView* view) const {
    if (!view) {
        return false;
    }
    for (const UIView* v = this; v;) {
        if (v == view) {
            return true;
        }
        auto parent = v->superview();
        v = parent.get(); // still owned by its own parent chain or the caller
    }
    return false;
}

UIWindow* UIView::window() const {
    auto parent = superview();
    return parent ? parent->window() : nullptr;
}

std::shared_ptr<UIView> UIView::viewWithTag(int tag) {
    if (tag_ == tag) {
        return shared_from_this();
    }
    for (const auto& child : subviews_) {
        if (auto found = child->viewWithTag(tag)) {
            return found;
        }
    }
    return nullptr;
}

// --- UIView: appearance and layout ---

void UIView::setHidden(bool h) {
    hidden_ = h;
}

void UIView::setAlpha(double a) {
    alpha_ = std::clamp(a, 0.0, 1.0);
}

void UIView::setBackgroundColor(std::optional<UIColor> c) {
    backgroundColor_ = c;
}

void UIView::setNeedsLayout() {
    needsLayout_ = true;
}

void UIView::layoutIfNeeded() {
    if (needsLayout_) {
        needsLayout_ = false;
        layoutSubviews();
    }
    // layoutSubviews may add or remove subviews: walk a snapshot.
    for (const auto& child : std::vector<std::shared_ptr<UIView>>(subviews_)) {
        child->layoutIfNeeded();
    }
}

void UIView::setNeedsDisplay() {
    // Every frame is drawn in full; nothing to invalidate.
}

void UIView::sizeToFit() {
    CGSize s = sizeThatFits(bounds_.size);
    setFrame(CGRect{frame_.origin, s});
}

// --- UIView: events ---

std::shared_ptr<UIView> UIView::hitTest(CGPoint point) {
    if (hidden_ || !userInteractionEnabled_ || alpha_ < 0.01 || !pointInside(point)) {
        return nullptr;
    }
    for (auto it = subviews_.rbegin(); it != subviews_.rend(); ++it) {
        const auto& child = *it;
        CGPoint p = CGPointMake(point.x - child->frame_.origin.x + child->bounds_.origin.x,
                                point.y - child->frame_.origin.y + child->bounds_.origin.y);
        if (auto hit = child->hitTest(p)) {
            return hit;
        }
    }
    return shared_from_this();
}

bool UIView::pointInside(CGPoint point) const {
    return CGRectContainsPoint(bounds_, point);
}

void UIView::animateWithDuration(double duration, const std::function<void()>& animations,
                                 const std::function<void(bool)>& completion) {
    // Differs from the device: no in-between frames; the end state applies at once.
    if (animations) {
        animations();
    }
    if (completion) {
        dispatchMain([completion] { completion(true); });
    }
}

UIResponder* UIView::nextResponder() const {
    if (auto controller = viewDelegate_.lock()) {
        return controller.get();
    }
    return superview().get();
}

// --- UIView: drawing ---

void UIView::renderTree(render::Canvas& canvas) const {
    if (hidden_ || alpha_ <= 0) {
        return;
    }
    const CALayer& layer = *layer_;
    const render::Rect local{0, 0, bounds_.size.width, bounds_.size.height};
    const double radius = layer.cornerRadius();
    const bool grouped = alpha_ < 1;

    canvas.save();
    canvas.translate(frame_.origin.x, frame_.origin.y);
    if (grouped) {
        canvas.beginGroup();
    }
    if (layer.shadowOpacity() > 0 && !layer.masksToBounds()) {
        UIColor shadow = layer.shadowColor().value_or(UIColor::blackColor());
        canvas.drawShadow(local, radius, toRender(shadow), layer.shadowOffset().width,
                          layer.shadowOffset().height, layer.shadowRadius(), layer.shadowOpacity());
    }
    if (backgroundColor_ && backgroundColor_->alpha > 0) {
        canvas.fillRect(local, toRender(*backgroundColor_), radius);
    }
    canvas.save();
    if (clipsToBounds_ || layer.masksToBounds()) {
        canvas.clipRect(local, radius);
    }
    canvas.translate(-bounds_.origin.x, -bounds_.origin.y);
    for (const auto& sub : layer.sublayers()) {
        drawLayer(canvas, *sub);
    }
    drawRect(canvas, bounds_);
    for (const auto& child : subviews_) {
        child->renderTree(canvas);
    }
    canvas.restore();
    if (layer.borderWidth() > 0) {
        double w = layer.borderWidth();
        // The border lies inside the bounds, above the content.
        canvas.strokeRect({w / 2, w / 2, local.w - w, local.h - w}, toRender(layer.borderColor()),
                          w, std::max(0.0, radius - w / 2));
    }
    if (grouped) {
        canvas.endGroup(alpha_);
    }
    canvas.restore();
}

// --- UIView: automation dump ---

Json UIView::colorJson(const UIColor& c) {
    auto channel = [](double v) { return Json::number(std::round(std::clamp(v, 0.0, 1.0) * 255)); };
    return Json::array({channel(c.red), channel(c.green), channel(c.blue),
                        Json::number(std::clamp(c.alpha, 0.0, 1.0))});
}

Json UIView::fontJson(const UIFont& f) {
    return Json::object({{"size", Json::number(f.pointSize)},
                         {"bold", Json::boolean(f.bold)},
                         {"italic", Json::boolean(f.italic)}});
}

namespace {

std::optional<Json> layerJson(const CALayer& layer) {
    Json::Members m;
    if (layer.cornerRadius() != 0) {
        m.emplace_back("cornerRadius", Json::number(layer.cornerRadius()));
    }
    if (layer.masksToBounds()) {
        m.emplace_back("masksToBounds", Json::boolean(true));
    }
    if (layer.borderWidth() != 0) {
        m.emplace_back("borderWidth", Json::number(layer.borderWidth()));
        m.emplace_back("borderColor", UIView::colorJson(layer.borderColor()));
    }
    if (layer.shadowColor()) {
        m.emplace_back("shadowColor", UIView::colorJson(*layer.shadowColor()));
    }
    if (layer.shadowOffset() != CGSizeMake(0, -3)) {
        m.emplace_back("shadowOffset", Json::array({Json::number(layer.shadowOffset().width),
                                                    Json::number(layer.shadowOffset().height)}));
    }
    if (layer.shadowOpacity() != 0) {
        m.emplace_back("shadowOpacity", Json::number(layer.shadowOpacity()));
    }
    if (layer.shadowRadius() != 3) {
        m.emplace_back("shadowRadius", Json::number(layer.shadowRadius()));
    }
    for (const auto& sub : layer.sublayers()) {
        if (auto* g = dynamic_cast<const CAGradientLayer*>(sub.get())) {
            Json::Items colors;
            for (const auto& c : g->colors()) {
                colors.push_back(UIView::colorJson(c));
            }
            m.emplace_back("gradient", Json::array(std::move(colors)));
            break;
        }
    }
    if (m.empty()) {
        return std::nullopt;
    }
    return Json::object(std::move(m));
}

} // namespace

Json UIView::dumpTree(CGPoint screenOrigin) const {
    CGRect screen = CGRectOffset(frame_, screenOrigin.x, screenOrigin.y);
    Json::Members m;
    m.emplace_back("class", Json::string(className()));
    m.emplace_back("frame", rectJson(frame_));
    m.emplace_back("screen", rectJson(screen));
    m.emplace_back("tag", Json::number(tag_));
    m.emplace_back("hidden", Json::boolean(hidden_));
    m.emplace_back("alpha", Json::number(alpha_));
    m.emplace_back("background", backgroundColor_ ? colorJson(*backgroundColor_) : Json::null());
    describe(m);
    if (auto layer = layerJson(*layer_)) {
        m.emplace_back("layer", std::move(*layer));
    }
    Json::Items children;
    CGPoint childOrigin =
        CGPointMake(screen.origin.x - bounds_.origin.x, screen.origin.y - bounds_.origin.y);
    for (const auto& child : subviews_) {
        children.push_back(child->dumpTree(childOrigin));
    }
    m.emplace_back("children", Json::array(std::move(children)));
    return Json::object(std::move(m));
}
