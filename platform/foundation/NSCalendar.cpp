#include "platform/foundation/NSCalendar.h"

#include <unicode/gregocal.h>
#include <unicode/timezone.h>

#include <memory>

namespace {

std::unique_ptr<icu::Calendar> makeCalendar(const NSTimeZone& zone) {
    UErrorCode status = U_ZERO_ERROR;
    auto calendar = std::make_unique<icu::GregorianCalendar>(
        icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(zone.name())),
        icu::Locale("en_US_POSIX"), status);
    if (U_FAILURE(status)) {
        return nullptr;
    }
    return calendar;
}

} // namespace

NSCalendar NSCalendar::currentCalendar() {
    return NSCalendar(NSTimeZone::localTimeZone());
}

NSDateComponents NSCalendar::components(unsigned, NSDate date) const {
    NSDateComponents out;
    auto calendar = makeCalendar(timeZone_);
    if (!calendar) {
        return out;
    }
    UErrorCode status = U_ZERO_ERROR;
    calendar->setTime(date.timeIntervalSince1970() * 1000.0, status);
    auto field = [&](UCalendarDateFields f) { return calendar->get(f, status); };
    out.year = field(UCAL_EXTENDED_YEAR);
    out.month = field(UCAL_MONTH) + 1;
    out.day = field(UCAL_DATE);
    out.hour = field(UCAL_HOUR_OF_DAY);
    out.minute = field(UCAL_MINUTE);
    out.second = field(UCAL_SECOND);
    out.weekday = field(UCAL_DAY_OF_WEEK);
    if (U_FAILURE(status)) {
        return NSDateComponents{};
    }
    return out;
}

std::optional<NSDate> NSCalendar::dateFromComponents(const NSDateComponents& c) const {
    auto calendar = makeCalendar(timeZone_);
    if (!calendar) {
        return std::nullopt;
    }
    calendar->clear();
    calendar->set(UCAL_EXTENDED_YEAR, c.year);
    calendar->set(UCAL_MONTH, c.month - 1);
    calendar->set(UCAL_DATE, c.day);
    calendar->set(UCAL_HOUR_OF_DAY, c.hour);
    calendar->set(UCAL_MINUTE, c.minute);
    calendar->set(UCAL_SECOND, c.second);
    UErrorCode status = U_ZERO_ERROR;
    const UDate ms = calendar->getTime(status);
    if (U_FAILURE(status)) {
        return std::nullopt;
    }
    return NSDate{ms / 1000.0};
}
