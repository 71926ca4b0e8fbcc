#include "platform/kits/SocialShare.h"

#include "platform/foundation/DeviceHost.h"
#include "platform/kits/UrlQuery.h"

#include <mutex>

namespace {

std::mutex sharedMutex;
std::shared_ptr<SocialShare> sharedKit;

struct PlatformPage {
    const char* identifier;
    const char* displayName;
    const char* shareURL; // the text is appended, escaped
};

constexpr PlatformPage kPages[] = {
    {"sina", "Sina Weibo", "http://service.weibo.com/share/share.php?title="},
    {"tencent", "Tencent Weibo", "http://share.v.t.qq.com/index.php?c=share&a=index&title="},
    {"renren", "Renren", "http://widget.renren.com/dialog/share?title="},
    {"douban", "Douban", "http://www.douban.com/share/service?text="},
    {"facebook", "Facebook", "https://www.facebook.com/sharer/sharer.php?quote="},
    {"twitter", "Twitter", "https://twitter.com/intent/tweet?text="},
};

const PlatformPage* page(const std::string& identifier) {
    for (const auto& p : kPages) {
        if (identifier == p.identifier) {
            return &p;
        }
    }
    return nullptr;
}

} // namespace

std::shared_ptr<SocialShare> SocialShare::shared() {
    std::lock_guard lock(sharedMutex);
    if (!sharedKit) {
        sharedKit = std::make_shared<SocialShare>();
    }
    return sharedKit;
}

void SocialShare::resetSharedForTesting() {
    std::lock_guard lock(sharedMutex);
    sharedKit.reset();
}

const std::vector<SocialPlatform>& SocialShare::platforms() {
    static const std::vector<SocialPlatform> all = [] {
        std::vector<SocialPlatform> out;
        for (const auto& p : kPages) {
            out.push_back({p.identifier, p.displayName});
        }
        return out;
    }();
    return all;
}

std::optional<SocialPlatform> SocialShare::platformForIdentifier(const std::string& identifier) {
    if (const auto* p = page(identifier)) {
        return SocialPlatform{p->identifier, p->displayName};
    }
    return std::nullopt;
}

std::optional<std::string> SocialShare::webShareURL(const std::string& identifier,
                                                    const std::string& text) {
    const auto* p = page(identifier);
    if (!p) {
        return std::nullopt;
    }
    return std::string(p->shareURL) + UrlQuery::escapeValue(text);
}

bool SocialShare::postText(const std::string& platformId, const std::string& text,
                           const std::string& imageName,
                           const std::shared_ptr<UIViewController>& presentingController,
                           const std::weak_ptr<SocialShareUIDelegate>& delegate) {
    auto url = webShareURL(platformId, text);
    bool posted = url && !appKey_.empty();
    if (posted) {
        auto& device = platform::deviceHost();
        device.recordPost(platformId, text, imageName);
        device.openURL(*url);
    }
    if (auto d = delegate.lock()) {
        d->didFinishPost(platformId, posted);
    }
    return posted;
}
