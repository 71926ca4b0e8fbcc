#pragma once
// A point in time: seconds since 1970-01-01 00:00:00 UTC.
#include <compare>

struct NSDate {
    double timeIntervalSince1970_ = 0;

    // Now on the device clock (the installed host's), or the system clock without a host.
    static NSDate date();
    static NSDate dateWithTimeIntervalSince1970(double seconds) { return NSDate{seconds}; }

    double timeIntervalSince1970() const { return timeIntervalSince1970_; }
    double timeIntervalSinceDate(const NSDate& other) const {
        return timeIntervalSince1970_ - other.timeIntervalSince1970_;
    }
    // Seconds from now to this date (negative for the past).
    double timeIntervalSinceNow() const { return timeIntervalSinceDate(date()); }
    NSDate dateByAddingTimeInterval(double seconds) const {
        return NSDate{timeIntervalSince1970_ + seconds};
    }

    auto operator<=>(const NSDate&) const = default;
};
