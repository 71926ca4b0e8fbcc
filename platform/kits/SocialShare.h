#pragma once
// The social sharing kit: posts a text and an image to one social platform.
// Differs from the device: the kit shows no screens of its own over the presenting
// controller; the device records the post and the platform's public web share page is
// handed to the system.
#include <memory>
#include <optional>
#include <string>
#include <vector>

class UIViewController;

struct SocialPlatform {
    std::string identifier;  // "sina", "tencent", "renren", "douban", "facebook", "twitter"
    std::string displayName; // "Sina Weibo", …
};

// What a presenting screen may hear about its posts; every operation is optional.
class SocialShareUIDelegate {
public:
    virtual ~SocialShareUIDelegate() = default;
    virtual void didFinishPost(const std::string& platformId, bool posted) {}
};

class SocialShare {
public:
    static std::shared_ptr<SocialShare> shared();
    // Back to a kit without an application key (tests).
    static void resetSharedForTesting();

    void setAppKey(std::string appKey) { appKey_ = std::move(appKey); }
    const std::string& appKey() const { return appKey_; }

    // Every platform the kit knows, in the kit's own order.
    static const std::vector<SocialPlatform>& platforms();
    static std::optional<SocialPlatform> platformForIdentifier(const std::string& identifier);
    // The platform's web share page carrying `text`; absent for an unknown platform.
    static std::optional<std::string> webShareURL(const std::string& identifier,
                                                  const std::string& text);

    // Posts to one platform. False, and nothing posted, for an unknown platform or before the
    // application key was set. Main thread only.
    bool postText(const std::string& platformId, const std::string& text,
                  const std::string& imageName,
                  const std::shared_ptr<UIViewController>& presentingController,
                  const std::weak_ptr<SocialShareUIDelegate>& delegate = {});

    SocialShare() = default;

private:
    std::string appKey_;
};
