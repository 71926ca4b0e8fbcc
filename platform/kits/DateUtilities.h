#pragma once
// Calendar-day questions about a date, asked against the device clock in the current
// calendar (the local time zone): is it today, yesterday, tomorrow, the day after tomorrow?
#include "platform/foundation/NSDate.h"

namespace DateUtilities {

// Same year, month and day in the current calendar.
bool isSameDay(NSDate a, NSDate b);
// The calendar day of now + `days` × 86400 s holds `date`.
bool isDaysFromNow(NSDate date, int days);

inline bool isToday(NSDate date) {
    return isDaysFromNow(date, 0);
}
inline bool isYesterday(NSDate date) {
    return isDaysFromNow(date, -1);
}
inline bool isTomorrow(NSDate date) {
    return isDaysFromNow(date, 1);
}
inline bool isDayAfterTomorrow(NSDate date) {
    return isDaysFromNow(date, 2);
}

} // namespace DateUtilities
