#include "host/device/DeviceInit.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace fs = std::filesystem;

namespace {

uint64_t bigEndian(const std::string& bytes, size_t pos, int count) {
    uint64_t value = 0;
    for (int i = 0; i < count; ++i) {
        value = value << 8 | static_cast<unsigned char>(bytes.at(pos + i));
    }
    return value;
}

class DeviceInitTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "chimora-init-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
    }
    void TearDown() override { fs::remove_all(root_); }
    fs::path root_;
};

TEST_F(DeviceInitTest, PlainInitCreatesTheHomeFoldersOnly) {
    auto result = host::initDevice(root_, {});
    ASSERT_TRUE(result.ok) << result.error;
    for (const char* dir :
         {"var/mobile/Documents", "var/mobile/Library/Preferences", "var/mobile/Library/Caches"}) {
        EXPECT_TRUE(fs::is_directory(root_ / dir)) << dir;
    }
    EXPECT_TRUE(result.messengerBundles.empty());
    EXPECT_FALSE(fs::exists(root_ / "var/mobile/Containers"));
}

TEST_F(DeviceInitTest, MessengerBundlesGetAToneAndAreNotDuplicated) {
    auto result = host::initDevice(root_, {.messenger = true, .legacyMessenger = true});
    ASSERT_TRUE(result.ok) << result.error;
    ASSERT_EQ(result.messengerBundles.size(), 2u);
    const std::regex modern("/var/mobile/Containers/Bundle/Application/"
                            "[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}/"
                            "MicroMessenger\\.app");
    const std::regex legacy("/var/mobile/Applications/[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}/"
                            "MicroMessenger\\.app");
    EXPECT_TRUE(std::regex_match(result.messengerBundles[0], modern)) << result.messengerBundles[0];
    EXPECT_TRUE(std::regex_match(result.messengerBundles[1], legacy)) << result.messengerBundles[1];

    for (const auto& bundle : result.messengerBundles) {
        const fs::path tone = root_ / bundle.substr(1) / "in.caf";
        ASSERT_TRUE(fs::is_regular_file(tone)) << tone;
        std::ifstream in(tone, std::ios::binary);
        std::stringstream buffer;
        buffer << in.rdbuf();
        const std::string bytes = buffer.str();
        // A Core Audio Format file: header, a 32-byte description, then the sample data.
        ASSERT_GT(bytes.size(), 8u + 12 + 32 + 12);
        EXPECT_EQ(bytes.substr(0, 4), "caff");
        EXPECT_EQ(bigEndian(bytes, 4, 2), 1u);
        EXPECT_EQ(bytes.substr(8, 4), "desc");
        EXPECT_EQ(bigEndian(bytes, 12, 8), 32u);
        double rate = 0;
        const uint64_t rateBits = bigEndian(bytes, 20, 8);
        std::memcpy(&rate, &rateBits, sizeof rate);
        EXPECT_EQ(rate, 8000.0);
        EXPECT_EQ(bytes.substr(28, 4), "lpcm");
        EXPECT_EQ(bigEndian(bytes, 36, 4), 2u);  // bytes per packet
        EXPECT_EQ(bigEndian(bytes, 44, 4), 1u);  // channels
        EXPECT_EQ(bigEndian(bytes, 48, 4), 16u); // bits
        EXPECT_EQ(bytes.substr(52, 4), "data");
        EXPECT_EQ(bigEndian(bytes, 56, 8), bytes.size() - 64);
        // Not silence.
        EXPECT_NE(bytes.find_first_not_of('\0', 68), std::string::npos);
    }

    auto again = host::initDevice(root_, {.messenger = true});
    ASSERT_TRUE(again.ok);
    EXPECT_EQ(again.messengerBundles, std::vector<std::string>{result.messengerBundles[0]});
    int bundles = 0;
    for (const auto& entry :
         fs::directory_iterator(root_ / "var/mobile/Containers/Bundle/Application")) {
        (void)entry;
        ++bundles;
    }
    EXPECT_EQ(bundles, 1);
}

TEST_F(DeviceInitTest, AFileWhereAFolderBelongsIsReported) {
    fs::create_directories(root_ / "var");
    std::ofstream(root_ / "var/mobile") << "in the way";
    auto result = host::initDevice(root_, {});
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("var/mobile"), std::string::npos) << result.error;
}

TEST(RandomUUID, IsUppercaseHexInGroupsAndVaries) {
    const std::regex shape("[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}");
    const std::string a = host::randomUUIDString();
    EXPECT_TRUE(std::regex_match(a, shape)) << a;
    EXPECT_NE(a, host::randomUUIDString());
}

} // namespace
