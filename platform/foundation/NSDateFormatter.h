#pragma once
// Formats and parses dates with a UTS #35 pattern ("yyyy-MM-dd HH:mm", "M月d日", "eee").
// Differs from the device: the locale is fixed (en_US_POSIX), so the output does not vary
// with the machine's language; parsing is strict and must consume the whole text.
#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSTimeZone.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>

class NSDateFormatter {
public:
    // Empty pattern, the local time zone of the moment.
    NSDateFormatter();
    ~NSDateFormatter();
    NSDateFormatter(const NSDateFormatter&) = delete;
    NSDateFormatter& operator=(const NSDateFormatter&) = delete;

    const std::string& dateFormat() const { return format_; }
    void setDateFormat(std::string pattern);
    const NSTimeZone& timeZone() const { return timeZone_; }
    void setTimeZone(NSTimeZone zone);

    // Empty for an empty pattern.
    std::string stringFromDate(NSDate date) const;
    // Absent when the text does not match the pattern as a whole.
    std::optional<NSDate> dateFromString(const std::string& text) const;

private:
    struct Impl;
    Impl& impl() const; // built from pattern and zone when either changed

    std::string format_;
    NSTimeZone timeZone_;
    mutable std::mutex mutex_;
    mutable std::unique_ptr<Impl> impl_;
};
