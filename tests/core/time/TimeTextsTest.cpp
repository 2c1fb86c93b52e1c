#include "core/time/TimeTexts.h"

#include "support/Sjis.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace dolvane {
namespace {

using test::Sj;
using test::Utf8;

DateTime Plus(DateTime moment, double seconds)
{
    return DateTime{moment.days + seconds / 86'400.0};
}

const DateTime kBase = ParseDateTimeText("2010/04/01 09:05");

// Each input's text, joined with " | ", so that a whole table is one comparison.
template <typename T, typename F> std::string Each(std::initializer_list<T> inputs, F text)
{
    std::string joined;
    for (const T& input : inputs) {
        joined += (&input == inputs.begin() ? "" : " | ") + Utf8(text(input));
    }
    return joined;
}

TEST(DurationText, ThresholdsFormsAndTheWholeSecondDifference)
{
    // -0.5 s is in the second before 09:05; 100 years saturates at the 32-bit limit.
    EXPECT_EQ(
        Each<double>({0, 59, 60, 3599, 3600, 86'399, 86'400, 86'401, 25 * 3600 + 59 * 60, 31'536'000, 31'536'001, -1,
                      -0.5, 100 * 31'536'000.0},
                     [](double s) { return DurationText(Plus(kBase, s), kBase); }),
        "00分 | 00分 | 01分 | 59分 | 01:00分 | 23:59分 | 24:00分 | 1日 | 1日1時間 | 365日 | 01年 | over | over | 68年");

    // The difference underneath saturates at the other end too.
    const std::int32_t lowest = std::numeric_limits<std::int32_t>::min();
    EXPECT_EQ(DiffSeconds(Plus(kBase, lowest - 1.0), kBase), lowest);
}

TEST(WarningPeriodText, YearsDaysAndHoursJoinedWithTo)
{
    EXPECT_EQ(Each<std::int32_t>({0, -1, 5, 23, 24, 25, 168, 8759, 8760, 8761, 8784, 3 * 8760 + 25}, WarningPeriodText),
              " |  | 5時間 | 23時間 | 1日 | 1日と1時間 | 7日 | 364日と23時間 | 1年 | 1年と1時間 | 1年と1日 | "
              "3年と1日と1時間");
}

TEST(WarningStartMoment, UsesTheFixedHourUnitOfTheHoursRead)
{
    const DateTime deadline = ParseDateTimeText("2010/04/01 18:30");
    for (const auto& [hours, daysBefore] : {std::pair{0, 0.0}, {23, 0.958341}, {24, 1.0}, {25, 1.041667}}) {
        EXPECT_NEAR(deadline.days - WarningStartMoment(deadline, hours).days, daysBefore, 1e-9) << hours;
    }
    EXPECT_EQ(WarningStartMoment(deadline, 48).days, deadline.days - 2.0) << "whole days come off exactly";
    EXPECT_EQ(Each<const char*>({"", "12x", " 24", "-5", "24"},
                                [](const char* text) { return std::to_string(WarningHoursOf(text)); }),
              "0 | 0 | 0 | -5 | 24")
        << "hours that are no number count as zero";
}

TEST(ElapsedAndRemainingTimeText, WaitingUntilTheStartOverAfterTheDeadline)
{
    EXPECT_EQ(
        Each<double>({-1, -0.001, 0}, [](double s) { return ElapsedTimeText("2010/04/01 09:05", Plus(kBase, s)); }),
        "待機 | 待機 | 00分");
    EXPECT_EQ(ElapsedTimeText("", kBase), "");

    // 0.5 s past is still within the deadline's own second.
    EXPECT_EQ(
        Each<double>({1, 0, -1, 0.5}, [](double s) { return RemainingTimeText("2010/04/01 09:05", Plus(kBase, s)); }),
        "over | 00分 | 00分 | 00分");
    EXPECT_EQ(RemainingTimeText("", kBase), "");
    EXPECT_THROW(RemainingTimeText("2010/02/30 10:00", kBase), ConvertError);
}

TEST(ElapsedRateText, TruncatedPercentageOfThePlannedTime)
{
    const auto rate = [](double deadline, double now) {
        return ElapsedRateText(kBase, Plus(kBase, deadline), Plus(kBase, now));
    };
    const double day = 86'400;
    EXPECT_EQ(rate(25 * day, 10 * day), "40%");
    EXPECT_EQ(rate(3, -1), "-33%") << "toward zero, not -34";
    EXPECT_EQ(rate(1000, 2'000'000'000), "200000000%") << "elapsed x 100 does not fit in 32 bits";
    EXPECT_EQ(rate(0.5, 10 * day), "") << "a deadline in the same second as the start";
}

TEST(DateTimeText, FormatGivesBackTheParsedTextAndReadersRejectOtherForms)
{
    EXPECT_EQ(FormatDateTimeText(ParseDateTimeText("1899/12/29 06:00")), "1899/12/29 06:00");
    const DateTime moment = ParseDateTimeText("2012/02/29 23:59");
    EXPECT_EQ(FormatDateText(moment), "2012/02/29");
    EXPECT_EQ(FormatTimeText(moment), "23:59");
    EXPECT_EQ(ParseDateText("2012/02/29").days + ParseTimeText("23:59").days, moment.days);
    EXPECT_EQ(FormatDateTimeText(Plus(moment, 59.999)), "2012/02/29 23:59") << "seconds are dropped, never rounded";

    using Kind = ConvertError::Kind;
    const auto rejects = [](DateTime (*parse)(std::string_view), Kind kind, const std::string& text) {
        try {
            parse(text);
        } catch (const ConvertError& error) {
            return error.Which() == kind && error.Text() == text;
        }
        return false;
    };
    for (const char* text : {"", "2010/04/01 9:05", "2010/02/30 10:00", "2010/01/01 24:00", "2010/01/01 12:60",
                             "2010/01/01 -1:00", "2010-01-01 10:00", "2010/01/01T10:00", "2010/01/01 10.00"}) {
        EXPECT_TRUE(rejects(ParseDateTimeText, Kind::DateTime, text)) << text;
    }
    EXPECT_TRUE(rejects(ParseDateTimeText, Kind::DateTime, Sj("２０/01/01 10:00"))) << "full-width digits";
    for (const char* text : {"2010/4/1", "2010/02/30", "2010-04-01", "2010/04-01"}) {
        EXPECT_TRUE(rejects(ParseDateText, Kind::Date, text)) << text;
    }
    for (const char* text : {"9:05", "24:00", "12:60", "12-00", "ab:cd"}) {
        EXPECT_TRUE(rejects(ParseTimeText, Kind::Time, text)) << text;
    }
}

// Reading keeps the last moments it read: texts read in any order, again and again, each give
// their own moment, and a bad text after good ones is still refused.
TEST(DateTimeText, ReadingTheSameTextsAgainGivesTheirOwnMoments)
{
    const std::string texts[] = {"2010/04/01 09:05", "2010/04/01 09:06", "1999/12/31 23:59", "2010/04/01 09:05",
                                 "0001/01/01 00:00", "2010/04/01 09:06", "2010/04/01 09:06", "9999/12/31 23:59"};
    for (int round = 0; round < 3; ++round) {
        for (const auto& text : texts) {
            EXPECT_EQ(FormatDateTimeText(ParseDateTimeText(text)), text) << text;
        }
        EXPECT_THROW(ParseDateTimeText("2010/02/30 09:05"), ConvertError);
        EXPECT_THROW(ParseDateTimeText(std::string(16, '\0')), ConvertError) << "what an empty slot holds";
    }
}

// Four digits hold years 1 to 9999: a moment beyond them has no date text rather than a wrapped
// year ("0000/01/01"), while its time of day still formats.
TEST(DateTimeText, DatesExistOnlyInYearsOneTo9999)
{
    const DateTime first{static_cast<double>(kFirstDayNumber)};
    const DateTime last{static_cast<double>(kLastDayNumber)};
    EXPECT_EQ(Each({first, Plus(last, 86'399), DateTime{first.days - 1}, Plus(last, 86'400), DateTime{1e7}},
                   [](DateTime moment) { return FormatDateTimeText(moment); }),
              "0001/01/01 00:00 | 9999/12/31 23:59 |  |  | ");
    EXPECT_EQ(FormatDateText(Plus(last, 86'400)), "");
    EXPECT_EQ(FormatTimeText(Plus(last, 86'400 + 3'600)), "01:00");
}

}  // namespace
}  // namespace dolvane
