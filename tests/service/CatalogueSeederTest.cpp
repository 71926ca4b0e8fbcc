#include "service/CatalogueSeeder.h"
#include "service/CatalogueStore.h"
#include "service/ToneFile.h"
#include "tests/service/ServiceHttp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <tuple>
#include <vector>

using namespace chimora::service;
using namespace chimora::service::testing;

namespace {

class CatalogueSeederTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "seedtest-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    struct Seeded {
        std::vector<Tone> tones;
        std::vector<std::pair<std::string, std::string>> config;
        std::filesystem::path files;
    };
    Seeded seed(const std::string& name, uint64_t s, int count = 25) {
        Seeded out;
        out.files = dir_ / name / "files";
        std::filesystem::create_directories(dir_ / name);
        CatalogueStore store(dir_ / name / "catalogue.db");
        CatalogueSeeder::Options o;
        o.seed = s;
        o.count = count;
        CatalogueSeeder::seed(store, out.files, o);
        out.tones = store.allTones();
        out.config = store.allConfig();
        return out;
    }

    static auto row(const Tone& t) {
        return std::tie(t.id, t.name, t.type, t.icon, t.duration, t.size, t.downloads, t.time,
                        t.recommended, t.file);
    }

    std::filesystem::path dir_;
};

TEST_F(CatalogueSeederTest, TheSameSeedGivesTheSameRowsAndByteIdenticalFiles) {
    Seeded a = seed("a", 42), b = seed("b", 42);
    ASSERT_EQ(a.tones.size(), 25u);
    ASSERT_EQ(a.tones.size(), b.tones.size());
    for (std::size_t i = 0; i < a.tones.size(); ++i) {
        EXPECT_TRUE(row(a.tones[i]) == row(b.tones[i])) << a.tones[i].name;
        EXPECT_EQ(fileBytes((a.files / a.tones[i].file).string()),
                  fileBytes((b.files / b.tones[i].file).string()));
        EXPECT_EQ(fileBytes((a.files / a.tones[i].icon).string()),
                  fileBytes((b.files / b.tones[i].icon).string()));
    }
    EXPECT_EQ(a.config, b.config);
}

TEST_F(CatalogueSeederTest, ADifferentSeedGivesADifferentCatalogue) {
    Seeded a = seed("a", 42), b = seed("b", 43);
    std::set<std::string> namesA, namesB, bytesA, bytesB;
    for (const auto& t : a.tones) {
        namesA.insert(t.name);
        bytesA.insert(fileBytes((a.files / t.file).string()));
    }
    for (const auto& t : b.tones) {
        namesB.insert(t.name);
        bytesB.insert(fileBytes((b.files / t.file).string()));
    }
    EXPECT_NE(namesA, namesB);
    for (const auto& bytes : bytesA)
        EXPECT_EQ(bytesB.count(bytes), 0u) << "a tone repeats across seeds";
}

TEST_F(CatalogueSeederTest, DemoTonesAreVariedPlayableCafFiles) {
    Seeded s = seed("a", 9, 60);
    std::set<std::string> names, melodies;
    std::set<int32_t> types, durations;
    int recommended = 0, withSpace = 0, chinese = 0;
    std::set<int32_t> downloads;
    std::set<int64_t> times;
    for (const auto& t : s.tones) {
        names.insert(t.name);
        ASSERT_GE(t.name.size(), 5u);
        EXPECT_EQ(t.name.substr(t.name.size() - 4), ".caf");
        withSpace += t.name.find(' ') != std::string::npos;
        chinese += std::any_of(t.name.begin(), t.name.end(),
                               [](char c) { return static_cast<unsigned char>(c) >= 0xe4; });
        types.insert(t.type);
        recommended += t.recommended;
        downloads.insert(t.downloads);
        times.insert(t.time);

        auto info = ToneFile::inspect(s.files / t.file);
        ASSERT_TRUE(info) << t.file;
        EXPECT_GE(info->seconds, 0.5) << t.name;
        EXPECT_LE(info->seconds, 3.05) << t.name;
        EXPECT_EQ(info->channels, 1);
        EXPECT_EQ(t.duration, std::max(1L, std::lround(info->seconds)));
        auto bytes = fileBytes((s.files / t.file).string());
        EXPECT_NEAR(t.size, bytes.size() / 1024.0, 0.06);
        melodies.insert(bytes);
        EXPECT_EQ(fileBytes((s.files / t.icon).string()).substr(1, 3), "PNG");
    }
    EXPECT_EQ(names.size(), s.tones.size()) << "names must be distinct: they are file names";
    EXPECT_EQ(melodies.size(), s.tones.size());
    EXPECT_EQ(types, (std::set<int32_t>{1, 2, 3, 4, 5}));
    EXPECT_GT(recommended, 0);
    EXPECT_LT(recommended, 60);
    EXPECT_GT(withSpace, 0);
    EXPECT_GT(chinese, 0);
    EXPECT_GT(downloads.size(), 30u);
    EXPECT_GT(times.size(), 30u);
}

TEST_F(CatalogueSeederTest, SeedingAgainReplacesTheCatalogueAndItsFiles) {
    Seeded first = seed("a", 1, 20);
    Seeded second = seed("a", 2, 5);
    EXPECT_EQ(second.tones.size(), 5u);
    std::set<std::string> kept;
    for (const auto& t : second.tones) {
        kept.insert(t.file);
        kept.insert(t.icon);
    }
    for (const auto& t : first.tones) {
        if (!kept.count(t.file)) {
            EXPECT_FALSE(std::filesystem::exists(second.files / t.file)) << t.file;
        }
    }
}

} // namespace
