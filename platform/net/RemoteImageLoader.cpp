#include "platform/net/RemoteImageLoader.h"

#include "platform/foundation/DeviceHost.h"
#include "platform/foundation/RunLoop.h"
#include "platform/net/BackgroundQueue.h"
#include "platform/net/HttpEngine.h"
#include "platform/net/ImageDecoder.h"
#include "platform/net/ImageMemoryCache.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Icons are small; a reply far beyond this is not one.
constexpr size_t kMaxImageBytes = 8u << 20;

std::string hashName(const std::string& url) {
    uint64_t h = 1469598103934665603ull; // FNV-1a, 64 bits: short, stable across runs
    for (unsigned char c : url) {
        h ^= c;
        h *= 1099511628211ull;
    }
    char name[17];
    std::snprintf(name, sizeof name, "%016llx", static_cast<unsigned long long>(h));
    return name;
}

std::optional<std::string> readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return std::nullopt;
    }
    return bytes;
}

// Written beside the final name and renamed, so a reader never sees half a file.
void writeFile(const fs::path& path, const std::string& bytes) {
    static std::atomic<unsigned> serial{0};
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    fs::path temp = path;
    temp += ".part" + std::to_string(serial++);
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            out.close();
            fs::remove(temp, ec);
            return;
        }
    }
    fs::rename(temp, path, ec);
    if (ec) {
        fs::remove(temp, ec);
    }
}

} // namespace

std::shared_ptr<RemoteImageLoader> RemoteImageLoader::shared() {
    static auto* loader = new std::shared_ptr<RemoteImageLoader>(create());
    return *loader;
}

std::shared_ptr<RemoteImageLoader> RemoteImageLoader::create(std::string cacheDirectory,
                                                             size_t memoryBytes) {
    return std::make_shared<RemoteImageLoader>(std::move(cacheDirectory), memoryBytes);
}

RemoteImageLoader::RemoteImageLoader(std::string cacheDirectory, size_t memoryBytes)
    : cacheDirectory_(std::move(cacheDirectory)),
      memory_(std::make_unique<ImageMemoryCache>(memoryBytes)) {
    if (cacheDirectory_.empty() || cacheDirectory_.back() != '/') {
        cacheDirectory_ += '/';
    }
}

RemoteImageLoader::~RemoteImageLoader() = default;

std::string RemoteImageLoader::diskCachePath(const std::string& url) const {
    return cacheDirectory_ + hashName(url);
}

void RemoteImageLoader::clearMemoryCache() {
    memory_->clear();
}

void RemoteImageLoader::cancel(TargetKey target) {
    targets_.erase(target);
}

void RemoteImageLoader::load(TargetKey target, const std::string& url, Callback callback) {
    uint64_t generation = nextGeneration_++;
    targets_[target] = Target{generation, url, std::move(callback)};
    if (url.empty()) {
        // Still answered later, like any other failure.
        dispatchMain([weak = weak_from_this(), target, generation] {
            auto self = weak.lock();
            if (!self) {
                return;
            }
            auto it = self->targets_.find(target);
            if (it == self->targets_.end() || it->second.generation != generation) {
                return;
            }
            Callback done = std::move(it->second.callback);
            self->targets_.erase(it);
            if (done) {
                done(nullptr);
            }
        });
        return;
    }
    if (Image image = memory_->get(url)) {
        Callback done = std::move(targets_[target].callback);
        targets_.erase(target);
        if (done) {
            done(image);
        }
        return;
    }
    if (inFlight_.insert(url).second) {
        fetch(url);
    }
}

void RemoteImageLoader::fetch(const std::string& url) {
    std::optional<fs::path> disk = platform::deviceHost().hostPath(diskCachePath(url));
    RunLoop::main().beginActivity(); // until the result is back on the main thread
    auto deliver = [weak = weak_from_this(), url](Image image) {
        dispatchMain([weak, url, image] {
            if (auto self = weak.lock()) {
                self->arrived(url, image);
            }
            RunLoop::main().endActivity();
        });
    };
    BackgroundQueue::shared().post([url, disk, deliver] {
        if (disk) {
            if (auto bytes = readFile(*disk)) {
                if (Image image = ImageDecoder::decode(*bytes)) {
                    deliver(image);
                    return;
                }
            }
        }
        auto body = std::make_shared<std::string>();
        HttpEngine::Transfer t;
        t.url = url;
        t.timeoutSeconds = kTimeoutSeconds;
        t.onBody = [body](long, const std::string&, std::string_view chunk) {
            if (body->size() + chunk.size() > kMaxImageBytes) {
                return false;
            }
            body->append(chunk);
            return true;
        };
        t.onDone = [body, disk, deliver](HttpEngine::Result r) {
            if (r.error || r.status < 200 || r.status > 299) {
                deliver(nullptr);
                return;
            }
            BackgroundQueue::shared().post([body, disk, deliver] {
                Image image = ImageDecoder::decode(*body);
                if (image && disk) {
                    writeFile(*disk, *body);
                }
                deliver(image);
            });
        };
        HttpEngine::shared().start(std::move(t));
    });
}

void RemoteImageLoader::arrived(const std::string& url, Image image) {
    inFlight_.erase(url);
    if (image) {
        memory_->put(url, image);
    }
    std::vector<Callback> waiting;
    for (auto it = targets_.begin(); it != targets_.end();) {
        if (it->second.url == url) {
            waiting.push_back(std::move(it->second.callback));
            it = targets_.erase(it);
        } else {
            ++it;
        }
    }
    for (auto& done : waiting) {
        if (done) {
            done(image);
        }
    }
}
