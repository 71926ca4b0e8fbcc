#include "platform/foundation/Json.h"

#include <gtest/gtest.h>

namespace {

TEST(Json, MalformedTextAnswersNothing) {
    for (const char* text : {"", "{", "[1,]", "{\"a\":}", "nul", "\"open", "{'a':1}", "1 2",
                             "\xff\xfe", "[\"\xc3\"]"}) {
        EXPECT_FALSE(Json::parse(text)) << text;
    }
}

TEST(Json, TypedReadsAnswerOnlyTheirOwnType) {
    auto doc = Json::parse(R"({"o":{"k":1},"a":[1,"x",null],"s":"text","n":-2.5,"t":true,
                             "f":false,"z":null})");
    ASSERT_TRUE(doc);
    ASSERT_TRUE(doc->isObject());
    EXPECT_EQ(doc->members().size(), 7u);

    const Json& o = *doc->get("o");
    EXPECT_TRUE(o.isObject());
    EXPECT_EQ(o.get("k")->asInteger(), 1);
    EXPECT_EQ(o.get("missing"), nullptr);
    EXPECT_FALSE(o.asString());

    const Json& a = *doc->get("a");
    ASSERT_EQ(a.items().size(), 3u);
    EXPECT_EQ(a.items()[1].asString(), "x");
    EXPECT_TRUE(a.items()[2].isNull());
    EXPECT_EQ(a.get("k"), nullptr);
    EXPECT_TRUE(a.members().empty());

    EXPECT_EQ(doc->get("s")->asString(), "text");
    EXPECT_FALSE(doc->get("s")->asBool());
    EXPECT_FALSE(doc->get("s")->asNumber());
    EXPECT_EQ(doc->get("n")->asNumber(), -2.5);
    EXPECT_EQ(doc->get("n")->asInteger(), -2);
    EXPECT_FALSE(doc->get("n")->asString());
    EXPECT_EQ(doc->get("t")->asBool(), true);
    EXPECT_EQ(doc->get("f")->asBool(), false);
    EXPECT_FALSE(doc->get("t")->asNumber());
    EXPECT_TRUE(doc->get("z")->isNull());
    EXPECT_FALSE(doc->get("z")->asBool());
    EXPECT_TRUE(doc->get("z")->items().empty());
}

TEST(Json, NumbersSentAsStringsReadByValue) {
    struct Case {
        const char* text;
        std::optional<double> number;
    };
    const Case cases[] = {{"12", 12},
                          {"3.5", 3.5},
                          {"-7", -7},
                          {"1e3", 1000},
                          {"abc", std::nullopt},
                          {"", std::nullopt},
                          {" 3.5", std::nullopt},
                          {"3.5 ", std::nullopt},
                          {"12abc", std::nullopt},
                          {"+1", std::nullopt},
                          {"inf", std::nullopt},
                          {"nan", std::nullopt},
                          {"0x10", std::nullopt},
                          {".5", std::nullopt}};
    for (const auto& c : cases) {
        EXPECT_EQ(Json::string(c.text).asNumber(), c.number) << '"' << c.text << '"';
    }
    EXPECT_EQ(Json::string("42").asInteger(), 42);
    EXPECT_FALSE(Json::string("1e300").asInteger());
}

TEST(Json, LargeIntegersKeepTheirValue) {
    auto doc = Json::parse("[9007199254740992, -9223372036854775808, 18446744073709551615]");
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->items()[0].asInteger(), 9007199254740992);
    EXPECT_EQ(doc->items()[1].asInteger(), INT64_MIN);
    EXPECT_FALSE(doc->items()[2].asInteger());
}

TEST(Json, UnicodeEscapesDecodeToUtf8) {
    auto doc = Json::parse(R"(["\u9ed8\u8ba4.caf", "\ud83d\ude00", "a\"b\\c\/d\n"])");
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->items()[0].asString(), "默认.caf");
    EXPECT_EQ(doc->items()[1].asString(), "\xF0\x9F\x98\x80");
    EXPECT_EQ(doc->items()[2].asString(), "a\"b\\c/d\n");
}

TEST(Json, FirstOfDuplicateKeysWins) {
    auto doc = Json::parse(R"({"a":1,"a":2})");
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->get("a")->asInteger(), 1);
}

TEST(Json, SerializesCompactlyWithEscapes) {
    Json value = Json::object({{"name", Json::string("默认 \"x\"\\\n\t\x01")},
                               {"n", Json::number(12)},
                               {"d", Json::number(-3.25)},
                               {"list", Json::array({Json::boolean(true), Json::null()})},
                               {"empty", Json::object({})}});
    const std::string text = value.serialize();
    EXPECT_EQ(text, "{\"name\":\"默认 \\\"x\\\"\\\\\\n\\t\\u0001\",\"n\":12,\"d\":-3.25,"
                    "\"list\":[true,null],\"empty\":{}}");
    auto again = Json::parse(text);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->serialize(), text);
    EXPECT_EQ(Json::number(0.1).serialize(), "0.1");
    EXPECT_EQ(Json().serialize(), "null");
}

} // namespace
