#pragma once
// A test device whose clock stands still at a chosen instant, in a chosen time zone, so
// that texts relative to now come out the same on every run.
#include "platform/foundation/DeviceHost.h"
#include "platform/foundation/NSCalendar.h"
#include "platform/foundation/NSDate.h"
#include "tests/support/TestDevice.h"

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

namespace texttest {

// Sets TZ while it lives and puts the previous value back.
class ScopedTZ {
public:
    explicit ScopedTZ(const char* zone) {
        if (const char* old = std::getenv("TZ")) {
            old_ = old;
        }
        setenv("TZ", zone, 1);
    }
    ~ScopedTZ() {
        if (old_) {
            setenv("TZ", old_->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
    }
    ScopedTZ(const ScopedTZ&) = delete;
    ScopedTZ& operator=(const ScopedTZ&) = delete;

private:
    std::optional<std::string> old_;
};

// Answers everything as the device does, except the time.
class FrozenClockHost : public platform::DeviceHost {
public:
    FrozenClockHost(std::shared_ptr<platform::DeviceHost> device, double now)
        : device_(std::move(device)), now_(now) {}
    std::optional<std::filesystem::path> hostPath(std::string_view path) const override {
        return device_->hostPath(path);
    }
    const platform::DeviceSettings& settings() const override { return device_->settings(); }
    double now() const override { return now_; }
    int runCommand(const std::string& command) override { return device_->runCommand(command); }
    void openURL(const std::string& url) override { device_->openURL(url); }
    void recordLog(const std::string& line) override { device_->recordLog(line); }
    void recordSound(platform::SoundKind kind, const std::string& source) override {
        device_->recordSound(kind, source);
    }
    void recordPost(const std::string& platformId, const std::string& text,
                    const std::string& image) override {
        device_->recordPost(platformId, text, image);
    }

private:
    std::shared_ptr<platform::DeviceHost> device_;
    double now_;
};

// The instant of a local clock time in the zone TZ names now.
inline NSDate localDate(int year, int month, int day, int hour, int minute, double second = 0) {
    NSDateComponents c;
    c.year = year;
    c.month = month;
    c.day = day;
    c.hour = hour;
    c.minute = minute;
    c.second = static_cast<int>(second);
    const auto whole = NSCalendar::currentCalendar().dateFromComponents(c);
    return whole ? whole->dateByAddingTimeInterval(second - c.second) : NSDate{};
}

// A device with the given languages whose clock stands at local `now` in `zone`.
class PinnedDevice {
public:
    PinnedDevice(const char* zone, std::vector<std::string> languages)
        : tz_(zone), device_(options(std::move(languages))) {}

    void freezeAt(NSDate now) {
        platform::setDeviceHost(
            std::make_shared<FrozenClockHost>(device_.devicePtr(), now.timeIntervalSince1970()));
    }
    testsupport::TestDevice& device() { return device_; }

private:
    static testsupport::TestDevice::Options options(std::vector<std::string> languages) {
        testsupport::TestDevice::Options o;
        o.settings.preferredLanguages = std::move(languages);
        return o;
    }

    ScopedTZ tz_;
    testsupport::TestDevice device_;
};

} // namespace texttest
