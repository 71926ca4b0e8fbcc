#include "platform/audio/AudioServices.h"

#include "platform/audio/AudioOutput.h"
#include "platform/audio/SoundDecoder.h"
#include "platform/foundation/DeviceHost.h"

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace {

struct SystemSound {
    std::string devicePath;
    std::shared_ptr<const platform::DecodedSound> sound;
};

// The app makes a new id for every tap and never disposes of them, so ids of an unchanged
// file share one decoded copy instead of holding one each.
struct CachedDecode {
    std::filesystem::file_time_type modified;
    uintmax_t size = 0;
    std::weak_ptr<const platform::DecodedSound> sound;
};

struct Registry {
    std::mutex mutex;
    std::map<SystemSoundID, SystemSound> sounds;
    std::map<std::string, CachedDecode> decoded; // by host path
    SystemSoundID nextId = 4097;
};

Registry& registry() {
    static Registry* r = new Registry();
    return *r;
}

std::shared_ptr<const platform::DecodedSound> decodeShared(Registry& r,
                                                           const std::filesystem::path& file) {
    std::error_code ec;
    const auto modified = std::filesystem::last_write_time(file, ec);
    if (ec) {
        return nullptr;
    }
    const auto size = std::filesystem::file_size(file, ec);
    if (ec) {
        return nullptr;
    }
    std::lock_guard lock(r.mutex);
    auto& cached = r.decoded[file.string()];
    if (auto sound = cached.sound.lock();
        sound && cached.modified == modified && cached.size == size) {
        return sound;
    }
    auto sound = platform::SoundDecoder::decodeFile(file, nullptr);
    cached = {modified, size, sound};
    return sound;
}

} // namespace

OSStatus AudioServicesCreateSystemSoundID(const NSURL& fileURL, SystemSoundID* outID) {
    if (!outID || !fileURL.isFileURL() || !platform::hasDeviceHost()) {
        return kAudio_ParamError;
    }
    const std::string devicePath = fileURL.path();
    const auto file = platform::deviceHost().hostPath(devicePath);
    if (!file) {
        return kAudio_ParamError;
    }
    Registry& r = registry();
    auto sound = decodeShared(r, *file);
    if (!sound) {
        return kAudioServicesSystemSoundUnspecifiedError;
    }
    std::lock_guard lock(r.mutex);
    const SystemSoundID id = r.nextId++;
    r.sounds[id] = {devicePath, std::move(sound)};
    *outID = id;
    return kAudioServicesNoError;
}

void AudioServicesPlaySystemSound(SystemSoundID inSystemSoundID) {
    SystemSound entry;
    {
        Registry& r = registry();
        std::lock_guard lock(r.mutex);
        auto it = r.sounds.find(inSystemSoundID);
        if (it == r.sounds.end()) {
            return;
        }
        entry = it->second;
    }
    if (platform::hasDeviceHost()) {
        platform::deviceHost().recordSound(platform::SoundKind::System, entry.devicePath);
    }
    platform::AudioOutput::shared().start(std::move(entry.sound), nullptr);
}

OSStatus AudioServicesDisposeSystemSoundID(SystemSoundID inSystemSoundID) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    return r.sounds.erase(inSystemSoundID) != 0 ? kAudioServicesNoError
                                                : kAudioServicesBadSpecifierError;
}
