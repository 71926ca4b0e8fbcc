#include "app/text/MyDate.h"

#include "platform/foundation/NSCalendar.h"
#include "platform/foundation/NSTimeZone.h"

#include <cmath>
#include <cstdint>

namespace {

NSDateComponents localComponents(NSDate date) {
    NSCalendar calendar = NSCalendar::currentCalendar();
    calendar.setTimeZone(NSTimeZone::localTimeZone());
    return calendar.components(
        NSCalendarUnitYear | NSCalendarUnitMonth | NSCalendarUnitDay | NSCalendarUnitHour, date);
}

} // namespace

namespace MyDate {

bool isSameDayWith(NSDate self, NSDate other) {
    const auto a = localComponents(self);
    const auto b = localComponents(other);
    return a.day == b.day && a.month == b.month && a.year == b.year;
}

bool isSameMonth(NSDate self, NSDate other) {
    const auto a = localComponents(self);
    const auto b = localComponents(other);
    return a.month == b.month && a.year == b.year;
}

NSDate startDateOfTheDayinLocalTimezone(NSDate self) {
    const double t = self.timeIntervalSince1970();
    // The offset of the zone now, not at `self`: the day's start is that of today's rules.
    const double local = t + NSTimeZone::localTimeZone().secondsFromGMT();
    const auto wholeSeconds = static_cast<uint32_t>(static_cast<int64_t>(local));
    const uint32_t sinceMidnight = wholeSeconds % 86400;
    return NSDate::dateWithTimeIntervalSince1970(t - sinceMidnight);
}

NSDate midDayOftheDayInLocalTimezone(NSDate self) {
    return startDateOfTheDayinLocalTimezone(self).dateByAddingTimeInterval(43200);
}

NSDate someDayOftheDyaInLocalTimezone(NSDate self, int seconds) {
    return startDateOfTheDayinLocalTimezone(self).dateByAddingTimeInterval(seconds);
}

NSDate endDateOfTheDayinLocalTimezone(NSDate self) {
    return startDateOfTheDayinLocalTimezone(self).dateByAddingTimeInterval(86399);
}

bool isInRecentDaysBefore(NSDate self, NSDate date, int numberOfDays) {
    const NSDate start = startDateOfTheDayinLocalTimezone(date);
    const NSDate earliest = start.dateByAddingTimeInterval(-(numberOfDays * 86400.0 - 86400.0));
    const NSDate latest = start.dateByAddingTimeInterval(86400);
    return earliest <= self && self <= latest;
}

int ceilingDaysSinceStartingOfDate(NSDate self, NSDate date) {
    const double seconds = endDateOfTheDayinLocalTimezone(self).timeIntervalSinceDate(
        startDateOfTheDayinLocalTimezone(date));
    return static_cast<int>(std::ceil(seconds / 86400.0));
}

bool isEvening(NSDate self) {
    return NSCalendar::currentCalendar().components(NSCalendarUnitHour, self).hour > 17;
}

} // namespace MyDate
