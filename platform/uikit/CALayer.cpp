#include "platform/uikit/CALayer.h"

#include <algorithm>

CGRect CALayer::frame() const {
    return CGRectMake(position_.x - bounds_.size.width / 2, position_.y - bounds_.size.height / 2,
                      bounds_.size.width, bounds_.size.height);
}

void CALayer::addSublayer(std::shared_ptr<CALayer> layer) {
    if (!layer || layer.get() == this) {
        return;
    }
    insertSublayer(std::move(layer), static_cast<unsigned>(sublayers_.size() + 1));
}

void CALayer::insertSublayer(std::shared_ptr<CALayer> layer, unsigned index) {
    if (!layer || layer.get() == this) {
        return;
    }
    layer->removeFromSuperlayer();
    size_t at = std::min<size_t>(index, sublayers_.size());
    layer->superlayer_ = weak_from_this();
    sublayers_.insert(sublayers_.begin() + static_cast<std::ptrdiff_t>(at), std::move(layer));
}

void CALayer::removeFromSuperlayer() {
    auto parent = superlayer_.lock();
    superlayer_.reset();
    if (!parent) {
        return;
    }
    auto& list = parent->sublayers_;
    auto it = std::find_if(list.begin(), list.end(), [this](auto& l) { return l.get() == this; });
    if (it != list.end()) {
        list.erase(it); // may release the last owner of this layer: touch nothing after
    }
}
