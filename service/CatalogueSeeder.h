#pragma once

#include "service/CatalogueStore.h"

#include <cstdint>
#include <filesystem>

namespace chimora::service {

// Fills a catalogue with demo tones: synthesized melodies, drawn icons, varied names,
// categories, download counts and times. Everything follows from the seed, so the same seed
// gives the same rows and byte-identical files.
class CatalogueSeeder {
public:
    struct Options {
        int count = 60;
        uint64_t seed = 1;
        // Time of the newest possible tone; fixed so that a seed always gives the same rows.
        int64_t latestTime = 1735689600; // 2025-01-01 00:00 UTC
    };

    // Replaces the catalogue's tones (and their files) with a demo set and sets the online
    // parameters. Throws StoreError or std::runtime_error on failure.
    static void seed(CatalogueStore& store, const std::filesystem::path& filesDir,
                     const Options& options);
    // The online parameters the app reads: share texts, forum address, recommended app.
    static void seedConfig(CatalogueStore& store);
};

} // namespace chimora::service
