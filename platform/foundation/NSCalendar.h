#pragma once
// The Gregorian calendar in a time zone: splits a date into its fields and back.
#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSTimeZone.h"

#include <optional>

enum NSCalendarUnit : unsigned {
    NSCalendarUnitYear = 1u << 2,
    NSCalendarUnitMonth = 1u << 3,
    NSCalendarUnitDay = 1u << 4,
    NSCalendarUnitHour = 1u << 5,
    NSCalendarUnitMinute = 1u << 6,
    NSCalendarUnitSecond = 1u << 7,
    NSCalendarUnitWeekday = 1u << 9,
    // The older names of the same units.
    NSYearCalendarUnit = NSCalendarUnitYear,
    NSMonthCalendarUnit = NSCalendarUnitMonth,
    NSDayCalendarUnit = NSCalendarUnitDay,
    NSHourCalendarUnit = NSCalendarUnitHour,
    NSMinuteCalendarUnit = NSCalendarUnitMinute,
    NSSecondCalendarUnit = NSCalendarUnitSecond,
    NSWeekdayCalendarUnit = NSCalendarUnitWeekday,
};

struct NSDateComponents {
    int year = 0;
    int month = 0; // 1-12
    int day = 0;   // 1-31
    int hour = 0;  // 0-23
    int minute = 0;
    int second = 0;
    int weekday = 0; // 1 Sunday ... 7 Saturday
};

class NSCalendar {
public:
    // Gregorian, in the local time zone of the moment it is asked for.
    static NSCalendar currentCalendar();

    const NSTimeZone& timeZone() const { return timeZone_; }
    void setTimeZone(NSTimeZone zone) { timeZone_ = std::move(zone); }

    // The fields of `date` in this calendar's zone. Every field is filled whatever `units`
    // asks for.
    NSDateComponents components(unsigned units, NSDate date) const;
    NSDateComponents components(NSDate date) const { return components(~0u, date); }
    // The date of the given fields (year, month, day, hour, minute, second) in this zone;
    // fields out of range carry over (month 13 is January of the next year).
    std::optional<NSDate> dateFromComponents(const NSDateComponents& components) const;

private:
    explicit NSCalendar(NSTimeZone zone) : timeZone_(std::move(zone)) {}
    NSTimeZone timeZone_;
};
