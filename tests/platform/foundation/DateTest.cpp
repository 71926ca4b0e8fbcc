#include "FakeDeviceHost.h"

#include "platform/foundation/NSCalendar.h"
#include "platform/foundation/NSDateFormatter.h"
#include "platform/foundation/NSTimeZone.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// 2026-05-10 07:00:00 UTC, a Sunday: 15:00 in Shanghai.
constexpr double kTenMay = 1778396400;

NSTimeZone zone(const char* name) {
    auto z = NSTimeZone::timeZoneWithName(name);
    EXPECT_TRUE(z) << name;
    return z.value_or(NSTimeZone::timeZoneForSecondsFromGMT(0));
}

// Sets TZ for one test and puts the previous value back.
class ScopedTZ {
public:
    explicit ScopedTZ(const char* value) {
        if (const char* old = std::getenv("TZ")) {
            old_ = old;
        }
        setenv("TZ", value, 1);
    }
    ~ScopedTZ() {
        if (old_) {
            setenv("TZ", old_->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
    }

private:
    std::optional<std::string> old_;
};

TEST(NSDateFormatter, FormatsPatternsInAPinnedZone) {
    struct Case {
        const char* zone;
        const char* pattern;
        const char* text;
    };
    const Case cases[] = {
        {"Asia/Shanghai", "yyyy-MM-dd HH:mm", "2026-05-10 15:00"},
        {"Asia/Shanghai", "MM-dd", "05-10"},
        {"Asia/Shanghai", "HH:mm", "15:00"},
        {"Asia/Shanghai", "yyyy-MM-dd HH:mm:ss", "2026-05-10 15:00:00"},
        {"Asia/Shanghai", "M月d日 HH:mm", "5月10日 15:00"},
        {"Asia/Shanghai", "eee", "Sun"},
        {"Asia/Shanghai", "yyyy-MM", "2026-05"},
        {"UTC", "yyyy-MM-dd HH:mm", "2026-05-10 07:00"},
        {"UTC", "MM-dd", "05-10"},
        {"UTC", "HH:mm", "07:00"},
        {"America/Los_Angeles", "yyyy-MM-dd HH:mm", "2026-05-10 00:00"},
    };
    NSDateFormatter formatter;
    for (const auto& c : cases) {
        formatter.setTimeZone(zone(c.zone));
        formatter.setDateFormat(c.pattern);
        EXPECT_EQ(formatter.stringFromDate(NSDate::dateWithTimeIntervalSince1970(kTenMay)), c.text)
            << c.zone << " " << c.pattern;
    }
    formatter.setDateFormat("");
    EXPECT_EQ(formatter.stringFromDate(NSDate{kTenMay}), "");
}

TEST(NSDateFormatter, ParsesWhatItFormats) {
    NSDateFormatter formatter;
    formatter.setTimeZone(zone("Asia/Shanghai"));
    formatter.setDateFormat("yyyy-MM-dd HH:mm:ss");
    auto date = formatter.dateFromString("2026-05-10 15:00:00");
    ASSERT_TRUE(date);
    EXPECT_EQ(date->timeIntervalSince1970(), kTenMay);
    EXPECT_EQ(formatter.stringFromDate(*date), "2026-05-10 15:00:00");

    formatter.setTimeZone(zone("UTC"));
    EXPECT_EQ(formatter.dateFromString("2026-05-10 15:00:00")->timeIntervalSince1970(),
              kTenMay + 8 * 3600);
}

TEST(NSDateFormatter, TextThatDoesNotMatchGivesNoDate) {
    NSDateFormatter formatter;
    formatter.setTimeZone(zone("UTC"));
    formatter.setDateFormat("yyyy-MM-dd HH:mm:ss");
    for (const char* text : {"", "yesterday", "2026-05-10", "2026-05-10 15:00:00 extra",
                             "2026-13-10 15:00:00", "2026-05-32 15:00:00", "2026/05/10 15:00:00"}) {
        EXPECT_FALSE(formatter.dateFromString(text)) << text;
    }
}

TEST(NSTimeZone, OffsetsFollowTheZoneAndTheDate) {
    const NSDate winter{1768478400}; // 2026-01-15 12:00 UTC
    const NSDate summer{1782907200}; // 2026-07-01 12:00 UTC
    EXPECT_EQ(zone("Asia/Shanghai").secondsFromGMTForDate(winter), 8 * 3600);
    EXPECT_EQ(zone("UTC").secondsFromGMTForDate(summer), 0);
    EXPECT_EQ(zone("Europe/Berlin").secondsFromGMTForDate(winter), 3600);
    EXPECT_EQ(zone("Europe/Berlin").secondsFromGMTForDate(summer), 7200);
    auto fixed = NSTimeZone::timeZoneForSecondsFromGMT(-(5 * 3600 + 30 * 60));
    EXPECT_EQ(fixed.name(), "GMT-0530");
    EXPECT_EQ(fixed.secondsFromGMTForDate(summer), -(5 * 3600 + 30 * 60));
    EXPECT_FALSE(NSTimeZone::timeZoneWithName("Mars/Olympus"));
    EXPECT_FALSE(NSTimeZone::timeZoneWithName(""));
}

TEST(NSTimeZone, LocalZoneFollowsTZ) {
    {
        ScopedTZ tz("Asia/Shanghai");
        EXPECT_EQ(NSTimeZone::localTimeZone().name(), "Asia/Shanghai");
        EXPECT_EQ(NSTimeZone::localTimeZone().secondsFromGMT(), 8 * 3600);
    }
    {
        ScopedTZ tz("UTC");
        EXPECT_EQ(NSTimeZone::localTimeZone().secondsFromGMT(), 0);
        NSDateFormatter formatter; // takes the local zone
        formatter.setDateFormat("HH:mm");
        EXPECT_EQ(formatter.stringFromDate(NSDate{kTenMay}), "07:00");
    }
}

TEST(NSCalendar, ComponentsInTheCalendarsZone) {
    ScopedTZ tz("Asia/Shanghai");
    NSCalendar calendar = NSCalendar::currentCalendar();
    EXPECT_EQ(calendar.timeZone().name(), "Asia/Shanghai");
    // 2026-05-10 23:30 UTC is already the 11th in Shanghai.
    const NSDate late{kTenMay + 16.5 * 3600};
    auto c = calendar.components(
        NSYearCalendarUnit | NSMonthCalendarUnit | NSDayCalendarUnit | NSHourCalendarUnit, late);
    EXPECT_EQ(c.year, 2026);
    EXPECT_EQ(c.month, 5);
    EXPECT_EQ(c.day, 11);
    EXPECT_EQ(c.hour, 7);
    EXPECT_EQ(c.minute, 30);

    calendar.setTimeZone(zone("UTC"));
    c = calendar.components(late);
    EXPECT_EQ(c.day, 10);
    EXPECT_EQ(c.hour, 23);
    EXPECT_EQ(calendar.components(NSDate{kTenMay}).weekday, 1); // Sunday

    auto back = calendar.dateFromComponents({.year = 2026, .month = 5, .day = 10, .hour = 7});
    ASSERT_TRUE(back);
    EXPECT_EQ(back->timeIntervalSince1970(), kTenMay);
}

TEST(NSDate, NowComesFromTheDeviceClockWhenThereIsOne) {
    foundation_test::ScopedFakeHost host;
    host->setNow(kTenMay);
    EXPECT_EQ(NSDate::date().timeIntervalSince1970(), kTenMay);
    const NSDate later = NSDate::date().dateByAddingTimeInterval(90);
    EXPECT_EQ(later.timeIntervalSinceDate(NSDate::dateWithTimeIntervalSince1970(kTenMay)), 90);
    EXPECT_LT(NSDate::date(), later);
}

} // namespace
