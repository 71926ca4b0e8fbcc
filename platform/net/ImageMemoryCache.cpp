#include "platform/net/ImageMemoryCache.h"

std::shared_ptr<const DecodedImage> ImageMemoryCache::get(const std::string& url) {
    auto it = index_.find(url);
    if (it == index_.end()) {
        return nullptr;
    }
    entries_.splice(entries_.begin(), entries_, it->second);
    return it->second->second;
}

void ImageMemoryCache::put(const std::string& url, std::shared_ptr<const DecodedImage> image) {
    if (!image || image->byteCount() > capacity_) {
        return;
    }
    auto it = index_.find(url);
    if (it != index_.end()) {
        bytes_ -= it->second->second->byteCount();
        entries_.erase(it->second);
        index_.erase(it);
    }
    bytes_ += image->byteCount();
    entries_.emplace_front(url, std::move(image));
    index_[url] = entries_.begin();
    trim();
}

void ImageMemoryCache::clear() {
    entries_.clear();
    index_.clear();
    bytes_ = 0;
}

void ImageMemoryCache::trim() {
    while (bytes_ > capacity_ && !entries_.empty()) {
        bytes_ -= entries_.back().second->byteCount();
        index_.erase(entries_.back().first);
        entries_.pop_back();
    }
}
