#pragma once
// Fills image views from URLs: a memory cache of decoded images (least recently used out
// first, bounded in bytes), then a disk cache of the fetched files under the device's
// Library/Caches/images/ (named by a hash of the URL), then the network. Decoding and the
// disk run off the main thread; callbacks run on the main thread.
//
// Views are named by a target key. A later load for the same key supersedes the earlier
// one, whose callback never runs, so a reused row shows the newest URL's image whatever
// order the replies come in. A failure calls back with no image: the caller keeps its
// placeholder. A memory-cache hit calls back at once, inside load().
#include "platform/net/DecodedImage.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

class ImageMemoryCache;

class RemoteImageLoader : public std::enable_shared_from_this<RemoteImageLoader> {
public:
    using Image = std::shared_ptr<const DecodedImage>;
    using Callback = std::function<void(Image)>;
    using TargetKey = const void*;

    static constexpr const char* kDefaultCacheDirectory = "/var/mobile/Library/Caches/images/";
    // Enough for a few screens of row icons at twice the point size.
    static constexpr size_t kDefaultMemoryBytes = 8u << 20;
    static constexpr double kTimeoutSeconds = 30;

    static std::shared_ptr<RemoteImageLoader> shared();
    static std::shared_ptr<RemoteImageLoader>
    create(std::string cacheDirectory = kDefaultCacheDirectory,
           size_t memoryBytes = kDefaultMemoryBytes);

    // Main thread.
    void load(TargetKey target, const std::string& url, Callback callback);
    void cancel(TargetKey target);
    void clearMemoryCache();

    // The device path of a URL's file in the disk cache.
    std::string diskCachePath(const std::string& url) const;

    RemoteImageLoader(std::string cacheDirectory, size_t memoryBytes); // use create
    ~RemoteImageLoader();

private:
    struct Target {
        uint64_t generation = 0;
        std::string url;
        Callback callback;
    };
    void fetch(const std::string& url);
    void arrived(const std::string& url, Image image);

    std::string cacheDirectory_;
    std::unique_ptr<ImageMemoryCache> memory_;
    std::map<TargetKey, Target> targets_;
    std::set<std::string> inFlight_;
    uint64_t nextGeneration_ = 1;
};
