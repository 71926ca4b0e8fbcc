#pragma once
// A time zone as a value, named by its zone identifier ("Asia/Shanghai", "UTC") or by a
// fixed offset ("GMT+0800").
#include "platform/foundation/NSDate.h"

#include <optional>
#include <string>

class NSTimeZone {
public:
    // The machine's zone, read afresh each time: TZ when set, else the system's setting.
    static NSTimeZone localTimeZone();
    static NSTimeZone defaultTimeZone() { return localTimeZone(); }
    static NSTimeZone systemTimeZone() { return localTimeZone(); }
    // A fixed offset, named "GMT+0800" (seconds are kept: "GMT+08:00:30").
    static NSTimeZone timeZoneForSecondsFromGMT(int seconds);
    // Absent for a name the zone database does not know.
    static std::optional<NSTimeZone> timeZoneWithName(const std::string& name);

    const std::string& name() const { return name_; }
    // Offset from UTC now (on the device clock) and at `date`, daylight saving included.
    int secondsFromGMT() const;
    int secondsFromGMTForDate(NSDate date) const;

    bool operator==(const NSTimeZone& other) const = default;

private:
    explicit NSTimeZone(std::string name) : name_(std::move(name)) {}
    std::string name_;
};
