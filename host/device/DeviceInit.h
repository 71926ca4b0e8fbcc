#pragma once
// `chimora device init`: lays out a fresh device root the way a phone would have it.
#include <filesystem>
#include <string>
#include <vector>

namespace host {

struct DeviceInitOptions {
    // A messenger bundle under /var/mobile/Containers/Bundle/Application/<UUID>/ (8.0 on).
    bool messenger = false;
    // A messenger bundle under /var/mobile/Applications/<UUID>/ (before 8.0).
    bool legacyMessenger = false;
};

struct DeviceInitResult {
    bool ok = false;
    std::string error;
    // Device paths of the messenger bundles now present, one per root asked for.
    std::vector<std::string> messengerBundles;
};

// Creates the home folders (Documents, Library/Preferences, Library/Caches) and the
// messenger bundles asked for. Safe to run again: what exists is kept, and a root that
// already holds a messenger gets no second one.
DeviceInitResult initDevice(const std::filesystem::path& root, const DeviceInitOptions& options);

// Uppercase 8-4-4-4-12 hexadecimal, random.
std::string randomUUIDString();

// A short valid Core Audio Format file: 16-bit big-endian linear PCM, mono, 8000 Hz tone.
std::string messengerToneBytes();

} // namespace host
