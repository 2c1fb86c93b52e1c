#include "core/time/TimeTexts.h"

#include "support/Sjis.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace dolvane {
namespace {

using test::Sj;
using test::Utf8;

constexpr std::int32_t kMin32 = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax32 = std::numeric_limits<std::int32_t>::max();

DateTime At(std::string_view text)
{
    return ParseDateTimeText(text);
}

DateTime Plus(DateTime moment, double seconds)
{
    return DateTime{moment.days + seconds / 86'400.0};
}

const DateTime kBase = At("2010/04/01 09:05");

// Each input's text, joined with " | ", so that a whole table is one comparison.
template <typename T, typename F> std::string Each(std::initializer_list<T> inputs, F text)
{
    std::string joined;
    for (const T& input : inputs) {
        joined += (&input == inputs.begin() ? "" : " | ") + Utf8(text(input));
    }
    return joined;
}

TEST(DurationText, ThresholdsAndForms)
{
    // -0.5 s is in the second before 09:05; 100 years saturates at the 32-bit limit.
    EXPECT_EQ(
        Each<double>({0, 59, 60, 3599, 3600, 86'399, 86'400, 86'401, 25 * 3600 + 59 * 60, 31'536'000, 31'536'001, -1,
                      -0.5, 100 * 31'536'000.0},
                     [](double s) { return DurationText(Plus(kBase, s), kBase); }),
        "00分 | 00分 | 01分 | 59分 | 01:00分 | 23:59分 | 24:00分 | 1日 | 1日1時間 | 365日 | 01年 | over | over | 68年");
}

TEST(WarningPeriodText, YearsDaysAndHoursJoinedWithTo)
{
    EXPECT_EQ(Each<std::int32_t>({0, -1, 5, 23, 24, 25, 168, 8759, 8760, 8761, 8784, 3 * 8760 + 25}, WarningPeriodText),
              " |  | 5時間 | 23時間 | 1日 | 1日と1時間 | 7日 | 364日と23時間 | 1年 | 1年と1時間 | 1年と1日 | "
              "3年と1日と1時間");
}

TEST(WarningStartMoment, UsesTheFixedHourUnit)
{
    const struct {
        std::int32_t hours;
        double daysBefore;
    } cases[] = {{0, 0.0}, {12, 0.500004}, {23, 0.958341}, {24, 1.0}, {25, 1.041667}, {48, 2.0}};
    const DateTime deadline = At("2010/04/01 18:30");
    for (const auto& c : cases) {
        EXPECT_NEAR(deadline.days - WarningStartMoment(deadline, c.hours).days, c.daysBefore, 1e-9) << c.hours;
    }
    EXPECT_EQ(WarningStartMoment(deadline, 48).days, deadline.days - 2.0);
}

TEST(ElapsedTimeText, WaitingUntilTheStartThenDuration)
{
    EXPECT_EQ(
        Each<double>({-1, -0.001, 0}, [](double s) { return ElapsedTimeText("2010/04/01 09:05", Plus(kBase, s)); }),
        "待機 | 待機 | 00分");
    EXPECT_EQ(ElapsedTimeText("", kBase), "");
}

TEST(RemainingTimeText, OverOnceTheDeadlineHasPassed)
{
    // 0.5 s past is still within the deadline's own second.
    EXPECT_EQ(
        Each<double>({1, 0, -1, 0.5}, [](double s) { return RemainingTimeText("2010/04/01 09:05", Plus(kBase, s)); }),
        "over | 00分 | 00分 | 00分");
    EXPECT_EQ(RemainingTimeText("", kBase), "");
    EXPECT_THROW(RemainingTimeText("2010/02/30 10:00", kBase), ConvertError);
}

TEST(DiffSeconds, WholeSecondsOfEachMomentSaturatedTo32Bits)
{
    const DateTime ten = At("2010/04/01 10:00");
    const struct {
        DateTime a;
        DateTime b;
        std::int32_t expected;
    } cases[] = {
        {At("2010/04/01 10:01"), ten, 60},      {ten, At("2010/04/01 10:01"), -60},     {Plus(ten, 59.9), ten, 59},
        {Plus(ten, 60), Plus(ten, 0.9), 60},  // each fraction dropped before subtracting
        {Plus(ten, kMax32 + 1.0), ten, kMax32}, {Plus(ten, kMin32 - 1.0), ten, kMin32},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DiffSeconds(c.a, c.b), c.expected) << c.expected;
    }
}

TEST(ElapsedRateText, TruncatedPercentageOfThePlannedTime)
{
    const DateTime start = At("2010/04/01 09:00");
    const double day = 86'400;
    const struct {
        double deadlineFromStart;
        double nowFromStart;
        const char* expected;
    } cases[] = {
        {25 * day, 10 * day, "40%"},
        {25 * day, -5 * day, "-20%"},
        {25 * day, 50 * day, "200%"},
        {3, -1, "-33%"},                      // toward zero, not -34
        {1000, 2'000'000'000, "200000000%"},  // elapsed x 100 does not fit in 32 bits
        {0, 10 * day, ""},
        {0.5, 10 * day, ""},  // the same second as the start
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ElapsedRateText(start, Plus(start, c.deadlineFromStart), Plus(start, c.nowFromStart)), c.expected)
            << c.deadlineFromStart << " / " << c.nowFromStart;
    }
}

TEST(DateTimeText, FormatGivesBackTheParsedText)
{
    for (const char* text : {"0001/01/01 00:00", "1899/12/29 06:00", "2012/02/29 23:59", "9999/12/31 23:59"}) {
        EXPECT_EQ(FormatDateTimeText(ParseDateTimeText(text)), text);
    }
    const DateTime moment = At("2012/02/29 23:59");
    EXPECT_EQ(FormatDateText(moment), "2012/02/29");
    EXPECT_EQ(FormatTimeText(moment), "23:59");
    EXPECT_EQ(ParseDateText("2012/02/29").days + ParseTimeText("23:59").days, moment.days);
    EXPECT_EQ(ParseTimeText("12:00").days, 0.5);
    // Seconds are dropped, never rounded up to the next minute.
    EXPECT_EQ(FormatDateTimeText(Plus(moment, 59.999)), "2012/02/29 23:59");
}

TEST(DateTimeText, ReadersRejectAnythingButTheirForm)
{
    using Kind = ConvertError::Kind;
    const struct {
        Kind kind;
        DateTime (*parse)(std::string_view);
        std::vector<std::string> texts;
    } groups[] = {
        {Kind::DateTime,
         ParseDateTimeText,
         {"", "2010/04/01 9:05", "2010/04/01 09:05 ", "2010/04/01 09:05:00", "2010/04/01", "2010/02/30 10:00",
          "2010/13/01 00:00", "0000/01/01 00:00", "2010/01/01 24:00", "2010/01/01 12:60", "2010/01/01 -1:00",
          "2010-01-01 10:00", "2010/01/01T10:00", "2010/01/01 10.00", Sj("２０/01/01 10:00")}},
        {Kind::Date, ParseDateText, {"", "2010/4/1", "2010/04/01 09:05", "2010/02/30", "2010-04-01"}},
        {Kind::Time, ParseTimeText, {"", "9:05", "24:00", "12:60", "12-00", "ab:cd"}},
    };
    for (const auto& group : groups) {
        for (const std::string& text : group.texts) {
            try {
                group.parse(text);
                ADD_FAILURE() << "accepted " << Utf8(text);
            } catch (const ConvertError& error) {
                EXPECT_EQ(error.Which(), group.kind) << Utf8(text);
                EXPECT_EQ(error.Text(), text);
            }
        }
    }
    EXPECT_NO_THROW(ParseDateTimeText("2012/02/29 00:00"));
}

TEST(WarningHoursOf, NonNumbersCountAsZero)
{
    EXPECT_EQ(Each<const char*>({"", "12x", " 24", "1.5", "-5", "24"},
                                [](const char* text) { return std::to_string(WarningHoursOf(text)); }),
              "0 | 0 | 0 | 0 | -5 | 24");
}

}  // namespace
}  // namespace dolvane
