#pragma once
// Day arithmetic on dates in the local time zone. The receiver comes first.
#include "platform/foundation/NSDate.h"

namespace MyDate {

bool isSameDayWith(NSDate self, NSDate other);
bool isSameMonth(NSDate self, NSDate other);

// Local midnight at or before `self`, keeping its fraction of a second. The local clock
// time is counted as an unsigned 32-bit number of seconds: 1970 to early 2106 only.
NSDate startDateOfTheDayinLocalTimezone(NSDate self);
NSDate midDayOftheDayInLocalTimezone(NSDate self);
NSDate someDayOftheDyaInLocalTimezone(NSDate self, int seconds);
NSDate endDateOfTheDayinLocalTimezone(NSDate self);

// From the start of the day n − 1 days before `date`'s day to the start of the day after
// it, both ends included.
bool isInRecentDaysBefore(NSDate self, NSDate date, int numberOfDays);
int ceilingDaysSinceStartingOfDate(NSDate self, NSDate date);
// 18:00 onwards.
bool isEvening(NSDate self);

} // namespace MyDate
