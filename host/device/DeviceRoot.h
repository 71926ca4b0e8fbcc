#pragma once
// The simulated phone: a folder of this machine holds the device's file system, the app's
// bundle is mounted from the build's resources, and whatever the app asks of the world
// outside itself (shell commands, URLs, sounds, posts, log lines) is written down instead
// of being done.
#include "platform/foundation/DeviceHost.h"

#include <chrono>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace host {

struct SoundRecord {
    platform::SoundKind kind;
    std::string source;
};

struct PostRecord {
    std::string platform;
    std::string text;
    std::string image;
};

class DeviceRoot : public platform::DeviceHost {
public:
    static constexpr std::string_view kAppBundlePath = "/Applications/Chimora.app";

    // `root` holds the device's files; `appBundle` is what /Applications/Chimora.app shows.
    // The clock starts at `startTime` (seconds since 1970 UTC) and runs on with the real
    // clock; without one it is the real clock.
    DeviceRoot(std::filesystem::path root, std::filesystem::path appBundle,
               platform::DeviceSettings settings = {},
               std::optional<double> startTime = std::nullopt);

    std::optional<std::filesystem::path> hostPath(std::string_view devicePath) const override;
    const platform::DeviceSettings& settings() const override { return settings_; }
    double now() const override;

    int runCommand(const std::string& command) override;
    void openURL(const std::string& url) override;
    void recordLog(const std::string& line) override;
    void recordSound(platform::SoundKind kind, const std::string& source) override;
    void recordPost(const std::string& platformId, const std::string& text,
                    const std::string& imageName) override;

    const std::filesystem::path& root() const { return root_; }
    const std::filesystem::path& appBundle() const { return appBundle_; }

    // Settings may only be changed while nothing else reads them (set-up, tests).
    void setSettings(platform::DeviceSettings settings) { settings_ = std::move(settings); }
    void setClock(double startTime);

    // Copies of the records so far, oldest first.
    std::vector<std::string> commands() const;
    std::vector<std::string> urls() const;
    std::vector<std::string> logLines() const;
    std::vector<SoundRecord> sounds() const;
    std::vector<PostRecord> posts() const;
    void clearRecords();

private:
    std::filesystem::path root_;
    std::filesystem::path appBundle_;
    platform::DeviceSettings settings_;

    mutable std::mutex mutex_;
    double clockStart_ = 0;
    std::chrono::steady_clock::time_point clockStartedAt_;
    bool realClock_ = true;

    std::vector<std::string> commands_;
    std::vector<std::string> urls_;
    std::vector<std::string> log_;
    std::vector<SoundRecord> sounds_;
    std::vector<PostRecord> posts_;
};

} // namespace host
