#pragma once
// Decoded images by URL, the least recently used dropped first once the pixels pass a
// byte budget. Main thread only.
#include "platform/net/DecodedImage.h"

#include <cstddef>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>

class ImageMemoryCache {
public:
    explicit ImageMemoryCache(size_t capacityBytes) : capacity_(capacityBytes) {}

    std::shared_ptr<const DecodedImage> get(const std::string& url);
    // An image bigger than the whole budget is not kept.
    void put(const std::string& url, std::shared_ptr<const DecodedImage> image);
    void clear();
    size_t bytes() const { return bytes_; }
    size_t count() const { return entries_.size(); }

private:
    using Entry = std::pair<std::string, std::shared_ptr<const DecodedImage>>;
    void trim();

    size_t capacity_;
    size_t bytes_ = 0;
    std::list<Entry> entries_; // most recent first
    std::unordered_map<std::string, std::list<Entry>::iterator> index_;
};
