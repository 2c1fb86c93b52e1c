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

testing::AssertionResult IsText(const std::string& actual, std::string_view expectedUtf8)
{
    if (actual == Sj(expectedUtf8)) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << "got \"" << Utf8(actual) << "\", want \"" << expectedUtf8 << "\"";
}

const DateTime kBase = At("2010/04/01 09:05");

TEST(DurationText, ThresholdsAndForms)
{
    struct Case {
        double seconds;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {0, "00分"},
        {59, "00分"},
        {60, "01分"},
        {300, "05分"},
        {3599, "59分"},
        {3600, "01:00分"},
        {86'399, "23:59分"},
        {86'400, "24:00分"},
        {86'401, "1日"},
        {25 * 3600 + 59 * 60, "1日1時間"},
        {2 * 86'400, "2日"},
        {2 * 86'400 + 5 * 3600 + 3599, "2日5時間"},
        {31'536'000, "365日"},
        {31'536'001, "01年"},
        {400 * 86'400, "01年"},
        {10 * 31'536'000.0 + 1, "10年"},
        {-1, "over"},
        {-0.5, "over"},  // 09:04:59.5 is in the second before 09:05
        {-400 * 86'400, "over"},
        {100 * 31'536'000.0, "68年"},  // saturated at the 32-bit limit
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seconds);
        EXPECT_TRUE(IsText(DurationText(Plus(kBase, c.seconds), kBase), c.expected));
    }
}

TEST(WarningPeriodText, YearsDaysAndHoursJoinedWithTo)
{
    struct Case {
        std::int32_t hours;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {0, ""},
        {-1, ""},
        {kMin32, ""},
        {1, "1時間"},
        {5, "5時間"},
        {23, "23時間"},
        {24, "1日"},
        {25, "1日と1時間"},
        {168, "7日"},
        {8759, "364日と23時間"},
        {8760, "1年"},
        {8761, "1年と1時間"},
        {8784, "1年と1日"},
        {3 * 8760 + 25, "3年と1日と1時間"},
        {kMax32, "245146年と195日と7時間"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hours);
        EXPECT_TRUE(IsText(WarningPeriodText(c.hours), c.expected));
    }
}

TEST(WarningStartMoment, UsesTheFixedHourUnit)
{
    struct Case {
        std::int32_t hours;
        double daysBefore;
    };
    const std::vector<Case> cases = {
        {0, 0.0},  {-5, 0.0},      {1, 0.041667}, {12, 0.500004}, {23, 0.958341},
        {24, 1.0}, {25, 1.041667}, {48, 2.0},     {8760, 365.0},
    };
    const DateTime deadline = At("2010/04/01 18:30");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hours);
        EXPECT_NEAR(deadline.days - WarningStartMoment(deadline, c.hours).days, c.daysBefore, 1e-9);
    }
    EXPECT_EQ(WarningStartMoment(deadline, 48).days, deadline.days - 2.0);
}

TEST(ElapsedTimeText, WaitingUntilTheStartThenDuration)
{
    struct Case {
        double nowFromStart;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {-59, "待機"}, {-1, "待機"}, {-0.001, "待機"}, {0, "00分"}, {59.9, "00分"}, {3600, "01:00分"}, {86'401, "1日"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nowFromStart);
        EXPECT_TRUE(IsText(ElapsedTimeText("2010/04/01 09:05", Plus(kBase, c.nowFromStart)), c.expected));
    }
    EXPECT_EQ(ElapsedTimeText("", kBase), "");
}

TEST(RemainingTimeText, OverOnceTheDeadlineHasPassed)
{
    struct Case {
        double nowFromDeadline;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {1, "over"},        {0, "00分"},          {-1, "00分"},
        {-3600, "01:00分"}, {-2 * 86'400, "2日"}, {0.5, "00分"},  // still within the deadline's own second
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nowFromDeadline);
        EXPECT_TRUE(IsText(RemainingTimeText("2010/04/01 09:05", Plus(kBase, c.nowFromDeadline)), c.expected));
    }
    EXPECT_EQ(RemainingTimeText("", kBase), "");
    EXPECT_THROW(RemainingTimeText("2010/02/30 10:00", kBase), ConvertError);
}

TEST(DiffSeconds, WholeSecondsOfEachMomentSaturatedTo32Bits)
{
    const DateTime ten = At("2010/04/01 10:00");
    struct Case {
        DateTime a;
        DateTime b;
        std::int32_t expected;
    };
    const std::vector<Case> cases = {
        {At("2010/04/01 10:01"), ten, 60},
        {ten, At("2010/04/01 10:01"), -60},
        {Plus(ten, 59.9), ten, 59},
        {Plus(ten, 60), Plus(ten, 0.9), 60},  // each fraction dropped before subtracting
        {At("2012/03/01 00:00"), At("2012/02/28 00:00"), 2 * 86'400},
        {At("2011/01/01 00:00"), At("2010/12/31 23:59"), 60},
        {Plus(ten, kMax32), ten, kMax32},
        {Plus(ten, kMax32 + 1.0), ten, kMax32},
        {Plus(ten, kMin32), ten, kMin32},
        {Plus(ten, kMin32 - 1.0), ten, kMin32},
        // 100 years is beyond 2^31 but not 2^32 seconds: a wrapping cast would flip the sign.
        {At("2070/01/01 00:00"), At("1970/01/01 00:00"), kMax32},
        {At("1970/01/01 00:00"), At("2070/01/01 00:00"), kMin32},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(DiffSeconds(cases[i].a, cases[i].b), cases[i].expected);
    }
}

TEST(ElapsedRateText, TruncatedPercentageOfThePlannedTime)
{
    const DateTime start = At("2010/04/01 09:00");
    const double day = 86'400;
    struct Case {
        double deadlineFromStart;
        double nowFromStart;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {25 * day, 10 * day, "40%"},
        {25 * day, -5 * day, "-20%"},
        {25 * day, 50 * day, "200%"},
        {25 * day, 0, "0%"},
        {25 * day, 25 * day, "100%"},
        {3, 1, "33%"},
        {3, 2, "66%"},
        {3, -1, "-33%"},  // toward zero, not -34
        {3, -2, "-66%"},
        {-10 * day, 5 * day, "-50%"},
        {1000, 2'000'000'000, "200000000%"},  // elapsed x 100 does not fit in 32 bits
        {0, 10 * day, ""},
        {0.5, 10 * day, ""},  // the same second as the start
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.deadlineFromStart << " / " << c.nowFromStart);
        EXPECT_EQ(ElapsedRateText(start, Plus(start, c.deadlineFromStart), Plus(start, c.nowFromStart)), c.expected);
    }
}

TEST(DateTimeText, FormatGivesBackTheParsedText)
{
    for (const char* text : {"0001/01/01 00:00", "1899/12/29 06:00", "1899/12/30 00:00", "1970/01/01 00:00",
                             "2010/04/01 09:05", "2012/02/29 23:59", "2000/02/29 12:34", "9999/12/31 23:59"}) {
        EXPECT_EQ(FormatDateTimeText(ParseDateTimeText(text)), text);
    }
    const DateTime moment = At("2012/02/29 23:59");
    EXPECT_EQ(FormatDateText(moment), "2012/02/29");
    EXPECT_EQ(FormatTimeText(moment), "23:59");
    EXPECT_EQ(ParseDateText("2012/02/29").days + ParseTimeText("23:59").days, moment.days);
    EXPECT_EQ(ParseTimeText("00:00").days, 0.0);
    EXPECT_EQ(ParseTimeText("12:00").days, 0.5);
    // Seconds are dropped, never rounded up to the next minute.
    EXPECT_EQ(FormatDateTimeText(Plus(moment, 59.999)), "2012/02/29 23:59");
}

TEST(DateTimeText, ReadersRejectAnythingButTheirForm)
{
    using Kind = ConvertError::Kind;
    struct Group {
        Kind kind;
        std::vector<std::string> texts;
    };
    const std::vector<Group> groups = {
        {Kind::DateTime,
         {"",
          "2010/04/01 9:05",
          "2010/04/01 09:05 ",
          "2010/04/01 09:05:00",
          "2010/04/01",
          "2010/02/30 10:00",
          "2011/02/29 10:00",
          "2010/13/01 00:00",
          "2010/00/01 00:00",
          "2010/01/00 00:00",
          "0000/01/01 00:00",
          "2010/01/01 24:00",
          "2010/01/01 12:60",
          "2010/01/01 -1:00",
          "2010-01-01 10:00",
          "2010/01/01T10:00",
          "2010/01/01 10.00",
          "abcd/ef/gh ij:kl",
          "                ",
          " 2010/1/01 10:00",
          Sj("２０/01/01 10:00")}},
        {Kind::Date,
         {"", "2010/4/1", "2010/04/01 ", "2010/04/01 09:05", "2010/02/30", "2011/02/29", "2010/13/01", "2010-04-01",
          "abcdefghij", "          "}},
        {Kind::Time, {"", "9:05", "09:05 ", "24:00", "12:60", "12-00", "ab:cd", "     ", "2010/04/01"}},
    };
    for (const Group& group : groups) {
        for (const std::string& text : group.texts) {
            SCOPED_TRACE(Utf8(text));
            try {
                switch (group.kind) {
                case Kind::DateTime:
                    ParseDateTimeText(text);
                    break;
                case Kind::Date:
                    ParseDateText(text);
                    break;
                case Kind::Time:
                    ParseTimeText(text);
                    break;
                }
                ADD_FAILURE() << "accepted";
            } catch (const ConvertError& error) {
                EXPECT_EQ(error.Which(), group.kind);
                EXPECT_EQ(error.Text(), text);
            }
        }
    }
    EXPECT_NO_THROW(ParseDateTimeText("2012/02/29 00:00"));
    EXPECT_NO_THROW(ParseDateText("2012/02/29"));
}

TEST(WarningHoursOf, NonNumbersCountAsZero)
{
    struct Case {
        const char* text;
        std::int32_t expected;
    };
    const std::vector<Case> cases = {
        {"", 0}, {"abc", 0}, {"12x", 0}, {" 24", 0}, {"1.5", 0}, {"-5", -5}, {"0", 0}, {"24", 24}, {"8760", 8760},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(WarningHoursOf(c.text), c.expected);
    }
}

}  // namespace
}  // namespace dolvane
