#include "platform/foundation/NSBundle.h"

#include "tests/support/TestDevice.h"

#include <gtest/gtest.h>

#include <plist/plist.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;
using testsupport::TestDevice;

namespace {

void write(const fs::path& path, const std::string& contents) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << contents;
}

// A small app bundle: three localizations, a default tone and a localized image.
class NSBundleTest : public ::testing::Test {
protected:
    NSBundleTest()
        : bundle_(fs::temp_directory_path() / ("chimora-bundle-" + std::to_string(::getpid())) /
                  "Chimora.app") {
        write(bundle_ / "Info.plist",
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
              "<key>CFBundleDisplayName</key><string>Chimora Pro</string>"
              "<key>CFBundleVersion</key><string>1.9</string>"
              "<key>CFBundleIdentifier</key><string>com.example.tones</string>"
              "<key>Build</key><integer>42</integer>"
              "<key>Icons</key><array/></dict></plist>");
        write(bundle_ / "默认.caf", "tone");
        write(bundle_ / "home32.png", "png");
        write(bundle_ / "en.lproj/Localizable.strings",
              "\"Home\" = \"Home\";\n\"Only English\" = \"English only\";");
        write(bundle_ / "en.lproj/flag.png", "en flag");
        write(bundle_ / "zh-Hans.lproj/Localizable.strings",
              "/* 简体 */\n\"Home\" = \"首页\";\n\"Notice\" = \"提示\";");
        write(bundle_ / "zh-Hans.lproj/flag.png", "hans flag");
        write(bundle_ / "zh-Hant.lproj/Localizable.strings", "\"Home\" = \"首頁\";");
        write(bundle_ / "zh-Hant.lproj/Other.strings", "\"Home\" = \"其他首頁\";");
    }
    ~NSBundleTest() override { fs::remove_all(bundle_.parent_path()); }

    TestDevice device(std::vector<std::string> languages) {
        platform::DeviceSettings settings;
        settings.preferredLanguages = std::move(languages);
        return TestDevice(TestDevice::Options{.settings = settings, .appBundle = bundle_});
    }

    fs::path bundle_;
};

TEST_F(NSBundleTest, LanguageChoiceFollowsThePreferredLanguages) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"en"}, "en"},
        {{"zh-Hans"}, "zh-Hans"},
        {{"zh-Hant"}, "zh-Hant"},
        {{"zh-Hans-CN"}, "zh-Hans"},
        {{"zh-Hant-HK"}, "zh-Hant"},
        {{"zh-CN"}, "zh-Hans"},
        {{"zh-TW"}, "zh-Hant"},
        {{"zh-HK"}, "zh-Hant"},
        {{"fr", "zh-Hant", "en"}, "zh-Hant"},
        {{"en-GB", "zh-Hans"}, "en"},
        {{"fr", "de"}, "en"},
        {{}, "en"},
    };
    for (const auto& [languages, expected] : cases) {
        SCOPED_TRACE(languages.empty() ? "(none)" : languages.front());
        TestDevice dev = device(languages);
        EXPECT_EQ(NSBundle::mainBundle()->preferredLocalization(), expected);
    }
}

TEST_F(NSBundleTest, LocalizedStringsFallBackToTheValueThenTheKey) {
    TestDevice dev = device({"zh-Hans"});
    auto bundle = NSBundle::mainBundle();
    EXPECT_EQ(bundle->localizedStringForKey("Home"), "首页");
    EXPECT_EQ(bundle->localizedStringForKey("Notice", "", "Localizable"), "提示");
    // Missing in the chosen table: no borrowing from English.
    EXPECT_EQ(bundle->localizedStringForKey("Only English"), "Only English");
    EXPECT_EQ(bundle->localizedStringForKey("Missing", "Default"), "Default");
    EXPECT_EQ(bundle->localizedStringForKey("Missing", ""), "Missing");
    EXPECT_EQ(bundle->localizedStringForKey("Home", "", "NoSuchTable"), "Home");
}

TEST_F(NSBundleTest, NamedTablesAreSeparate) {
    TestDevice dev = device({"zh-Hant"});
    auto bundle = NSBundle::mainBundle();
    EXPECT_EQ(bundle->localizedStringForKey("Home"), "首頁");
    EXPECT_EQ(bundle->localizedStringForKey("Home", "", "Other"), "其他首頁");
}

TEST_F(NSBundleTest, ABundleWithoutTablesAnswersKeys) {
    fs::remove_all(bundle_ / "en.lproj");
    fs::remove_all(bundle_ / "zh-Hans.lproj");
    fs::remove_all(bundle_ / "zh-Hant.lproj");
    TestDevice dev = device({"zh-Hans"});
    EXPECT_EQ(NSBundle::mainBundle()->localizedStringForKey("Home"), "Home");
}

TEST_F(NSBundleTest, ResourcesAreFoundInTheTopFolderThenTheLanguageFolder) {
    TestDevice dev = device({"zh-Hans"});
    auto bundle = NSBundle::mainBundle();
    auto tone = bundle->pathForResource("默认", "caf");
    ASSERT_TRUE(tone);
    EXPECT_EQ(*tone, "/Applications/Chimora.app/默认.caf");
    EXPECT_EQ(dev.readFile(*tone), "tone");
    EXPECT_EQ(bundle->pathForResource("home32.png", ""), "/Applications/Chimora.app/home32.png");
    EXPECT_EQ(bundle->pathForResource("flag", "png"),
              "/Applications/Chimora.app/zh-Hans.lproj/flag.png");
    EXPECT_FALSE(bundle->pathForResource("默认", "mp3"));
    EXPECT_FALSE(bundle->pathForResource("", "caf"));
    EXPECT_FALSE(bundle->pathForResource("en", "lproj")) << "a folder is no resource";
}

TEST_F(NSBundleTest, ResourcesMissingInTheLanguageFolderComeFromEnglish) {
    fs::remove(bundle_ / "zh-Hans.lproj/flag.png");
    TestDevice dev = device({"zh-Hans"});
    EXPECT_EQ(NSBundle::mainBundle()->pathForResource("flag", "png"),
              "/Applications/Chimora.app/en.lproj/flag.png");
}

TEST_F(NSBundleTest, InfoDictionaryValues) {
    TestDevice dev = device({"en"});
    auto bundle = NSBundle::mainBundle();
    EXPECT_EQ(bundle->objectForInfoDictionaryKey("CFBundleDisplayName"), "Chimora Pro");
    EXPECT_EQ(bundle->objectForInfoDictionaryKey("CFBundleVersion"), "1.9");
    EXPECT_EQ(bundle->bundleIdentifier(), "com.example.tones");
    EXPECT_EQ(bundle->objectForInfoDictionaryKey("Build"), "42");
    EXPECT_FALSE(bundle->objectForInfoDictionaryKey("Icons"));
    EXPECT_FALSE(bundle->objectForInfoDictionaryKey("Missing"));
}

TEST_F(NSBundleTest, BinaryInfoPlistIsReadToo) {
    plist_t dict = plist_new_dict();
    plist_dict_set_item(dict, "CFBundleVersion", plist_new_string("2.0"));
    char* bytes = nullptr;
    uint32_t length = 0;
    plist_to_bin(dict, &bytes, &length);
    write(bundle_ / "Info.plist", std::string(bytes, length));
    plist_to_bin_free(bytes);
    plist_free(dict);
    TestDevice dev = device({"en"});
    EXPECT_EQ(NSBundle::mainBundle()->objectForInfoDictionaryKey("CFBundleVersion"), "2.0");
}

TEST_F(NSBundleTest, ABrokenInfoPlistMeansNoValues) {
    write(bundle_ / "Info.plist", "<plist><dict><key>CFBundleVersion</key>");
    TestDevice dev = device({"en"});
    EXPECT_FALSE(NSBundle::mainBundle()->objectForInfoDictionaryKey("CFBundleVersion"));
}

} // namespace
