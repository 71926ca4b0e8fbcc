#include "service/CatalogueSeeder.h"

#include "service/IconPainter.h"
#include "service/ToneFile.h"

#include <array>
#include <cmath>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace chimora::service {

namespace {

// splitmix64: tiny, and unlike the standard distributions its output is fixed everywhere.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t next() {
        uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    // Uniform in [0, n).
    uint64_t below(uint64_t n) { return next() % n; }
    template <class T, std::size_t N> const T& pick(const std::array<T, N>& a) {
        return a[below(N)];
    }

private:
    uint64_t state_;
};

const std::array<const char*, 24> kAdjectives = {
    "Morning", "Silver", "Tiny",    "Happy", "Sleepy", "Bright", "Lucky",  "Rainy",
    "Golden",  "Quiet",  "Crystal", "Funky", "Gentle", "Rapid",  "Sunny",  "Electric",
    "Velvet",  "Frosty", "Retro",   "Wild",  "Soft",   "Jolly",  "Cosmic", "Little"};
const std::array<const char*, 24> kNouns = {
    "Bell",   "Chime", "Drop",    "Ping",  "Whistle", "Bubble", "Knock", "Spark",
    "Breeze", "Echo",  "Pulse",   "Tap",   "Bird",    "Wave",   "Drum",  "Harp",
    "Beep",   "Glow",  "Marimba", "Piano", "Click",   "Rain",   "Star",  "Pop"};
const std::array<const char*, 20> kChinese = {
    "叮咚", "雨滴", "风铃", "清晨", "鸟鸣", "水滴", "流星", "钢琴", "口哨", "心跳",
    "泡泡", "小猫", "敲门", "竹林", "铃声", "萤火", "春雷", "海浪", "木琴", "星光"};

const std::array<uint32_t, 10> kBackgrounds = {0x58a230, 0x2f80ed, 0xeb5757, 0xf2994a, 0x9b51e0,
                                               0x219653, 0x56ccf2, 0xbb6bd9, 0x333344, 0xf2c94c};
const std::array<uint32_t, 3> kForegrounds = {0xffffff, 0x171722, 0xfff4d6};

std::string toneName(Random& rng, std::set<std::string>& used) {
    std::string base;
    switch (rng.below(4)) {
    case 0:
        base = rng.pick(kNouns);
        break;
    case 1:
        base = std::string(rng.pick(kAdjectives)) + " " + rng.pick(kNouns);
        break;
    case 2:
        base = rng.pick(kChinese);
        break;
    default:
        base = std::string(rng.pick(kChinese)) + " " + rng.pick(kNouns);
        break;
    }
    std::string name = base;
    for (int n = 2; used.count(name); ++n)
        name = base + " " + std::to_string(n);
    used.insert(name);
    return name + ".caf";
}

std::vector<ToneFile::Note> melody(Random& rng) {
    // A pentatonic scale keeps random melodies pleasant.
    static const std::array<int, 5> kSteps = {0, 2, 4, 7, 9};
    double root = 220.0 * std::pow(2.0, static_cast<double>(rng.below(12)) / 12.0);
    int notes = 2 + static_cast<int>(rng.below(7));
    double total = 0.5 + static_cast<double>(rng.below(2501)) / 1000.0;
    std::vector<double> weights;
    double sum = 0;
    for (int i = 0; i < notes; ++i) {
        weights.push_back(1.0 + static_cast<double>(rng.below(3)));
        sum += weights.back();
    }
    std::vector<ToneFile::Note> out;
    for (int i = 0; i < notes; ++i) {
        int step = kSteps[rng.below(kSteps.size())] + 12 * static_cast<int>(rng.below(3));
        bool rest = i > 0 && i + 1 < notes && rng.below(6) == 0;
        out.push_back({rest ? 0.0 : root * std::pow(2.0, step / 12.0), total * weights[i] / sum});
    }
    return out;
}

} // namespace

void CatalogueSeeder::seed(CatalogueStore& store, const std::filesystem::path& filesDir,
                           const Options& options) {
    if (options.count < 0)
        throw std::runtime_error("count must not be negative");
    std::error_code ec;
    std::filesystem::create_directories(filesDir, ec);
    if (ec)
        throw std::runtime_error("cannot create " + filesDir.string() + ": " + ec.message());

    Random rng(options.seed);
    std::set<std::string> used;
    std::vector<Tone> tones;
    int32_t id = 1000 + static_cast<int32_t>(rng.below(100));
    bool anyRecommended = false;
    for (int i = 0; i < options.count; ++i) {
        Tone t;
        t.id = id;
        id += 1 + static_cast<int32_t>(rng.below(5));
        t.name = toneName(rng, used);
        // The first five cover every category, so each category list has something.
        t.type = i < 5 ? i + 1 : 1 + static_cast<int32_t>(rng.below(5));
        t.recommended = rng.below(4) == 0 || (!anyRecommended && i + 1 == options.count);
        anyRecommended = anyRecommended || t.recommended;
        uint64_t popularity = rng.below(1000);
        t.downloads = static_cast<int32_t>(popularity * popularity / 100);
        t.time = options.latestTime - static_cast<int64_t>(rng.below(120 * 86400));
        t.file = std::to_string(t.id) + ".caf";
        t.icon = std::to_string(t.id) + ".png";

        auto wave = static_cast<ToneFile::Wave>(rng.below(4));
        if (!ToneFile::writeMelody(filesDir / t.file, melody(rng), wave))
            throw std::runtime_error("cannot write " + (filesDir / t.file).string());
        auto info = ToneFile::inspect(filesDir / t.file);
        auto bytes = std::filesystem::file_size(filesDir / t.file, ec);
        if (!info || ec)
            throw std::runtime_error("cannot read back " + (filesDir / t.file).string());
        t.duration = std::max(1, static_cast<int32_t>(std::lround(info->seconds)));
        t.size = std::round(static_cast<double>(bytes) / 1024.0 * 10) / 10;

        IconPainter::Look look;
        look.background = rng.pick(kBackgrounds);
        look.foreground = rng.pick(kForegrounds);
        look.shape = static_cast<IconPainter::Shape>(rng.below(6));
        if (!IconPainter::paint(filesDir / t.icon, look))
            throw std::runtime_error("cannot write " + (filesDir / t.icon).string());
        tones.push_back(std::move(t));
    }
    IconPainter::paint(filesDir / "app.png", {0x171722, 0x58a230, IconPainter::Shape::Note});

    auto old = store.allTones();
    store.transaction([&] {
        store.removeAllTones();
        for (const auto& t : tones)
            store.addTone(t);
    });
    // Files of replaced tones that the new set did not overwrite are dropped.
    std::set<std::string> keep;
    for (const auto& t : tones) {
        keep.insert(t.file);
        keep.insert(t.icon);
    }
    for (const auto& t : old) {
        for (const auto& f : {t.file, t.icon})
            if (!f.empty() && !keep.count(f))
                std::filesystem::remove(filesDir / f, ec);
    }
    seedConfig(store);
}

void CatalogueSeeder::seedConfig(CatalogueStore& store) {
    static const std::array<std::pair<const char*, const char*>, 14> kConfig = {{
        {"UPID_SHARE_TEXT_EN", "I give my chats their own sound with Chimora: short, free message "
                               "tones in five categories. Try it!"},
        {"UPID_SHARE_TEXT_HANS", "我在用 Chimora 给聊天换上专属的提示音：五大分类，短小免费。"
                                 "你也来试试吧！"},
        {"UPID_SHARE_TEXT_HANT", "我在用 Chimora 給聊天換上專屬的提示音：五大分類，短小免費。"
                                 "你也來試試吧！"},
        {"UPID_BBS_URL_En", "{{base}}bbs/"},
        {"UPID_BBS_URL_Hans", "{{base}}bbs/"},
        {"UPID_BBS_URL_Hant", "{{base}}bbs/"},
        {"UPID_RECOMMANDED_APP_Name_En", "Chimora Pro"},
        {"UPID_RECOMMANDED_APP_Name_Hans", "Chimora 专业版"},
        {"UPID_RECOMMANDED_APP_Name_Hant", "Chimora 專業版"},
        {"UPID_RECOMMANDED_APP_DESC_En", "More tones, no ads"},
        {"UPID_RECOMMANDED_APP_DESC_Hans", "更多提示音，没有广告"},
        {"UPID_RECOMMANDED_APP_DESC_Hant", "更多提示音，沒有廣告"},
        {"UPID_RECOMMANDED_APP_ICON_URL", "{{base}}icons/app.png"},
        {"UPID_RECOMMANDED_APP_URL", "cydia://package/com.chimora.pro"},
    }};
    store.transaction([&] {
        for (const auto& [key, value] : kConfig)
            store.setConfig(key, value);
    });
}

} // namespace chimora::service
