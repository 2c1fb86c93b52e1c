#include "core/time/DateTime.h"

#include "support/Sjis.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace dolvane {
namespace {

using test::Sj;
using test::Utf8;

DateTimeParts Parts(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int ms = 0)
{
    return DateTimeParts{year, month, day, hour, minute, second, ms};
}

std::string Show(const DateTimeParts& p)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d.%03d", p.year, p.month, p.day, p.hour, p.minute,
                  p.second, p.millisecond);
    return buffer;
}

TEST(DateTimeEncode, KnownDayNumbersAndRoundTrip)
{
    struct Case {
        DateTimeParts parts;
        double days;
    };
    const std::vector<Case> cases = {
        {Parts(1899, 12, 30), 0.0},
        {Parts(1899, 12, 30, 12), 0.5},
        {Parts(1899, 12, 31, 6), 1.25},
        {Parts(1899, 12, 29), -1.0},
        // Before day 0 the fraction still counts forward from midnight.
        {Parts(1899, 12, 29, 6), -1.25},
        {Parts(1899, 12, 28, 18), -2.75},
        {Parts(1900, 2, 28), 60.0},
        {Parts(1900, 3, 1), 61.0},  // 1900 is not a leap year
        {Parts(1970, 1, 1), 25'569.0},
        {Parts(2000, 2, 29), 36'585.0},
        {Parts(2000, 3, 1), 36'586.0},
        {Parts(2012, 2, 29, 18), 40'968.75},
        {Parts(1, 1, 1), -693'593.0},
        {Parts(9999, 12, 31), 2'958'465.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Show(c.parts));
        EXPECT_DOUBLE_EQ(EncodeDateTime(c.parts).days, c.days);
        EXPECT_EQ(Show(DecodeDateTime(DateTime{c.days})), Show(c.parts));
    }
}

TEST(DateTimeEncode, EveryMinuteDecodesToItselfWithoutMillisecondLoss)
{
    // Built both through EncodeDateTime and by adding hour and minute fractions, as arithmetic on
    // moments does; neither may come back a millisecond short (09:04:59.999 for 09:05).
    for (const DateTimeParts date : {Parts(2010, 4, 1), Parts(1899, 12, 30), Parts(1850, 6, 15), Parts(9999, 12, 31)}) {
        const double day = EncodeDateTime(date).days;
        for (int minuteOfDay = 0; minuteOfDay < 1440; ++minuteOfDay) {
            DateTimeParts expected = date;
            expected.hour = minuteOfDay / 60;
            expected.minute = minuteOfDay % 60;
            const double fraction = expected.hour / 24.0 + expected.minute / 1440.0;
            const DateTime summed{day >= 0 ? day + fraction : day - fraction};
            const DateTimeParts fromSum = DecodeDateTime(summed);
            const DateTimeParts fromParts = DecodeDateTime(EncodeDateTime(expected));
            if (fromSum != expected || fromParts != expected) {
                ADD_FAILURE() << "want " << Show(expected) << ", summed " << Show(fromSum) << ", encoded "
                              << Show(fromParts);
                return;
            }
        }
    }
}

TEST(DateTimeDecode, RoundsToMillisecondsAndCarriesIntoTheNextDay)
{
    struct Case {
        double days;
        DateTimeParts expected;
    };
    const double halfMs = 0.0005 / 86'400.0;
    const std::vector<Case> cases = {
        {40'269.0 + 1.0 / 86'400'000.0, Parts(2010, 4, 1, 0, 0, 0, 1)},
        {40'270.0 - 1.0 / 86'400'000.0, Parts(2010, 4, 1, 23, 59, 59, 999)},
        {40'270.0 - halfMs / 4, Parts(2010, 4, 2)},
        {1.0 - halfMs / 4, Parts(1899, 12, 31)},
        // Day -1 is 1899-12-29; a moment a hair before its end rounds to 1899-12-30 00:00.
        {-1.0 - (1.0 - halfMs / 4), Parts(1899, 12, 30)},
        {-2.0 - (1.0 - halfMs / 4), Parts(1899, 12, 29)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.days);
        EXPECT_EQ(Show(DecodeDateTime(DateTime{c.days})), Show(c.expected));
    }
}

TEST(DateTimeUnixSeconds, CountsFromTheEpochDroppingTheFraction)
{
    EXPECT_EQ(UnixSecondsOf(DateTime{25'569.0}), 0);
    EXPECT_EQ(UnixSecondsOf(DateTime{25'569.5}), 43'200);
    EXPECT_EQ(UnixSecondsOf(DateTime{25'569.0 + 1.9 / 86'400}), 1);
    EXPECT_EQ(UnixSecondsOf(EncodeDateTime(Parts(2010, 4, 1, 9, 5))), 1'270'112'700);
    EXPECT_EQ(UnixSecondsOf(DateTime{25'568.0}), -86'400);
}

TEST(DateTimeDayOfWeek, SundayIsOneSaturdayIsSeven)
{
    struct Case {
        DateTimeParts date;
        int expected;
    };
    const std::vector<Case> cases = {
        {Parts(1899, 12, 30), 7},   {Parts(1899, 12, 30, 23, 59), 7},
        {Parts(1899, 12, 31), 1},   {Parts(1899, 12, 29, 6), 6},
        {Parts(1899, 12, 23), 7},   {Parts(1970, 1, 1), 5},
        {Parts(2000, 2, 29), 3},    {Parts(2010, 4, 4), 1},
        {Parts(2010, 4, 5, 12), 2}, {Parts(2010, 4, 10, 23, 59, 59, 999), 7},
        {Parts(1, 1, 1), 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Show(c.date));
        EXPECT_EQ(DayOfWeek(EncodeDateTime(c.date)), c.expected);
    }
}

TEST(DateTimeCalendar, DaysInMonthAndValidDates)
{
    struct Case {
        int year;
        int month;
        int daysInMonth;
    };
    const std::vector<Case> months = {
        {2011, 2, 28}, {2012, 2, 29}, {1900, 2, 28},  {2000, 2, 29},  {2010, 1, 31}, {2010, 4, 30},
        {2010, 6, 30}, {2010, 9, 30}, {2010, 11, 30}, {2010, 12, 31}, {2010, 0, 0},  {2010, 13, 0},
    };
    for (const Case& c : months) {
        SCOPED_TRACE(testing::Message() << c.year << "/" << c.month);
        EXPECT_EQ(DaysInMonth(c.year, c.month), c.daysInMonth);
    }

    struct DateCase {
        int year;
        int month;
        int day;
        bool valid;
    };
    const std::vector<DateCase> dates = {
        {2012, 2, 29, true},  {2011, 2, 29, false}, {1900, 2, 29, false}, {2000, 2, 29, true},   {2010, 4, 30, true},
        {2010, 4, 31, false}, {2010, 4, 0, false},  {2010, 0, 10, false}, {2010, 13, 1, false},  {1, 1, 1, true},
        {0, 1, 1, false},     {9999, 12, 31, true}, {10000, 1, 1, false}, {2010, 12, 32, false}, {-1, 1, 1, false},
    };
    for (const DateCase& c : dates) {
        SCOPED_TRACE(testing::Message() << c.year << "/" << c.month << "/" << c.day);
        EXPECT_EQ(IsValidDate(c.year, c.month, c.day), c.valid);
    }
}

TEST(DateTimeConvertError, MessageNamesTheTextForEachKind)
{
    struct Case {
        ConvertError::Kind kind;
        std::string text;
        std::string expectedUtf8;
    };
    const std::vector<Case> cases = {
        {ConvertError::Kind::DateTime, "2010/02/30 10:00", "'2010/02/30 10:00' は日付または時刻ではありません"},
        {ConvertError::Kind::Date, "2010/13/01", "'2010/13/01' は日付ではありません"},
        {ConvertError::Kind::Time, "24:00", "'24:00' は時刻ではありません"},
        {ConvertError::Kind::Date, "", "'' は日付ではありません"},
        {ConvertError::Kind::Time, Sj("あした"), "'あした' は時刻ではありません"},
    };
    for (const Case& c : cases) {
        const ConvertError error(c.kind, c.text);
        EXPECT_EQ(error.Which(), c.kind);
        EXPECT_EQ(error.Text(), c.text);
        const std::string message = error.Message();
        EXPECT_EQ(message, Sj(c.expectedUtf8)) << Utf8(message);
    }
}

}  // namespace
}  // namespace dolvane
