#pragma once
// A device host for foundation tests: a settable clock and a log record; nothing else.
#include "platform/foundation/DeviceHost.h"

#include <mutex>

namespace foundation_test {

class FakeDeviceHost : public platform::DeviceHost {
public:
    std::optional<std::filesystem::path> hostPath(std::string_view) const override {
        return std::nullopt;
    }
    const platform::DeviceSettings& settings() const override { return settings_; }
    double now() const override { return now_; }
    int runCommand(const std::string&) override { return 0; }
    void openURL(const std::string&) override {}
    void recordLog(const std::string& line) override {
        std::lock_guard lock(mutex_);
        log_.push_back(line);
    }
    void recordSound(platform::SoundKind, const std::string&) override {}
    void recordPost(const std::string&, const std::string&, const std::string&) override {}

    void setNow(double now) { now_ = now; }
    std::vector<std::string> log() const {
        std::lock_guard lock(mutex_);
        return log_;
    }

private:
    platform::DeviceSettings settings_;
    double now_ = 0;
    mutable std::mutex mutex_;
    std::vector<std::string> log_;
};

// Installs a fake host for the length of a test and leaves none behind.
class ScopedFakeHost {
public:
    ScopedFakeHost() : host_(std::make_shared<FakeDeviceHost>()) { platform::setDeviceHost(host_); }
    ~ScopedFakeHost() { platform::setDeviceHost(nullptr); }
    FakeDeviceHost& operator*() { return *host_; }
    FakeDeviceHost* operator->() { return host_.get(); }

private:
    std::shared_ptr<FakeDeviceHost> host_;
};

} // namespace foundation_test
