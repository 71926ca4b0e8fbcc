#include "platform/kits/SocialShare.h"

#include "platform/foundation/NSURL.h"
#include "platform/foundation/PercentEscapes.h"
#include "tests/support/TestDevice.h"

#include <gtest/gtest.h>

namespace {

TEST(SocialShareTest, KnowsTheSixPlatformsByIdentifierWithTheirNames) {
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"sina", "Sina Weibo"}, {"tencent", "Tencent Weibo"}, {"renren", "Renren"},
        {"douban", "Douban"},   {"facebook", "Facebook"},     {"twitter", "Twitter"},
    };
    ASSERT_EQ(SocialShare::platforms().size(), expected.size());
    for (const auto& [id, name] : expected) {
        auto platform = SocialShare::platformForIdentifier(id);
        ASSERT_TRUE(platform) << id;
        EXPECT_EQ(platform->identifier, id);
        EXPECT_EQ(platform->displayName, name);
    }
    for (const char* unknown : {"", "Sina", "weibo", "twitter "}) {
        EXPECT_FALSE(SocialShare::platformForIdentifier(unknown)) << unknown;
    }
}

TEST(SocialShareTest, EveryShareAddressCarriesTheWholeTextEscaped) {
    const std::string text = "I use it & you? 100% #tones a+b=c 我在用";
    for (const auto& platform : SocialShare::platforms()) {
        auto url = SocialShare::webShareURL(platform.identifier, text);
        ASSERT_TRUE(url) << platform.identifier;
        auto parsed = NSURL::URLWithString(*url);
        ASSERT_TRUE(parsed) << *url;
        EXPECT_TRUE(parsed->scheme() == "http" || parsed->scheme() == "https") << *url;
        // The text is the last parameter's value: nothing in it may end it early.
        auto eq = url->rfind('=');
        ASSERT_NE(eq, std::string::npos);
        EXPECT_EQ(url->find_first_of("&#+ ", eq), std::string::npos) << *url;
        EXPECT_EQ(stringByReplacingPercentEscapesUsingEncoding(url->substr(eq + 1)), text);
    }
    EXPECT_FALSE(SocialShare::webShareURL("myspace", text));
}

struct RecordingDelegate : SocialShareUIDelegate {
    std::vector<std::pair<std::string, bool>> finished;
    void didFinishPost(const std::string& platformId, bool posted) override {
        finished.emplace_back(platformId, posted);
    }
};

TEST(SocialShareTest, APostIsRecordedAndItsSharePageOpened) {
    testsupport::TestDevice device;
    auto kit = std::make_shared<SocialShare>();
    kit->setAppKey("5f2c9a7e1b3d4c6e8a0b2d4f");
    auto delegate = std::make_shared<RecordingDelegate>();

    EXPECT_TRUE(kit->postText("twitter", "Try it & see", "wt57", nullptr, delegate));

    auto posts = device.device().posts();
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(posts[0].platform, "twitter");
    EXPECT_EQ(posts[0].text, "Try it & see");
    EXPECT_EQ(posts[0].image, "wt57");
    EXPECT_EQ(
        device.device().urls(),
        std::vector<std::string>{"https://twitter.com/intent/tweet?text=Try%20it%20%26%20see"});
    EXPECT_EQ(delegate->finished, (std::vector<std::pair<std::string, bool>>{{"twitter", true}}));
}

TEST(SocialShareTest, RefusedWithoutAKeyOrForAnUnknownPlatform) {
    testsupport::TestDevice device;
    auto kit = std::make_shared<SocialShare>();
    auto delegate = std::make_shared<RecordingDelegate>();

    EXPECT_FALSE(kit->postText("sina", "text", "wt57", nullptr, delegate)); // no key yet
    kit->setAppKey("5f2c9a7e1b3d4c6e8a0b2d4f");
    EXPECT_FALSE(kit->postText("weibo", "text", "wt57", nullptr, delegate));

    EXPECT_TRUE(device.device().posts().empty());
    EXPECT_TRUE(device.device().urls().empty());
    EXPECT_EQ(delegate->finished,
              (std::vector<std::pair<std::string, bool>>{{"sina", false}, {"weibo", false}}));
}

} // namespace
