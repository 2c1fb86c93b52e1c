#include "core/calendar/CalendarModel.h"

#include "core/time/TimeTexts.h"
#include "support/Sjis.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace dolvane {
namespace {

using test::Sj;

ToDoRecord Row(std::string start, std::string deadline, std::string importance = "0", std::string progress = "0",
               std::string task = "task")
{
    ToDoRecord row;
    std::tie(row.StartText, row.DeadlineText, row.Importance, row.TaskText, row.Progress) =
        std::tie(start, deadline, importance, task, progress);
    return row;
}

// An item's fields for reading: row, progress day and percent, start and deadline time, head.
std::string Describe(const DayItem& item)
{
    return std::to_string(item.row) + " " + item.ProgressDateText() + " " + std::to_string(item.progressPercent) + " " +
           std::string(item.StartTime()) + "-" + std::string(item.DeadlineTime()) + " " + std::string(item.Head());
}

template <typename Items> std::vector<std::string> Describe(const Items& items)
{
    std::vector<std::string> described;
    for (const DayItem& item : items) {
        described.push_back(Describe(item));
    }
    return described;
}

// Every stored day and its items, in the lists' order.
using DayLists = std::vector<std::pair<std::string, std::vector<std::string>>>;
DayLists ListsOf(const CalendarModel& model)
{
    DayLists lists;
    for (std::size_t k = 0; k < model.DayTodoLists().Count(); ++k) {
        lists.emplace_back(model.DayTodoLists().DateAt(k), Describe(model.DayTodoLists().ItemsAt(k)));
    }
    return lists;
}

// Every cell's text below the weekday captions, row by row, the stored hidden week included.
std::vector<std::string> CellTexts(const CalendarModel& model)
{
    std::vector<std::string> cells;
    for (std::size_t r = 1; r < model.Cells().size(); ++r) {
        cells.insert(cells.end(), model.Cells()[r].begin(), model.Cells()[r].end());
    }
    return cells;
}

// What scanning every row gives for each cell with items and for the days either side of the grid.
DayLists ScannedLists(const std::vector<ToDoRecord>& rows, const CalendarModel& model)
{
    std::vector<std::string> dates = CellTexts(model);
    dates.insert(dates.end(),
                 {CalendarModel::NeighbourDate(dates.front(), -1), CalendarModel::NeighbourDate(dates.back(), 1)});
    DayLists lists;
    for (const auto& date : dates) {
        if (const auto items = BuildDayTodoList(rows, date); !date.empty() && !items.empty()) {
            lists.emplace_back(date, Describe(items));
        }
    }
    return lists;
}

// A model showing `reference` in `mode`, filled from `rows`.
CalendarModel Shown(CalendarMode mode, std::string_view reference, const std::vector<ToDoRecord>& rows = {})
{
    CalendarModel model;
    model.SetViewMode(mode);
    EXPECT_TRUE(model.SetCalendarReference(reference, rows)) << reference;
    return model;
}

TEST(CalendarDatesTest, LayoutDividesTheGridAmongTheShownWeeks)
{
    struct Case {
        CalendarMode mode;
        int width, height;
        CalendarGridLayout expected;
    };
    for (const auto& c : {Case{CalendarMode::Month, 700, 628, {7, 98, 100, 18}},
                          Case{CalendarMode::OneWeek, 700, 628, {2, 98, 600, 18}},
                          Case{CalendarMode::TwoWeeks, 700, 628, {3, 98, 300, 18}},
                          Case{CalendarMode::ThreeWeeks, 701, 629, {4, 98, 200, 18}},
                          Case{CalendarMode::Month, 10, 20, {7, 0, 0, 18}}}) {
        EXPECT_EQ(LayoutCalendarGrid(c.mode, c.width, c.height), c.expected) << "mode " << static_cast<int>(c.mode);
    }
}

// A month shows six weeks from the Sunday on or before the first and stores a seventh, never
// shown; week views start on the Sunday of the reference's week. 2009/11/01 is a Sunday,
// 2010/05/01 a Saturday.
TEST(CalendarGridTest, ViewsStartOnASunday)
{
    struct Case {
        CalendarMode mode;
        std::string reference;
        std::size_t rows;  // the weekday captions included
        std::string firstCell, lastCell;
        int displayedMonth;
    };
    for (const auto& c : {Case{CalendarMode::Month, "2009/11/17", 8, "2009/11/01", "2009/12/19", 11},
                          Case{CalendarMode::Month, "2010/05/31", 8, "2010/04/25", "2010/06/12", 5},
                          Case{CalendarMode::OneWeek, "2010/05/15", 2, "2010/05/09", "2010/05/15", 5},  // a Saturday
                          Case{CalendarMode::OneWeek, "2010/05/09", 2, "2010/05/09", "2010/05/15", 5},  // a Sunday
                          Case{CalendarMode::ThreeWeeks, "2010/01/24", 4, "2010/01/24", "2010/02/13", 1},
                          Case{CalendarMode::TwoWeeks, "2010/08/01", 3, "2010/08/01", "2010/08/14", 8}}) {
        const CalendarModel model = Shown(c.mode, c.reference);
        ASSERT_EQ(model.Cells().size(), c.rows) << c.reference;
        EXPECT_EQ(model.CellText(0, 1), c.firstCell);
        EXPECT_EQ(model.CellText(6, static_cast<int>(c.rows) - 1), c.lastCell);
        EXPECT_EQ(model.DisplayedMonth(), c.displayedMonth) << c.reference;
        EXPECT_EQ(model.CellText(3, 0), Sj("水"));
    }
}

TEST(CalendarGridTest, StepMovesByMonthsOrWeeks)
{
    struct Case {
        CalendarMode mode;
        std::string reference;
        bool forward, weekStepSeven;
        std::string expected;
    };
    for (const auto& c : {Case{CalendarMode::Month, "2010/01/20", false, false, "2009/12/01"},
                          Case{CalendarMode::Month, "2009/12/31", true, false, "2010/01/01"},
                          Case{CalendarMode::Month, "2010/03/31", false, true, "2010/02/01"},
                          Case{CalendarMode::ThreeWeeks, "2010/01/24", true, true, "2010/01/31"},
                          Case{CalendarMode::ThreeWeeks, "2010/01/24", true, false, "2010/02/14"},
                          Case{CalendarMode::TwoWeeks, "2010/01/27", false, false, "2010/01/10"},
                          Case{CalendarMode::OneWeek, "2010/01/27", true, false, "2010/01/31"},
                          // Nothing lies beyond 9999/12 and before 0001/01; a step back goes as
                          // far as the week of 0001/01/01 (a Monday), whose range starts there.
                          Case{CalendarMode::Month, "9999/12/10", true, false, ""},
                          Case{CalendarMode::Month, "0001/01/10", false, false, ""},
                          Case{CalendarMode::OneWeek, "9999/12/31", true, true, ""},
                          Case{CalendarMode::ThreeWeeks, "0001/01/10", false, false, "0001/01/01"},
                          Case{CalendarMode::OneWeek, "0001/01/03", false, false, ""},
                          Case{CalendarMode::OneWeek, "0001/01/03", true, false, "0001/01/08"}}) {
        CalendarModel model = Shown(c.mode, c.reference);
        EXPECT_EQ(model.StepCalendar(c.forward, c.weekStepSeven), c.expected)
            << c.reference << " mode " << static_cast<int>(c.mode) << (c.forward ? " forward" : " back");
    }
}

TEST(CalendarGridTest, UnreadableReferenceChangesNothing)
{
    CalendarModel model = Shown(CalendarMode::Month, "2010/05/10", {Row("2010/05/10 09:00", "")});
    const auto before = ListsOf(model);
    ASSERT_FALSE(before.empty());
    for (const char* bad : {"", "2010/13/01", "abc", "2010/02/30"}) {
        EXPECT_FALSE(model.SetCalendarReference(bad, {})) << bad;
        EXPECT_EQ(model.CalendarRefDateText(), "2010/05/10");
        EXPECT_EQ(ListsOf(model), before);
    }
}

// A day lists spans first, then single days by falling importance, each group in list order;
// rows without a readable place in the calendar are on no day.
TEST(DayTodoListTest, ItemsHoldTheProgressDayTheTimesAndTheHeadInTheDaysOrder)
{
    const std::string task = Sj("会議の準備をする（資料と議事録）");
    const std::vector<ToDoRecord> rows = {
        Row("2010/05/10 09:00", "2010/05/12 18:00", "3", "50", task),
        Row("2010/05/10 08:30", "", "0", "30", "call"),
        Row("2010/05/10 07:00", "2010/05/10 07:30", "1", "100", "same day"),  // one day of 24 hours, all reached
        Row("2010/05/10 11:00", "", "5", "0", "high"),
        Row("2010/05/09 11:00", "2010/05/10 12:00", "0", "0", "span"),
        Row("2010/05/10 09:00", "", "5", "0", "high2"),
        Row("2010/05/10 09:00", "", "x", "y", "nonsense"),
        Row("", "2010/05/12 18:00"),
        Row("2010/05/xx 09:00", "2010/05/12 18:00"),
        Row("2010/05/12 09:00", "2010/05/08 18:00")};  // the deadline before the start
    // 72 hours at 50 %: 36 reached, one whole day and half of the next.
    const std::string first = "0 2010/05/11 50 09:00-18:00 " + task.substr(0, 20);
    const std::string span = "4 2010/05/09 0 11:00-12:00 span";
    struct Case {
        std::string date;
        std::vector<std::string> expected;
    };
    for (const auto& c : {Case{"2010/05/08", {}}, Case{"2010/05/09", {span}},
                          Case{"2010/05/10",
                               {first, span, "3 2010/05/10 0 11:00- high", "5 2010/05/10 0 09:00- high2",
                                "2 2010/05/11 0 07:00-07:30 same day", "1 2010/05/10 30 08:30- call",
                                "6 2010/05/10 0 09:00- nonsense"}},
                          Case{"2010/05/11", {first}}, Case{"2010/05/12", {first}}, Case{"2010/05/13", {}}}) {
        EXPECT_EQ(Describe(BuildDayTodoList(rows, c.date)), c.expected) << c.date;
    }
}

// A month stores a seventh week, and the days either side of the grid, for the bars that run on
// beyond what is shown (the random rows' test compares their lists with a scan); the hidden week
// cannot be selected.
TEST(CalendarGridTest, TheHiddenWeekIsNeverSelected)
{
    CalendarModel model = Shown(CalendarMode::Month, "2010/05/01");
    EXPECT_FALSE(model.SelectCalendarDate("2010/06/06"));
    EXPECT_TRUE(model.SelectCalendarDate("2010/06/05"));
    EXPECT_EQ(model.CurrentColumn(), 6);
    EXPECT_EQ(model.CurrentRow(), 6);
}

TEST(BarSlotTest, TheFillGivesEachToDoTheLowestRowFreeWhereItIsFirstShown)
{
    const std::vector<ToDoRecord> rows = {Row("2010/05/10 09:00", "2010/05/12 18:00"),   // row 0 from 05/10
                                          Row("2010/05/03 09:00", "2010/05/04 18:00"),   // row 0: alone that week
                                          Row("2010/05/10 09:00", "2010/05/11 18:00"),   // row 1 beside the first
                                          Row("2010/05/11 09:00", ""),                   // rows 0 and 1 taken
                                          Row("2010/05/12 09:00", "2010/05/13 18:00")};  // row 1 free again
    CalendarModel model = Shown(CalendarMode::Month, "2010/05/01", rows);
    // The current cell's bars by row are known without painting; a row no to-do of the day holds
    // is -1.
    using Bars = std::vector<std::int32_t>;
    ASSERT_TRUE(model.SelectCalendarDate("2010/05/11"));
    EXPECT_EQ(model.CurrentCellBars(), (Bars{0, 2, 3}));
    ASSERT_TRUE(model.SelectCalendarDate("2010/05/13"));
    EXPECT_EQ(model.CurrentCellBars(), (Bars{-1, 4}));
    ASSERT_TRUE(model.SetCalendarReference("2010/06/01", rows));
    EXPECT_EQ(model.BarSlotOf(0), -1) << "a new range gives out its rows afresh";
}

// The rule as the painting applied it cell by cell, row by row and left to right: a to-do met for
// the first time takes the lowest row that no already placed to-do present on that day holds.
std::map<std::uint32_t, int> PlainSlots(const CalendarModel& model)
{
    std::map<std::uint32_t, int> slots;
    const int paintedRows = LayoutCalendarGrid(model.ViewMode(), 700, 700).rowCount - 1;
    for (int row = 1; row <= paintedRows; ++row) {
        for (int column = 0; column < CalendarModel::kColumns; ++column) {
            const auto items = model.DayTodoLists().Items(model.CellText(column, row));
            for (const DayItem& item : items) {
                const std::uint32_t key = item.row;
                if (slots.contains(key)) {
                    continue;
                }
                std::set<int> taken;
                for (const DayItem& other : items) {
                    if (const auto found = slots.find(other.row); found != slots.end()) {
                        taken.insert(found->second);
                    }
                }
                int slot = 0;
                while (taken.contains(slot)) {
                    ++slot;
                }
                slots[key] = slot;
            }
        }
    }
    return slots;
}

// Every to-do's bar row is the plain rule's, and -1 for a to-do no painted cell shows.
void ExpectPlainSlots(const CalendarModel& model, std::size_t rowCount)
{
    const auto expected = PlainSlots(model);
    for (std::uint32_t row = 0; row < rowCount; ++row) {
        const auto found = expected.find(row);
        EXPECT_EQ(model.BarSlotOf(row), found == expected.end() ? -1 : found->second) << "to-do " << row;
    }
}

// The grid fill gives the lists a scan of every row gives, and the bar rows of the plain rule.
TEST(BarSlotTest, RowsOnRandomDaysFollowThePlainRule)
{
    std::mt19937 random(20101207);
    const auto day = [&random](int from, int to) { return std::uniform_int_distribution<int>(from, to)(random); };
    const DateTime base = ParseDateText("2010/05/01");
    for (int round = 0; round < 12; ++round) {
        std::vector<ToDoRecord> rows;
        const int count = day(20, 400);
        for (int i = 0; i < count; ++i) {
            const DateTime start{base.days + day(-20, 45)};
            const int span = day(-3, 15);  // below 0: no deadline
            rows.push_back(Row(FormatDateTimeText(start), span < 0 ? "" : FormatDateTimeText({start.days + span}),
                               std::to_string(day(0, 5))));
        }
        for (const CalendarMode mode : {CalendarMode::Month, CalendarMode::OneWeek, CalendarMode::ThreeWeeks}) {
            SCOPED_TRACE("round " + std::to_string(round) + " mode " + std::to_string(static_cast<int>(mode)));
            const CalendarModel model = Shown(mode, "2010/05/12", rows);
            EXPECT_EQ(ListsOf(model), ScannedLists(rows, model));
            ExpectPlainSlots(model, rows.size());
        }
    }
}

// Cells before 0001/01/01 and after 9999/12/31 are empty texts with no day list; the dated
// cells keep the lists a scan of every row gives and the bar rows of the plain rule.
TEST(CalendarGridTest, TheGridHoldsNoDateOutsideYearsOneTo9999)
{
    struct Case {
        CalendarMode mode;
        std::string reference;
        std::size_t firstDated, lastDated;  // cells counted row by row from the first date cell
        std::string firstText, lastText, rangeStart;
    };
    const std::vector<ToDoRecord> rows = {Row("9999/12/30 09:00", "9999/12/31 18:00", "0", "999"),
                                          Row("9999/12/31 09:00", ""),
                                          Row("9999/12/20 09:00", "9999/12/31 09:00"),
                                          Row("9999/11/27 09:00", "9999/12/18 09:00"),
                                          Row("0001/01/01 09:00", "0001/01/02 18:00"),
                                          Row("0001/01/01 09:00", "")};
    for (const auto& c : {Case{CalendarMode::Month, "9999/12/15", 0, 33, "9999/11/28", "9999/12/31", "9999/12/01"},
                          Case{CalendarMode::ThreeWeeks, "9999/12/20", 0, 12, "9999/12/19", "9999/12/31", "9999/12/19"},
                          Case{CalendarMode::Month, "0001/01/20", 1, 48, "0001/01/01", "0001/02/17", "0001/01/01"},
                          Case{CalendarMode::OneWeek, "0001/01/03", 1, 6, "0001/01/01", "0001/01/06", "0001/01/01"}}) {
        SCOPED_TRACE(c.reference);
        const CalendarModel model = Shown(c.mode, c.reference, rows);
        const std::vector<std::string> cells = CellTexts(model);
        for (std::size_t i = 0; i < cells.size(); ++i) {
            EXPECT_EQ(cells[i].empty(), i < c.firstDated || i > c.lastDated) << i << " " << cells[i];
        }
        EXPECT_EQ(cells[c.firstDated], c.firstText);
        EXPECT_EQ(cells[c.lastDated], c.lastText);
        EXPECT_EQ(model.RangeStartText(), c.rangeStart);
        EXPECT_EQ(ListsOf(model), ScannedLists(rows, model));
        EXPECT_GE(model.DayTodoLists().Count(), 2U);
        ExpectPlainSlots(model, rows.size());
    }
    // A progress reaching past the last date fills the bar up to it.
    const auto item = MakeDayItem(rows[0], 0);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->ProgressDateText() + " " + std::to_string(item->progressPercent), "9999/12/31 100");
}

}  // namespace
}  // namespace dolvane
