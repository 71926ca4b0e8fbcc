#include "app/text/MyDateFormatter.h"

#include "platform/foundation/Json.h"
#include "platform/foundation/StringsFile.h"
#include "tests/app/text/PinnedClock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using texttest::localDate;
using texttest::PinnedDevice;

struct Relative {
    NSDate date;
    std::string text;
};

class RelativeDate : public testing::Test {
protected:
    void SetUp() override { pinned.freezeAt(localDate(2026, 5, 10, 15, 0)); }
    PinnedDevice pinned{"Asia/Shanghai", {"en"}};
};

TEST_F(RelativeDate, TextsAroundNow) {
    const Relative cases[] = {
        {localDate(2026, 5, 10, 14, 59, 30), "30秒钟前"},
        {localDate(2026, 5, 10, 14, 59, 59.5), "0秒钟前"},
        {localDate(2026, 5, 10, 14, 59, 0), "1分钟前"},
        {localDate(2026, 5, 10, 14, 0, 1), "59分钟前"},
        {localDate(2026, 5, 10, 14, 0, 0), "1小时前"},
        {localDate(2026, 5, 10, 10, 0, 1), "4小时前"},
        {localDate(2026, 5, 10, 10, 0, 0), "Today10:00"},
        {localDate(2026, 5, 10, 0, 0, 0), "Today00:00"},
        {localDate(2026, 5, 10, 15, 0, 0), "Today15:00"},
        {localDate(2026, 5, 10, 16, 30), "Today16:30"},
        {localDate(2026, 5, 10, 19, 30), "This evening19:30"},
        {localDate(2026, 5, 9, 23, 59, 59), "Last night23:59"},
        {localDate(2026, 5, 9, 20, 15), "Last night20:15"},
        {localDate(2026, 5, 9, 10, 15), "Yesterday10:15"},
        {localDate(2026, 5, 11, 18, 0), "Tomorrow evening18:00"},
        {localDate(2026, 5, 11, 17, 59), "Tomorrow17:59"},
        {localDate(2026, 5, 12, 23, 0), "Day after tomorrow23:00"},
        {localDate(2026, 5, 13, 0, 0), "5月13日 00:00"},
        {localDate(2026, 5, 8, 23, 59), "5月8日 23:59"},
        {localDate(2026, 5, 8, 8, 5), "5月8日 08:05"},
        {localDate(2026, 4, 1, 8, 5), "4月1日 08:05"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MyDateFormatter::lastUpdateTimeStringForDateWithPastHHMM(c.date), c.text);
        EXPECT_EQ(MyDateFormatter::simleStringForDate(c.date), c.text);
    }
}

TEST_F(RelativeDate, WithoutTimeOnlyFarDaysLoseTheirTime) {
    const Relative cases[] = {
        {localDate(2026, 4, 1, 8, 5), "4月1日"},
        {localDate(2026, 5, 13, 9, 0), "5月13日"},
        {localDate(2026, 5, 9, 10, 15), "Yesterday10:15"},
        {localDate(2026, 5, 10, 14, 59, 0), "1分钟前"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MyDateFormatter::lastUpdateTimeStringForDate(c.date), c.text);
    }
}

TEST_F(RelativeDate, SetsTheLocalZoneOnTheFormatterItIsSent) {
    NSDateFormatter formatter;
    formatter.setTimeZone(NSTimeZone::timeZoneForSecondsFromGMT(0));
    EXPECT_EQ(MyDateFormatter::simpleTextForDate(formatter, localDate(2026, 5, 9, 10, 15), true),
              "Yesterday10:15");
    EXPECT_EQ(formatter.timeZone(), NSTimeZone::localTimeZone());
}

TEST(RelativeDateTranslated, KeysComeFromTheStringTable) {
    PinnedDevice pinned("Asia/Shanghai", {"zh-Hans"});
    pinned.freezeAt(localDate(2026, 5, 10, 15, 0));
    const Relative cases[] = {
        {localDate(2026, 5, 9, 21, 40), "昨晚21:40"},
        {localDate(2026, 5, 12, 9, 0), "后天09:00"},
        {localDate(2026, 5, 10, 14, 57, 0), "3分钟前"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MyDateFormatter::lastUpdateTimeStringForDateWithPastHHMM(c.date), c.text);
    }
}

TEST(DateTextKeys, EveryLanguageTableHoldsThem) {
    testsupport::TestDevice dev;
    const char* keys[] = {"Today",
                          "This evening",
                          "Yesterday",
                          "Last night",
                          "Tomorrow",
                          "Tomorrow evening",
                          "Day after tomorrow",
                          "year",
                          "month",
                          "day"};
    for (const char* language : {"en", "zh-Hans", "zh-Hant"}) {
        const auto bytes = dev.readFile(std::string("/Applications/Chimora.app/") + language +
                                        ".lproj/Localizable.strings");
        ASSERT_TRUE(bytes) << language;
        const auto table = StringsFile::parse(*bytes);
        EXPECT_TRUE(table.complete) << language;
        for (const char* key : keys) {
            EXPECT_TRUE(table.entries.count(key)) << language << ": " << key;
        }
    }
}

TEST(MmSs, WholeSecondsTruncated) {
    const struct {
        double seconds;
        const char* text;
    } cases[] = {{125.7, "02:05"}, {3600, "60:00"}, {59.9, "00:59"},
                 {0, "00:00"},     {60, "01:00"},   {6039, "100:39"}};
    for (const auto& c : cases) {
        EXPECT_EQ(MyDateFormatter::mmssFromSeconds(c.seconds), c.text) << c.seconds;
    }
}

class Patterns : public testing::Test {
protected:
    texttest::ScopedTZ tz{"Asia/Shanghai"};
    // Sunday 10 May 2026, 09:05:07 in UTC+8 (01:05:07 UTC).
    NSDate date = NSDate::dateWithTimeIntervalSince1970(1778375107);
};

TEST_F(Patterns, FixedPatternsInTheLocalZone) {
    testsupport::TestDevice dev;
    // Whatever zone the shared formatter was left in, each call sets the local one.
    MyDateFormatter::getDateFormatter()->setTimeZone(NSTimeZone::timeZoneForSecondsFromGMT(0));
    EXPECT_EQ(MyDateFormatter::standardyyyyMMddHHmmssFormatedString(date), "2026-05-10 09:05:07");
    EXPECT_EQ(MyDateFormatter::standardyyyyMMddHHmmFormatedString(date), "2026-05-10 09:05");
    EXPECT_EQ(MyDateFormatter::standardyyyyMMddFormatedString(date), "2026-05-10");
    EXPECT_EQ(MyDateFormatter::standardYMDFormatedStringLeadigZero(date), "2026-05-10");
    EXPECT_EQ(MyDateFormatter::journalReleasedDate(date), "2026-05");
    EXPECT_EQ(MyDateFormatter::weekDay(date), "Sun");
    EXPECT_EQ(MyDateFormatter::standardyyyyMMddFormatedString(std::nullopt), std::nullopt);
    EXPECT_EQ(MyDateFormatter::getDateFormatter(), MyDateFormatter::getDateFormatter());
}

TEST_F(Patterns, DatePiecesComeFromTheStringTable) {
    const struct {
        const char* language;
        const char* monthDay;
        const char* yearMonthDay;
    } cases[] = {
        {"en", "5-10", "2026-5-10"},
        {"zh-Hans", "5月10日", "2026年5月10日"},
        {"zh-Hant", "5月10日", "2026年5月10日"},
    };
    for (const auto& c : cases) {
        testsupport::TestDevice::Options options;
        options.settings.preferredLanguages = {c.language};
        testsupport::TestDevice dev(options);
        EXPECT_EQ(MyDateFormatter::standardMDFormatedStringCN(date), c.monthDay) << c.language;
        EXPECT_EQ(MyDateFormatter::standardYMDFormatedStringLeadigZeroCN(date), c.yearMonthDay)
            << c.language;
    }
}

TEST_F(Patterns, ParsesOnlyTheFullPattern) {
    testsupport::TestDevice dev;
    // Leaves the shared formatter in the local zone, which parsing relies on.
    MyDateFormatter::standardyyyyMMddFormatedString(date);
    EXPECT_EQ(MyDateFormatter::dateFromyyyyMMddHHmmssStr(std::string("2026-05-10 09:05:07")), date);
    EXPECT_EQ(MyDateFormatter::dateFromyyyyMMddHHmmssStr(Json::string("2026-05-10 09:05:07")),
              date);
    for (const char* text : {"2026-05-10", "2026-05-10 09:05", "10/05/2026 09:05:07", ""}) {
        EXPECT_EQ(MyDateFormatter::dateFromyyyyMMddHHmmssStr(std::string(text)), std::nullopt)
            << text;
    }
    EXPECT_EQ(MyDateFormatter::dateFromyyyyMMddHHmmssStr(Json::number(1778375107.0)), std::nullopt);
}

} // namespace
