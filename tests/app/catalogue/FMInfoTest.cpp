#include "app/catalogue/FMInfo.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

Json parse(const char* text) {
    auto json = Json::parse(text);
    EXPECT_TRUE(json) << text;
    return json.value_or(Json());
}

struct Expected {
    int32_t id;
    std::string name;
    std::string icon;
    double duration;
    double size;
    int32_t downloads;
    std::string download;
    double time;
};

struct ItemCase {
    const char* label;
    const char* item;
    Expected expected;
};

const ItemCase kItemCases[] = {
    {"numbers",
     R"({"id":7,"name":"a b.caf","iconURL":"http://h/i/7.png","duration":3,"size":10.9,
         "numberDownloads":12,"downloadURL":"http://h/f/7.caf","time":1700000000})",
     {7, "a b.caf", "http://h/i/7.png", 3, 10.9, 12, "http://h/f/7.caf", 1700000000}},
    {"numbersAsStrings",
     R"({"id":"7","name":"a.caf","duration":"3","size":"10.9","numberDownloads":"12",
         "time":"1700000000"})",
     {7, "a.caf", "", 3, 10.9, 12, "", 1700000000}},
    {"fractionsTruncateWhereIntegers",
     R"({"id":7.9,"duration":3.7,"size":0.5,"numberDownloads":-2.5,"time":"99.9"})",
     {7, "", "", 3, 0.5, -2, "", 99}},
    {"missingKeys", R"({})", {0, "", "", 0, 0, 0, "", 0}},
    {"nulls",
     R"({"id":null,"name":null,"iconURL":null,"duration":null,"size":null,
         "numberDownloads":null,"downloadURL":null,"time":null})",
     {0, "", "", 0, 0, 0, "", 0}},
    {"unexpectedTypes",
     R"({"id":true,"name":5,"iconURL":[],"duration":{"a":1},"size":"ten","numberDownloads":false,
         "downloadURL":{},"time":[1]})",
     {0, "", "", 0, 0, 0, "", 0}},
    {"outOfRangeSaturates",
     R"({"id":1e12,"numberDownloads":-1e12})",
     {std::numeric_limits<int32_t>::max(), "", "", 0, 0, std::numeric_limits<int32_t>::min(), "",
      0}},
    {"otherKeysIgnored",
     R"({"id":1,"extra":"x","Name":"wrong case"})",
     {1, "", "", 0, 0, 0, "", 0}},
};

class FMInfoItemTest : public testing::TestWithParam<ItemCase> {};

TEST_P(FMInfoItemTest, ReadsEachKeyByValueAndUnreadableValuesAsMissing) {
    const auto& c = GetParam();
    auto info = FMInfo::infoWithItem(parse(c.item));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->mID(), c.expected.id);
    EXPECT_EQ(info->mName(), c.expected.name);
    EXPECT_EQ(info->mIconURLStr(), c.expected.icon);
    EXPECT_DOUBLE_EQ(info->mDuration(), c.expected.duration);
    EXPECT_DOUBLE_EQ(info->mSize(), c.expected.size);
    EXPECT_EQ(info->mNumberDownloads(), c.expected.downloads);
    EXPECT_EQ(info->mDownloadURLStr(), c.expected.download);
    EXPECT_DOUBLE_EQ(info->mDate().timeIntervalSince1970(), c.expected.time);
    EXPECT_FALSE(info->mISDownloading());
}

INSTANTIATE_TEST_SUITE_P(Items, FMInfoItemTest, testing::ValuesIn(kItemCases),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(FMInfoTest, SizeShowsItsIntegerPartWhetherNumberOrString) {
    for (const char* item : {R"({"size":10.9})", R"({"size":"10.9"})"}) {
        auto info = FMInfo::infoWithItem(parse(item));
        ASSERT_TRUE(info);
        EXPECT_EQ(static_cast<int>(info->mSize()), 10) << item;
    }
}

TEST(FMInfoTest, AnItemThatIsNoObjectMakesNoRecord) {
    for (const char* item : {"null", "7", R"("a.caf")", "[1,2]", "true"}) {
        EXPECT_FALSE(FMInfo::infoWithItem(parse(item))) << item;
    }
}

TEST(FMInfoTest, FlagsAreTrueForTrueOrNonZero) {
    struct Case {
        const char* object;
        bool flag;
    };
    const Case cases[] = {
        {R"({"f":true})", true},   {R"({"f":false})", false}, {R"({"f":1})", true},
        {R"({"f":0})", false},     {R"({"f":-2})", true},     {R"({"f":"1"})", true},
        {R"({"f":"0"})", false},   {R"({"f":null})", false},  {R"({})", false},
        {R"({"f":"yes"})", false}, {R"({"f":[1]})", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FMInfo::readFlag(parse(c.object), "f"), c.flag) << c.object;
    }
}

} // namespace
