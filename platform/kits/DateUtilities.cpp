#include "platform/kits/DateUtilities.h"

#include "platform/foundation/NSCalendar.h"

namespace DateUtilities {

bool isSameDay(NSDate a, NSDate b) {
    const NSCalendar calendar = NSCalendar::currentCalendar();
    const unsigned units = NSCalendarUnitYear | NSCalendarUnitMonth | NSCalendarUnitDay;
    const NSDateComponents ca = calendar.components(units, a);
    const NSDateComponents cb = calendar.components(units, b);
    return ca.year == cb.year && ca.month == cb.month && ca.day == cb.day;
}

bool isDaysFromNow(NSDate date, int days) {
    // Plain 24-hour steps rather than calendar days: near midnight on a daylight-saving
    // change a step may land on a neighbouring day.
    return isSameDay(date, NSDate::date().dateByAddingTimeInterval(days * 86400.0));
}

} // namespace DateUtilities
