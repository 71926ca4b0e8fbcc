#include "platform/foundation/StringsFile.h"

#include <gtest/gtest.h>

namespace {

TEST(StringsFile, ReadsEntriesWithCommentsAndEscapes) {
    const char* text = "/* Tab titles */\n"
                       "\"Home\" = \"首页\";\n"
                       "// a line comment \"Ignored\" = \"x\";\n"
                       "\"Quote \\\"me\\\"\" = \"He said \\\"hi\\\"\\n\\tand left\\\\\";\n"
                       "\"Unicode\"=\"\\U9ED8\\u8BA4 \\UD83D\\UDE00\";/* trailing */\n"
                       "  Bare_key.1 = bare-value ;\n"
                       "\"Short\";\n"
                       "\"Home\" = \"主页\";\n";
    auto result = StringsFile::parse(text);
    EXPECT_TRUE(result.complete);
    const auto& e = result.entries;
    EXPECT_EQ(e.size(), 5u);
    EXPECT_EQ(e.at("Home"), "主页") << "a later entry wins";
    EXPECT_EQ(e.at("Quote \"me\""), "He said \"hi\"\n\tand left\\");
    EXPECT_EQ(e.at("Unicode"), "默认 😀");
    EXPECT_EQ(e.at("Bare_key.1"), "bare-value");
    EXPECT_EQ(e.at("Short"), "Short");
    EXPECT_EQ(e.count("Ignored"), 0u);
}

TEST(StringsFile, DecodesUtf16WithAByteOrderMark) {
    const std::u16string text = u"/* c */ \"Home\" = \"首页\";\n\"Emoji\" = \"😀\";";
    std::string little = "\xFF\xFE";
    std::string big = "\xFE\xFF";
    for (char16_t unit : text) {
        little.push_back(static_cast<char>(unit & 0xFF));
        little.push_back(static_cast<char>(unit >> 8));
        big.push_back(static_cast<char>(unit >> 8));
        big.push_back(static_cast<char>(unit & 0xFF));
    }
    for (const auto& bytes :
         {little, big, std::string("\xEF\xBB\xBF") + "\"Home\" = \"首页\"; \"Emoji\" = \"😀\";"}) {
        auto result = StringsFile::parse(bytes);
        EXPECT_TRUE(result.complete);
        EXPECT_EQ(result.entries.at("Home"), "首页");
        EXPECT_EQ(result.entries.at("Emoji"), "😀");
    }
}

TEST(StringsFile, KeepsWhatCameBeforeAFault) {
    struct Case {
        const char* name;
        const char* text;
    };
    const Case cases[] = {
        {"missing semicolon", "\"a\" = \"1\";\n\"b\" = \"2\"\n\"c\" = \"3\";"},
        {"unterminated string", "\"a\" = \"1\";\n\"b\" = \"2"},
        {"unterminated comment", "\"a\" = \"1\";\n/* never closed"},
        {"missing value", "\"a\" = \"1\";\n\"b\" = ;"},
        {"bad escape", "\"a\" = \"1\";\n\"b\" = \"\\UZZZZ\";"},
        {"stray character", "\"a\" = \"1\";\n#\"b\" = \"2\";"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto result = StringsFile::parse(c.text);
        EXPECT_FALSE(result.complete);
        ASSERT_EQ(result.entries.size(), 1u);
        EXPECT_EQ(result.entries.at("a"), "1");
    }
}

TEST(StringsFile, EmptyAndCommentOnlyTablesAreComplete) {
    for (const char* text : {"", "   \n", "/* nothing */", "// nothing"}) {
        auto result = StringsFile::parse(text);
        EXPECT_TRUE(result.complete) << text;
        EXPECT_TRUE(result.entries.empty()) << text;
    }
}

} // namespace
