#pragma once
// A fresh simulated device for one test.
//
//   TestDevice dev;                                  // empty device, installed as the host
//   auto file = dev.hostPath("/var/mobile/Documents/tones/a.caf");   // machine path
//   dev.writeFile("/var/mobile/Documents/x.txt", "hello");
//   dev.device().commands();                         // what the app asked the device to do
//
//   TestDevice dev({.messenger = true});             // with a messenger bundle and in.caf
//
// The device root is a new temporary folder (removed on destruction) that already holds
// /var/mobile/Documents, /var/mobile/Library/Preferences and /var/mobile/Library/Caches.
// /Applications/Chimora.app shows the build's resources unless `appBundle` names another
// folder. Creating or destroying a TestDevice also forgets the shared user defaults and
// main bundle, so nothing leaks from one test's device into the next.
#include "host/device/DeviceRoot.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace testsupport {

class TestDevice {
public:
    struct Options {
        bool messenger = false;
        bool legacyMessenger = false;
        platform::DeviceSettings settings = {};
        // Folder mounted as /Applications/Chimora.app; default: the build's resources.
        std::optional<std::filesystem::path> appBundle = std::nullopt;
        // Device clock start (seconds since 1970 UTC); default: the real clock.
        std::optional<double> now = std::nullopt;
    };

    TestDevice();
    explicit TestDevice(Options options);
    ~TestDevice();
    TestDevice(const TestDevice&) = delete;
    TestDevice& operator=(const TestDevice&) = delete;

    // The temporary folder that holds the device's files.
    const std::filesystem::path& root() const { return device_->root(); }
    // Where a device path lies on this machine. Fails the test (and answers an empty path)
    // when the device refuses the path.
    std::filesystem::path hostPath(std::string_view devicePath) const;

    host::DeviceRoot& device() { return *device_; }
    std::shared_ptr<host::DeviceRoot> devicePtr() { return device_; }

    // Device path of the messenger bundle laid out for Options::messenger (else empty).
    const std::string& messengerBundle() const { return messengerBundle_; }
    const std::string& legacyMessengerBundle() const { return legacyMessengerBundle_; }

    // Small conveniences over hostPath: create parent folders and write; read a whole file.
    void writeFile(std::string_view devicePath, std::string_view contents) const;
    std::optional<std::string> readFile(std::string_view devicePath) const;
    bool exists(std::string_view devicePath) const;

private:
    std::shared_ptr<host::DeviceRoot> device_;
    std::filesystem::path tempDir_;
    std::string messengerBundle_;
    std::string legacyMessengerBundle_;
};

} // namespace testsupport
