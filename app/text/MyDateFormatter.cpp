#include "app/text/MyDateFormatter.h"

#include "app/text/MyDate.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSTimeZone.h"
#include "platform/kits/DateUtilities.h"

#include <cstdio>
#include <mutex>

namespace {

std::string localized(const std::string& key) {
    return NSBundle::mainBundle()->localizedStringForKey(key, "", "");
}

std::string format(const char* pattern, int value) {
    char text[32];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

// The shared formatter in the local time zone with `pattern`, applied to `date`.
std::string sharedFormat(const std::string& pattern, NSDate date) {
    auto formatter = MyDateFormatter::getDateFormatter();
    MyDateFormatter::setLocaleTimeZone(*formatter);
    formatter->setDateFormat(pattern);
    return formatter->stringFromDate(date);
}

} // namespace

namespace MyDateFormatter {

std::shared_ptr<NSDateFormatter> getDateFormatter() {
    static std::once_flag once;
    static std::shared_ptr<NSDateFormatter> SDateFormatter;
    std::call_once(once, [] { SDateFormatter = std::make_shared<NSDateFormatter>(); });
    return SDateFormatter;
}

void setLocaleTimeZone(NSDateFormatter& self) {
    self.setTimeZone(NSTimeZone::localTimeZone());
}

std::string simpleTextForDate(NSDateFormatter& self, NSDate date, bool needTime) {
    setLocaleTimeZone(self);
    auto withTime = [&](const std::string& key) {
        self.setDateFormat("HH:mm");
        return localized(key) + self.stringFromDate(date);
    };
    const bool evening = MyDate::isEvening(date);
    if (DateUtilities::isToday(date)) {
        const double delta = date.timeIntervalSinceNow();
        if (delta > -18000 && delta < 0) {
            if (delta <= -3600) {
                return format("%d小时前", static_cast<int>(-delta / 3600));
            }
            if (delta <= -60) {
                return format("%d分钟前", static_cast<int>(-delta / 60));
            }
            return format("%d秒钟前", static_cast<int>(-delta));
        }
        return withTime(evening ? "This evening" : "Today");
    }
    if (DateUtilities::isYesterday(date)) {
        return withTime(evening ? "Last night" : "Yesterday");
    }
    if (DateUtilities::isTomorrow(date)) {
        return withTime(evening ? "Tomorrow evening" : "Tomorrow");
    }
    if (DateUtilities::isDayAfterTomorrow(date)) {
        return withTime("Day after tomorrow");
    }
    self.setDateFormat(needTime ? "M月d日 HH:mm" : "M月d日");
    return self.stringFromDate(date);
}

std::string simleStringForDate(NSDate date) {
    auto formatter = getDateFormatter();
    setLocaleTimeZone(*formatter);
    return simpleTextForDate(*formatter, date, true);
}

std::string lastUpdateTimeStringForDateWithPastHHMM(NSDate date) {
    return simleStringForDate(date);
}

std::string lastUpdateTimeStringForDate(NSDate date) {
    auto formatter = getDateFormatter();
    setLocaleTimeZone(*formatter);
    return simpleTextForDate(*formatter, date, false);
}

std::optional<std::string> standardyyyyMMddFormatedString(std::optional<NSDate> date) {
    if (!date) {
        return std::nullopt;
    }
    return sharedFormat("yyyy-MM-dd", *date);
}

std::string standardyyyyMMddHHmmFormatedString(NSDate date) {
    return sharedFormat("yyyy-MM-dd HH:mm", date);
}

std::string standardyyyyMMddHHmmssFormatedString(NSDate date) {
    return sharedFormat("yyyy-MM-dd HH:mm:ss", date);
}

std::string standardYMDFormatedStringLeadigZero(NSDate date) {
    return sharedFormat("yyyy-MM-dd", date);
}

std::string standardMDFormatedStringCN(NSDate date) {
    // The pieces go in unquoted: a translation must not hold pattern letters.
    return sharedFormat("M" + localized("month") + "d" + localized("day"), date);
}

std::string standardYMDFormatedStringLeadigZeroCN(NSDate date) {
    return sharedFormat(
        "yyyy" + localized("year") + "M" + localized("month") + "d" + localized("day"), date);
}

std::string mmssFromSeconds(double seconds) {
    // Out of range saturates, as the device's conversion does; NaN is 0.
    int s = 0;
    if (seconds >= 2147483647.0) {
        s = 2147483647;
    } else if (seconds <= -2147483648.0) {
        s = -2147483647 - 1;
    } else if (seconds == seconds) {
        s = static_cast<int>(seconds);
    }
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d", s / 60, s % 60);
    return text;
}

std::string journalReleasedDate(NSDate date) {
    return sharedFormat("yyyy-MM", date);
}

std::string weekDay(NSDate date) {
    return sharedFormat("eee", date);
}

std::optional<NSDate> dateFromyyyyMMddHHmmssStr(const std::string& text) {
    auto formatter = getDateFormatter();
    // The zone is whatever the last call left, which is always the local one.
    formatter->setDateFormat("yyyy-MM-dd HH:mm:ss");
    return formatter->dateFromString(text);
}

std::optional<NSDate> dateFromyyyyMMddHHmmssStr(const Json& object) {
    if (auto text = object.asString()) {
        return dateFromyyyyMMddHHmmssStr(*text);
    }
    return std::nullopt;
}

} // namespace MyDateFormatter
