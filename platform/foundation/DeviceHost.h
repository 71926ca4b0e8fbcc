#pragma once
// The seam between the platform and the machine it runs on. On a phone these answers come
// from the operating system; here the host (the simulated device) supplies them.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct DeviceSettings {
    std::string systemVersion = "8.1";
    std::vector<std::string> preferredLanguages = {"en"};
    double screenWidth = 320;
    double screenHeight = 568;
    double screenScale = 2;
    double statusBarHeight = 20;
};

enum class SoundKind { System, Player };

class DeviceHost {
public:
    virtual ~DeviceHost() = default;

    // Maps an absolute device path ("/var/mobile/...") onto the machine. Absent when the
    // path is not absolute or would leave the device (via "..", or a symlink pointing out).
    virtual std::optional<std::filesystem::path> hostPath(std::string_view devicePath) const = 0;

    virtual const DeviceSettings& settings() const = 0;

    // Seconds since 1970-01-01 UTC on the device clock.
    virtual double now() const = 0;

    // Side effects outside the app: recorded, never performed on the machine.
    // Answers the exit status the shell would have given.
    virtual int runCommand(const std::string& command) = 0;
    virtual void openURL(const std::string& url) = 0;
    virtual void recordLog(const std::string& line) = 0;
    virtual void recordSound(SoundKind kind, const std::string& source) = 0;
    virtual void recordPost(const std::string& platformId, const std::string& text,
                            const std::string& imageName) = 0;
};

// Installed once by the host before the app starts (and by tests in their fixtures).
void setDeviceHost(std::shared_ptr<DeviceHost> host);
// The installed host. Aborts with a message if none was installed: that is a wiring fault.
DeviceHost& deviceHost();
bool hasDeviceHost();

} // namespace platform
