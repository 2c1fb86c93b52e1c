#include "core/time/DateTime.h"

#include "support/Sjis.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <utility>

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
    const struct {
        DateTimeParts parts;
        double days;
    } cases[] = {
        {Parts(1899, 12, 30), 0.0},      {Parts(1899, 12, 31, 6), 1.25},     {Parts(1899, 12, 29), -1.0},
        {Parts(1899, 12, 29, 6), -1.25},  // before day 0 the fraction still counts forward from midnight
        {Parts(1900, 3, 1), 61.0},        // 1900 is not a leap year
        {Parts(1970, 1, 1), 25'569.0},   {Parts(2000, 3, 1), 36'586.0},  // 2000 is
        {Parts(1, 1, 1), -693'593.0},    {Parts(9999, 12, 31), 2'958'465.0},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(EncodeDateTime(c.parts).days, c.days) << Show(c.parts);
        EXPECT_EQ(Show(DecodeDateTime(DateTime{c.days})), Show(c.parts));
    }
}

// Minutes built by adding hour and minute fractions, as arithmetic on moments does, must not
// come back a millisecond short (09:04:59.999 for 09:05).
TEST(DateTimeEncode, EveryMinuteDecodesToItselfWithoutMillisecondLoss)
{
    for (const DateTimeParts date : {Parts(2010, 4, 1), Parts(1850, 6, 15), Parts(9999, 12, 31)}) {
        const double day = EncodeDateTime(date).days;
        for (int minuteOfDay = 0; minuteOfDay < 1440; ++minuteOfDay) {
            DateTimeParts expected = date;
            expected.hour = minuteOfDay / 60;
            expected.minute = minuteOfDay % 60;
            const double fraction = expected.hour / 24.0 + expected.minute / 1440.0;
            const DateTimeParts fromSum = DecodeDateTime(DateTime{day >= 0 ? day + fraction : day - fraction});
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
    const double halfMs = 0.0005 / 86'400.0;
    const struct {
        double days;
        DateTimeParts expected;
    } cases[] = {
        {40'269.0 + 1.0 / 86'400'000.0, Parts(2010, 4, 1, 0, 0, 0, 1)},
        {40'270.0 - 1.0 / 86'400'000.0, Parts(2010, 4, 1, 23, 59, 59, 999)},
        {40'270.0 - halfMs / 4, Parts(2010, 4, 2)},
        {-1.0 - (1.0 - halfMs / 4), Parts(1899, 12, 30)},  // the end of day -1 (1899-12-29)
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Show(DecodeDateTime(DateTime{c.days})), Show(c.expected)) << c.days;
    }
}

TEST(DateTimeUnixSeconds, CountsFromTheEpochDroppingTheFraction)
{
    EXPECT_EQ(UnixSecondsOf(DateTime{25'569.0}), 0);
    EXPECT_EQ(UnixSecondsOf(DateTime{25'569.0 + 1.9 / 86'400}), 1);
    EXPECT_EQ(UnixSecondsOf(EncodeDateTime(Parts(2010, 4, 1, 9, 5))), 1'270'112'700);
    EXPECT_EQ(UnixSecondsOf(DateTime{25'568.0}), -86'400);
}

TEST(DateTimeDayOfWeek, SundayIsOneSaturdayIsSeven)
{
    std::string days;
    for (const DateTimeParts& date :
         {Parts(1899, 12, 30), Parts(1899, 12, 30, 23, 59), Parts(1899, 12, 31), Parts(1899, 12, 29, 6),
          Parts(1899, 12, 23), Parts(2010, 4, 4), Parts(2010, 4, 10, 23, 59, 59, 999), Parts(1, 1, 1)}) {
        days += std::to_string(DayOfWeek(EncodeDateTime(date)));
    }
    EXPECT_EQ(days, "77167172");
}

TEST(DateTimeCalendar, DaysInMonthAndValidDates)
{
    std::string lengths;
    for (const auto& [year, month] : {std::pair{2011, 0},
                                      {2011, 1},
                                      {2011, 2},
                                      {2011, 3},
                                      {2011, 4},
                                      {2011, 5},
                                      {2011, 6},
                                      {2011, 7},
                                      {2011, 8},
                                      {2011, 9},
                                      {2011, 10},
                                      {2011, 11},
                                      {2011, 12},
                                      {2011, 13},
                                      {2012, 2},
                                      {1900, 2},
                                      {2000, 2}}) {
        lengths += std::to_string(DaysInMonth(year, month)) + " ";
    }
    EXPECT_EQ(lengths, "0 31 28 31 30 31 30 31 31 30 31 30 31 0 29 28 29 ");

    std::string valid;
    for (const auto& [year, month, day] : {std::tuple{2012, 2, 29},
                                           {2011, 2, 29},
                                           {2010, 4, 30},
                                           {2010, 4, 31},
                                           {2010, 4, 0},
                                           {2010, 0, 10},
                                           {2010, 13, 1},
                                           {1, 1, 1},
                                           {0, 1, 1},
                                           {9999, 12, 31},
                                           {10000, 1, 1}}) {
        valid += IsValidDate(year, month, day) ? '1' : '0';
    }
    EXPECT_EQ(valid, "10100001010");
}

TEST(DateTimeConvertError, MessageNamesTheTextForEachKind)
{
    const struct {
        ConvertError::Kind kind;
        std::string text;
        std::string expectedUtf8;
    } cases[] = {
        {ConvertError::Kind::DateTime, "2010/02/30 10:00", "'2010/02/30 10:00' は日付または時刻ではありません"},
        {ConvertError::Kind::Date, "2010/13/01", "'2010/13/01' は日付ではありません"},
        {ConvertError::Kind::Time, Sj("あした"), "'あした' は時刻ではありません"},
    };
    for (const auto& c : cases) {
        const ConvertError error(c.kind, c.text);
        EXPECT_EQ(error.Which(), c.kind);
        EXPECT_EQ(error.Text(), c.text);
        EXPECT_EQ(error.Message(), Sj(c.expectedUtf8)) << Utf8(error.Message());
    }
}

}  // namespace
}  // namespace dolvane
