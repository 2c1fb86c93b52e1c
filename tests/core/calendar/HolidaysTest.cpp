#include "core/calendar/Holidays.h"

#include "support/Sjis.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dolvane {
namespace {

using test::Sj;

// The rule file shipped as the sample, one entry per line as the settings load hands them over.
std::vector<std::string> SampleLines(const std::vector<std::string>& extra = {})
{
    std::vector<std::string> lines;
    for (const char* line : {"01/01=元日", "01月2=成人の日", "02/11=建国記念の日", "02/23=天皇誕生日", "03/20=春分の日",
                             "04/29=昭和の日", "05/03=憲法記念日", "05/04=みどりの日", "05/05=こどもの日",
                             "07月3=海の日", "08/11=山の日", "09月3=敬老の日", "09/23=秋分の日", "10月2=スポーツの日",
                             "11/03=文化の日", "11/23=勤労感謝の日", "12/25=$クリスマス", "02/14=&バレンタイン"}) {
        lines.push_back(Sj(line));
    }
    for (const auto& line : extra) {
        lines.push_back(Sj(line));
    }
    return lines;
}

// In 2026 the first of January is a Thursday, of February and March a Sunday, of May a Friday.
TEST(HolidayRulesTest, WeekdayCharactersNameTheirOwnWeekdayAndBadKeysHaveNoDate)
{
    struct Case {
        std::string key;
        std::string expected;
    };
    const std::string misaligned = "01" + Sj("日月").substr(1, 2) + "1";  // trail of 日 + lead of 月
    for (const auto& c : {Case{Sj("01月2"), "01/12"}, Case{Sj("05日1"), "05/03"}, Case{Sj("03日1"), "03/01"},
                          Case{Sj("01木5"), "01/29"}, Case{Sj("02土4"), "02/28"}, Case{Sj("03土5"), ""},
                          Case{Sj("13月1"), ""}, Case{Sj("01月0"), ""}, Case{Sj("01月6"), ""}, Case{Sj("0a月1"), ""},
                          Case{Sj("01月2x"), ""}, Case{misaligned, ""}, Case{"1/1", "1/1"}, Case{"", ""}}) {
        EXPECT_EQ(HolidayCalendar::RuleDateOf(c.key, 2026), c.expected) << test::Utf8(c.key);
    }
}

// The name, count and status text of each day; the cases run in order.
// Each year's substitutes and citizens' days come from that year's own rules, whatever was asked
// before; a Sunday in December moves its substitute into January, and weekday rules and counts
// start with 1900 itself. 2025/11/23 is a Sunday, 2026/11/23 a Monday; 敬老の日 falls on 09/15 in
// 2025; 2025/12/28 and 2023/12/31 are Sundays; 1900/01/01 is a Monday, 1899/01/01 a Sunday, so the
// second-Monday rule would give 1899/01/09.
// In `extra`, 10/11/2026 is a Sunday; its substitute falls on the weekday-rule holiday 10/12,
// because the substitute only looks at fixed dates.
// 2026/05/03 is a Sunday. A marked day is not a plain holiday, so the substitute and the citizens'
// day land on it and replace its name in the cell; the status text keeps both. A marked Sunday
// moves nothing, and a marked day between two holidays is not a trigger.
TEST(HolidayNameTest, NamesCountsAndStatusTextsOfEachDay)
{
    const HolidayCalendar sample(SampleLines());
    const HolidayCalendar substitute(SampleLines({"12/28=あ", "12/29=い", "12/30=う", "12/31=え"}));
    const HolidayCalendar citizens(SampleLines({"12/31=え", "01/02=お"}));
    const HolidayCalendar yearEnd({Sj("12/31=え")});
    const HolidayCalendar between({Sj("12/31=え"), Sj("01/02=お")});
    const HolidayCalendar extra(SampleLines({"01/12=A", "10/11=B", "05/06=$M"}));
    const HolidayCalendar marked({Sj("05/03=A"), Sj("05/04=$x"), Sj("09/21=B"), Sj("09/22=&y"), Sj("09/23=C")});
    const HolidayCalendar markedSunday({Sj("05/03=$A"), Sj("09/20=&B"), Sj("09/22=C")});
    const HolidayCalendar none;
    constexpr auto kOrdinary = HolidayKind::Ordinary;
    struct Case {
        const HolidayCalendar& calendar;
        const char* date;
        int year;
        const char* name;            // nullptr: not asked
        int count;                   // -1: not asked
        const char* text = nullptr;  // nullptr: not asked
        HolidayKind kind = kOrdinary;
    };
    for (const auto& c : {Case{sample, "2026/09/22", 2026, "国民の休日", -1},
                          Case{sample, "2025/09/22", 2025, "", -1},
                          Case{sample, "2025/11/24", 2025, "振替休日", -1},
                          Case{sample, "2026/11/24", 2026, "", 0},
                          Case{sample, "2025/01/13", 2025, "成人の日", -1},
                          Case{sample, "2026/01/13", 2026, "", -1},
                          Case{sample, "1900/01/08", 1900, "成人の日", 1},
                          Case{sample, "1900/01/01", 1900, "元日", 1},
                          Case{sample, "1899/01/09", 1899, "", 0},
                          Case{sample, "1899/01/01", 1899, nullptr, 0},
                          Case{substitute, "2026/01/02", 2026, "振替休日", -1},
                          Case{substitute, "2027/01/02", 2027, "", -1},
                          Case{citizens, "2026/01/01", 2026, "元日", -1},
                          Case{yearEnd, "2023/01/01", 2023, "", 0},
                          Case{yearEnd, "2024/01/01", 2024, "振替休日", -1},
                          Case{between, "2026/01/01", 2026, "国民の休日", -1},
                          Case{extra, "2026/01/01", 2026, "元日", 1, "元日"},
                          Case{extra, "2026/01/05", 2026, "", 0, ""},
                          Case{extra, "2026/01/12", 2026, "成人の日", 2, "成人の日、A"},
                          Case{extra, "2026/10/12", 2026, "スポーツの日", 2, "スポーツの日,振替休日"},
                          Case{extra, "2026/05/06", 2026, "振替休日", 2, "振替休日、M"},
                          Case{extra, "2026/05/07", 2026, "", 0, ""},
                          Case{extra, "2026/09/21", 2026, "敬老の日", 1, "敬老の日"},
                          Case{extra, "2026/09/22", 2026, "国民の休日", 1, "国民の休日"},
                          Case{extra, "2026/11/24", 2026, "", 0, ""},
                          Case{extra, "2026/12/25", 2026, "クリスマス", 1, "クリスマス", HolidayKind::Marked},
                          Case{extra, "2026/02/14", 2026, "バレンタイ", 1, "バレンタイン", HolidayKind::SecondMarked},
                          Case{extra, "2026/06/15", 2026, "", 0, ""},
                          Case{none, "2026/01/01", 2026, nullptr, -1, ""},
                          Case{marked, "2026/05/04", 2026, "振替休日", -1, "振替休日、x"},
                          Case{marked, "2026/05/05", 2026, "", -1, ""},
                          Case{marked, "2026/09/22", 2026, "国民の休日", -1, "国民の休日、y"},
                          Case{markedSunday, "2026/05/04", 2026, "", -1},
                          Case{markedSunday, "2026/09/21", 2026, "", -1}}) {
        SCOPED_TRACE(c.date);
        if (c.name != nullptr) {
            EXPECT_EQ(c.calendar.HolidayNameOf(c.date, c.year), (HolidayName{Sj(c.name), c.kind}));
        }
        if (c.count >= 0) {
            EXPECT_EQ(c.calendar.HolidayCountOf(c.date, c.year), c.count);
        }
        if (c.text != nullptr) {
            EXPECT_EQ(c.calendar.HolidayTextOf(c.date), Sj(c.text));
        }
    }
}

TEST(HolidayNameTest, SingleByteNamesAndTheMarkerCut)
{
    const HolidayCalendar calendar({"07/01=Abc", "07/02=$ABCDEFGHIJKL", "07/03=&"});
    EXPECT_EQ(calendar.HolidayNameOf("2026/07/01", 2026), (HolidayName{"Abc", HolidayKind::Plain}));
    EXPECT_EQ(calendar.HolidayNameOf("2026/07/02", 2026), (HolidayName{"ABCDEFGHIJ", HolidayKind::Marked}));
    EXPECT_EQ(calendar.HolidayNameOf("2026/07/02", 2026, 3).name, "ABC");
    // Ten bytes would end in the first half of "か": the cut keeps whole characters.
    const HolidayCalendar kana({Sj("07/04=$Aあいうえおかきく")});
    EXPECT_EQ(kana.HolidayNameOf("2026/07/04", 2026).name, Sj("Aあいうえ"));
    EXPECT_EQ(calendar.HolidayNameOf("2026/07/03", 2026), (HolidayName{"", HolidayKind::SecondMarked}));
}

}  // namespace
}  // namespace dolvane
