#include "app/text/MyDate.h"

#include "tests/app/text/PinnedClock.h"

#include <gtest/gtest.h>

namespace {

using texttest::localDate;

class LocalDay : public testing::Test {
protected:
    texttest::ScopedTZ tz{"Asia/Shanghai"};
    testsupport::TestDevice dev;
};

TEST_F(LocalDay, StartOfDayInUtcPlusEight) {
    // 10 May 03:00 local is 9 May 19:00 UTC: the UTC day would be the wrong one.
    const NSDate date = localDate(2026, 5, 10, 3, 0, 0.25);
    const NSDate start = MyDate::startDateOfTheDayinLocalTimezone(date);
    EXPECT_EQ(start, localDate(2026, 5, 10, 0, 0, 0.25));
    EXPECT_EQ(MyDate::midDayOftheDayInLocalTimezone(date), localDate(2026, 5, 10, 12, 0, 0.25));
    EXPECT_EQ(MyDate::endDateOfTheDayinLocalTimezone(date), localDate(2026, 5, 10, 23, 59, 59.25));
    EXPECT_EQ(MyDate::someDayOftheDyaInLocalTimezone(date, 3600),
              localDate(2026, 5, 10, 1, 0, 0.25));
    EXPECT_EQ(MyDate::startDateOfTheDayinLocalTimezone(localDate(2026, 5, 10, 0, 0)),
              localDate(2026, 5, 10, 0, 0));
}

TEST_F(LocalDay, SameDayAndMonthFollowTheLocalCalendar) {
    const NSDate a = localDate(2026, 5, 10, 0, 30); // 9 May in UTC
    const struct {
        NSDate other;
        bool sameDay;
        bool sameMonth;
    } cases[] = {
        {localDate(2026, 5, 10, 23, 59), true, true},
        {localDate(2026, 5, 9, 23, 59), false, true},
        {localDate(2026, 4, 10, 0, 30), false, false},
        {localDate(2025, 5, 10, 0, 30), false, false},
        {localDate(2026, 5, 31, 12, 0), false, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MyDate::isSameDayWith(a, c.other), c.sameDay) << c.other.timeIntervalSince1970();
        EXPECT_EQ(MyDate::isSameMonth(a, c.other), c.sameMonth) << c.other.timeIntervalSince1970();
    }
}

TEST_F(LocalDay, CeilingDays) {
    const NSDate d = localDate(2026, 5, 10, 15, 0);
    EXPECT_EQ(MyDate::ceilingDaysSinceStartingOfDate(d, d), 1);
    EXPECT_EQ(MyDate::ceilingDaysSinceStartingOfDate(d, localDate(2026, 5, 9, 23, 0)), 2);
    EXPECT_EQ(MyDate::ceilingDaysSinceStartingOfDate(localDate(2026, 5, 10, 0, 0),
                                                     localDate(2026, 5, 3, 23, 59)),
              8);
}

TEST_F(LocalDay, RecentDaysIncludeBothEnds) {
    const NSDate d = localDate(2026, 5, 10, 15, 0);
    const NSDate start = localDate(2026, 5, 10, 0, 0);
    const struct {
        NSDate date;
        int days;
        bool inside;
    } cases[] = {
        {start, 1, true},
        {start.dateByAddingTimeInterval(86400), 1, true},
        {start.dateByAddingTimeInterval(86400.5), 1, false},
        {start.dateByAddingTimeInterval(-0.5), 1, false},
        {start.dateByAddingTimeInterval(-86400), 2, true},
        {start.dateByAddingTimeInterval(-86401), 2, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MyDate::isInRecentDaysBefore(c.date, d, c.days), c.inside)
            << c.date.timeIntervalSince1970() << " n=" << c.days;
    }
}

TEST_F(LocalDay, EveningFromSixLocal) {
    EXPECT_FALSE(MyDate::isEvening(localDate(2026, 5, 10, 17, 59, 59)));
    EXPECT_TRUE(MyDate::isEvening(localDate(2026, 5, 10, 18, 0)));
    EXPECT_TRUE(MyDate::isEvening(localDate(2026, 5, 10, 23, 59)));
    EXPECT_FALSE(MyDate::isEvening(localDate(2026, 5, 10, 0, 0)));
}

} // namespace
