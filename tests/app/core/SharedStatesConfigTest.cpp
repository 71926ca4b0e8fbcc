#include "app/core/SharedStates.h"

#include "BuildConfig.h"
#include "platform/foundation/NSBundle.h"
#include "tests/app/core/OnlineConfig.h"

#include <gtest/gtest.h>

namespace {

const char* kDefaultShareKey =
    "I am using Chimora to personalize the ringtones of my WeChat. You should also try it.";

std::string localized(const std::string& key) {
    return NSBundle::mainBundle()->localizedStringForKey(key, "", "");
}

// Every language variant of a key gets its own value, so the answer names the key read.
const std::vector<std::pair<std::string, std::string>> kByLanguage = {
    {"UPID_SHARE_TEXT_HANS", "share hans"},
    {"UPID_SHARE_TEXT_HANT", "share hant"},
    {"UPID_SHARE_TEXT_EN", "share en"},
    {"UPID_BBS_URL_Hans", "http://127.0.0.1/bbs/hans"},
    {"UPID_BBS_URL_Hant", "http://127.0.0.1/bbs/hant"},
    {"UPID_BBS_URL_En", "http://127.0.0.1/bbs/en"},
    {"UPID_RECOMMANDED_APP_Name_Hans", "name hans"},
    {"UPID_RECOMMANDED_APP_Name_Hant", "name hant"},
    {"UPID_RECOMMANDED_APP_Name_En", "name en"},
    {"UPID_RECOMMANDED_APP_DESC_Hans", "desc hans"},
    {"UPID_RECOMMANDED_APP_DESC_Hant", "desc hant"},
    {"UPID_RECOMMANDED_APP_DESC_En", "desc en"},
    {"UPID_RECOMMANDED_APP_ICON_URL", "http://127.0.0.1/icons/app.png"},
    {"UPID_RECOMMANDED_APP_URL", "cydia://package/com.example.other"},
};

struct LanguageKeys {
    std::string language;
    std::string suffix; // of the values above
};

class SharedStatesLanguageTest : public OnlineConfigTest,
                                 public testing::WithParamInterface<LanguageKeys> {};

TEST_P(SharedStatesLanguageTest, ValuesComeFromTheKeysOfTheFirstLanguage) {
    useLanguages({GetParam().language});
    serve(kByLanguage);
    auto states = SharedStates::shared();
    const std::string& s = GetParam().suffix;
    EXPECT_EQ(states->getSharingText(), "share " + s);
    EXPECT_EQ(states->getBBSURLStr(), "http://127.0.0.1/bbs/" + s);
    EXPECT_EQ(states->getRecommandedAppName(), "name " + s);
    EXPECT_EQ(states->getRecommandedAppDesc(), "desc " + s);
    EXPECT_EQ(states->getRecommandedAppIconURL(), "http://127.0.0.1/icons/app.png");
    EXPECT_EQ(states->getRecommandedAppURL(), "cydia://package/com.example.other");
}

INSTANTIATE_TEST_SUITE_P(Languages, SharedStatesLanguageTest,
                         testing::Values(LanguageKeys{"zh-Hans", "hans"},
                                         LanguageKeys{"zh-Hant", "hant"},
                                         LanguageKeys{"zh-HK", "en"},
                                         LanguageKeys{"zh-Hans-CN", "en"},
                                         LanguageKeys{"en", "en"}),
                         [](const auto& info) {
                             std::string name = info.param.language;
                             std::erase(name, '-');
                             return name;
                         });

class SharedStatesConfigTest : public OnlineConfigTest {};

TEST_F(SharedStatesConfigTest, EmptySharingTextGivesTheDefaultEvenWhenAnotherLanguageHasOne) {
    useLanguages({"zh-Hans"});
    serve({{"UPID_SHARE_TEXT_HANS", ""}, {"UPID_SHARE_TEXT_EN", "share en"}});
    std::string expected = localized(kDefaultShareKey);
    EXPECT_NE(expected, kDefaultShareKey); // the Chinese table has it
    EXPECT_EQ(SharedStates::shared()->getSharingText(), expected);
}

TEST_F(SharedStatesConfigTest, ABlankSharingTextIsUsedAsItIs) {
    serve({{"UPID_SHARE_TEXT_EN", " "}});
    EXPECT_EQ(SharedStates::shared()->getSharingText(), " ");
}

TEST_F(SharedStatesConfigTest, ForumAddress) {
    struct Case {
        const char* configured;
        std::optional<std::string> answer;
    };
    for (const Case& c : {Case{"null", std::nullopt}, Case{"NULL", "NULL"}, Case{"", ""},
                          Case{"http://127.0.0.1/bbs/", "http://127.0.0.1/bbs/"}}) {
        serve({{"UPID_BBS_URL_En", c.configured}});
        EXPECT_EQ(SharedStates::shared()->getBBSURLStr(), c.answer) << c.configured;
    }
}

TEST_F(SharedStatesConfigTest, EmptyRecommendedValuesFallBackExceptTheIcon) {
    serve({{"UPID_RECOMMANDED_APP_Name_En", ""},
           {"UPID_RECOMMANDED_APP_DESC_En", ""},
           {"UPID_RECOMMANDED_APP_ICON_URL", ""},
           {"UPID_RECOMMANDED_APP_URL", ""}});
    auto states = SharedStates::shared();
    EXPECT_EQ(states->getRecommandedAppName(), localized(BuildConfig::kRecommendedAppName));
    EXPECT_EQ(states->getRecommandedAppDesc(), localized(BuildConfig::kRecommendedAppDesc));
    EXPECT_EQ(states->getRecommandedAppIconURL(), "");
    EXPECT_EQ(states->getRecommandedAppURL(), BuildConfig::kRecommendedAppURL);
}

TEST_F(SharedStatesConfigTest, WithNoOnlineConfigurationTheDefaultsAnswer) {
    // Nothing fetched yet and nothing kept on this device.
    for (const char* language : {"en", "zh-Hant"}) {
        useLanguages({language});
        auto states = SharedStates::shared();
        EXPECT_EQ(states->getSharingText(), localized(kDefaultShareKey)) << language;
        EXPECT_EQ(states->getBBSURLStr(), std::nullopt);
        EXPECT_EQ(states->getRecommandedAppName(), localized(BuildConfig::kRecommendedAppName));
        EXPECT_EQ(states->getRecommandedAppDesc(), localized(BuildConfig::kRecommendedAppDesc));
        EXPECT_EQ(states->getRecommandedAppIconURL(), std::nullopt);
        EXPECT_EQ(states->getRecommandedAppURL(), BuildConfig::kRecommendedAppURL);
    }
    EXPECT_EQ(std::string(BuildConfig::kRecommendedAppURL).rfind("cydia://package/", 0), 0u);
}

TEST_F(SharedStatesConfigTest, EveryCallReadsTheParameterAgain) {
    auto states = SharedStates::shared();
    serve({{"UPID_SHARE_TEXT_EN", "first"}});
    EXPECT_EQ(states->getSharingText(), "first");
    serve({{"UPID_SHARE_TEXT_EN", "second"}});
    EXPECT_EQ(states->getSharingText(), "second");
}

} // namespace
