#include "platform/foundation/NSTimeZone.h"

#include <unicode/timezone.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

std::string idOf(const icu::TimeZone& zone) {
    icu::UnicodeString id;
    zone.getID(id);
    std::string out;
    id.toUTF8String(out);
    return out;
}

bool isUnknown(const icu::TimeZone& zone) {
    return idOf(zone) == idOf(icu::TimeZone::getUnknown());
}

} // namespace

NSTimeZone NSTimeZone::localTimeZone() {
    if (const char* tz = std::getenv("TZ"); tz && *tz) {
        std::string name = tz[0] == ':' ? tz + 1 : tz;
        if (auto zone = timeZoneWithName(name)) {
            return *zone;
        }
    }
    std::unique_ptr<icu::TimeZone> host(icu::TimeZone::detectHostTimeZone());
    if (!host || isUnknown(*host)) {
        return NSTimeZone("UTC");
    }
    return NSTimeZone(idOf(*host));
}

NSTimeZone NSTimeZone::timeZoneForSecondsFromGMT(int seconds) {
    const char sign = seconds < 0 ? '-' : '+';
    const int magnitude = seconds < 0 ? -seconds : seconds;
    char name[32];
    if (magnitude % 60 != 0) {
        std::snprintf(name, sizeof name, "GMT%c%02d:%02d:%02d", sign, magnitude / 3600,
                      magnitude / 60 % 60, magnitude % 60);
    } else {
        std::snprintf(name, sizeof name, "GMT%c%02d%02d", sign, magnitude / 3600,
                      magnitude / 60 % 60);
    }
    return NSTimeZone(name);
}

std::optional<NSTimeZone> NSTimeZone::timeZoneWithName(const std::string& name) {
    if (name.empty()) {
        return std::nullopt;
    }
    std::unique_ptr<icu::TimeZone> zone(
        icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(name)));
    if (!zone || isUnknown(*zone)) {
        return std::nullopt;
    }
    return NSTimeZone(name);
}

int NSTimeZone::secondsFromGMT() const {
    return secondsFromGMTForDate(NSDate::date());
}

int NSTimeZone::secondsFromGMTForDate(NSDate date) const {
    std::unique_ptr<icu::TimeZone> zone(
        icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(name_)));
    int32_t raw = 0;
    int32_t dst = 0;
    UErrorCode status = U_ZERO_ERROR;
    zone->getOffset(date.timeIntervalSince1970() * 1000.0, false, raw, dst, status);
    if (U_FAILURE(status)) {
        return 0;
    }
    return (raw + dst) / 1000;
}
