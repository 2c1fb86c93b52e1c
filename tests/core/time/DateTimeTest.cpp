#include "core/time/DateTime.h"

#include "support/Sjis.h"

#include <gtest/gtest.h>

#include <string>

namespace dolvane {
namespace {

using test::Utf8;

DateTimeParts Parts(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int ms = 0)
{
    return DateTimeParts{year, month, day, hour, minute, second, ms};
}

std::string Show(const DateTimeParts& p)
{
    return std::to_string(p.year) + "/" + std::to_string(p.month) + "/" + std::to_string(p.day) + " " +
           std::to_string(p.hour) + ":" + std::to_string(p.minute) + ":" + std::to_string(p.second) + "." +
           std::to_string(p.millisecond);
}

TEST(DateTimeEncode, KnownDayNumbersRoundTripAndMillisecondRounding)
{
    // Before day 0 the fraction still counts forward from midnight; 1900 is no leap year, 2000 is.
    const std::pair<DateTimeParts, double> cases[] = {{Parts(1899, 12, 30), 0.0},   {Parts(1899, 12, 29, 6), -1.25},
                                                      {Parts(1900, 3, 1), 61.0},    {Parts(2000, 3, 1), 36'586.0},
                                                      {Parts(1, 1, 1), -693'593.0}, {Parts(9999, 12, 31), 2'958'465.0}};
    for (const auto& [parts, days] : cases) {
        EXPECT_DOUBLE_EQ(EncodeDateTime(parts).days, days) << Show(parts);
        EXPECT_EQ(Show(DecodeDateTime(DateTime{days})), Show(parts));
    }
    const double ms = 1.0 / 86'400'000.0;
    EXPECT_EQ(Show(DecodeDateTime(DateTime{40'270.0 - ms})), Show(Parts(2010, 4, 1, 23, 59, 59, 999)));
    EXPECT_EQ(Show(DecodeDateTime(DateTime{40'270.0 - ms / 8})), Show(Parts(2010, 4, 2)));
    // The end of day -1 (1899-12-29) carries into day 0.
    EXPECT_EQ(Show(DecodeDateTime(DateTime{-2.0 + ms / 8})), Show(Parts(1899, 12, 30)));
}

TEST(DateTimeDayCounts, SundayIsOne)
{
    std::string days;
    for (const DateTimeParts& date : {Parts(1899, 12, 30), Parts(1899, 12, 29, 6), Parts(1899, 12, 23),
                                      Parts(2010, 4, 4), Parts(2010, 4, 10, 23, 59, 59, 999), Parts(1, 1, 1)}) {
        days += std::to_string(DayOfWeek(EncodeDateTime(date)));
    }
    EXPECT_EQ(days, "767172");
}

TEST(DateTimeCalendar, DaysInMonthAndValidDates)
{
    std::string lengths;
    for (int month = 0; month <= 13; ++month) {
        lengths += std::to_string(DaysInMonth(2011, month)) + " ";
    }
    EXPECT_EQ(lengths, "0 31 28 31 30 31 30 31 31 30 31 30 31 0 ");

    std::string valid;
    const int dates[][3] = {{2012, 2, 29}, {2011, 2, 29}, {1900, 2, 29}, {2000, 2, 29},  {2010, 4, 31},
                            {2010, 4, 0},  {1, 1, 1},     {0, 1, 1},     {9999, 12, 31}, {10000, 1, 1}};
    for (const auto& date : dates) {
        valid += IsValidDate(date[0], date[1], date[2]) ? '1' : '0';
    }
    EXPECT_EQ(valid, "1001001010");
}

// Which() and Text() are checked with every reader in the time texts' tests.
TEST(DateTimeConvertError, MessageNamesTheTextForEachKind)
{
    using Kind = ConvertError::Kind;
    EXPECT_EQ(Utf8(ConvertError(Kind::DateTime, "2010/02/30 10:00").Message()),
              "'2010/02/30 10:00' は日付または時刻ではありません");
    EXPECT_EQ(Utf8(ConvertError(Kind::Date, "2010/13/01").Message()), "'2010/13/01' は日付ではありません");
    EXPECT_EQ(ConvertError(Kind::Time, test::Sj("あした")).Message(), test::Sj("'あした' は時刻ではありません"));
}

}  // namespace
}  // namespace dolvane
