#include "host/device/DeviceInit.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <numbers>
#include <random>

namespace fs = std::filesystem;

namespace host {

namespace {

constexpr const char* kModernRoot = "var/mobile/Containers/Bundle/Application";
constexpr const char* kLegacyRoot = "var/mobile/Applications";
constexpr const char* kMessengerBundle = "MicroMessenger.app";

void putBigEndian(std::string& out, uint64_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
    }
}

std::string devicePathOf(const fs::path& relative) {
    return "/" + relative.generic_string();
}

// Answers the device path of the messenger bundle under `rootRel`, creating one if none.
bool ensureMessenger(const fs::path& root, const fs::path& rootRel, std::string& bundle,
                     std::string& error) {
    std::error_code ec;
    const fs::path dir = root / rootRel;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (fs::exists(it->path() / kMessengerBundle, ec)) {
            bundle = devicePathOf(rootRel / it->path().filename() / kMessengerBundle);
            return true;
        }
    }
    const fs::path rel = rootRel / randomUUIDString() / kMessengerBundle;
    fs::create_directories(root / rel, ec);
    if (ec) {
        error = "cannot create " + (root / rel).string() + ": " + ec.message();
        return false;
    }
    std::ofstream out(root / rel / "in.caf", std::ios::binary | std::ios::trunc);
    const std::string bytes = messengerToneBytes();
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        error = "cannot write " + (root / rel / "in.caf").string();
        return false;
    }
    bundle = devicePathOf(rel);
    return true;
}

} // namespace

std::string randomUUIDString() {
    static const char* kHex = "0123456789ABCDEF";
    std::random_device device;
    std::mt19937_64 engine((static_cast<uint64_t>(device()) << 32) ^ device());
    std::uniform_int_distribution<int> digit(0, 15);
    std::string out;
    for (int group : {8, 4, 4, 4, 12}) {
        if (!out.empty()) {
            out.push_back('-');
        }
        for (int i = 0; i < group; ++i) {
            out.push_back(kHex[digit(engine)]);
        }
    }
    return out;
}

std::string messengerToneBytes() {
    constexpr double kRate = 8000;
    constexpr int kFrames = 2400; // 0.3 s
    std::string out = "caff";
    putBigEndian(out, 1, 2); // version
    putBigEndian(out, 0, 2); // flags

    out += "desc";
    putBigEndian(out, 32, 8);
    uint64_t rateBits = 0;
    static_assert(sizeof(double) == sizeof(uint64_t));
    double rate = kRate;
    std::memcpy(&rateBits, &rate, sizeof rateBits);
    putBigEndian(out, rateBits, 8);
    out += "lpcm";
    putBigEndian(out, 0, 4); // integer samples, big-endian
    putBigEndian(out, 2, 4); // bytes per packet
    putBigEndian(out, 1, 4); // frames per packet
    putBigEndian(out, 1, 4); // channels
    putBigEndian(out, 16, 4);

    out += "data";
    putBigEndian(out, 4 + 2 * kFrames, 8);
    putBigEndian(out, 0, 4); // edit count
    for (int i = 0; i < kFrames; ++i) {
        // A soft two-note chime, faded out so it ends without a click.
        const double t = i / kRate;
        const double fade = 1.0 - static_cast<double>(i) / kFrames;
        const double freq = i < kFrames / 2 ? 880.0 : 1320.0;
        const auto sample = static_cast<int16_t>(
            std::lround(9000.0 * fade * std::sin(2 * std::numbers::pi * freq * t)));
        putBigEndian(out, static_cast<uint16_t>(sample), 2);
    }
    return out;
}

DeviceInitResult initDevice(const fs::path& root, const DeviceInitOptions& options) {
    DeviceInitResult result;
    std::error_code ec;
    for (const char* dir :
         {"var/mobile/Documents", "var/mobile/Library/Preferences", "var/mobile/Library/Caches"}) {
        fs::create_directories(root / dir, ec);
        if (ec) {
            result.error = "cannot create " + (root / dir).string() + ": " + ec.message();
            return result;
        }
    }
    std::vector<const char*> roots;
    if (options.messenger) {
        roots.push_back(kModernRoot);
    }
    if (options.legacyMessenger) {
        roots.push_back(kLegacyRoot);
    }
    for (const char* messengerRoot : roots) {
        std::string bundle;
        if (!ensureMessenger(root, messengerRoot, bundle, result.error)) {
            return result;
        }
        result.messengerBundles.push_back(bundle);
    }
    result.ok = true;
    return result;
}

} // namespace host
