#include "core/calendar/CalendarDrawing.h"

#include "support/Sjis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace dolvane {
namespace {

using test::Sj;

// A byte is the point size less 3 pixels wide, one more when bold; "H" is the point size plus 3
// high, one more when bold. So bar rows are 15 pixels apart (9 points, bold: 13 + 2).
class FixedMeasure final : public TextMeasure {
public:
    int TextWidth(std::string_view text, int size, bool bold) const override
    {
        return static_cast<int>(text.size()) * (size - 3 + (bold ? 1 : 0));
    }
    int TextHeight(std::string_view, int size, bool bold) const override { return size + 3 + (bold ? 1 : 0); }
};

constexpr int kW = 70;
constexpr int kL = 15;
constexpr std::uint32_t kFrame = 0x112233;
constexpr std::uint32_t kFill = 0x445566;
constexpr std::uint32_t kBlack = kBarLabelTextColour;
constexpr std::uint32_t kWhite = kSelectedCellTextColour;
constexpr std::uint32_t kPurple = kDeadlineTimeColour;

ToDoRecord Row(std::string start, std::string deadline, std::string progress, std::string task = "plan",
               std::string importance = "0")
{
    ToDoRecord row;
    std::tie(row.StartText, row.DeadlineText, row.Importance, row.TaskText, row.Progress) =
        std::tie(start, deadline, importance, task, progress);
    return row;
}

struct Grid {
    Grid(CalendarMode mode, std::string_view ref, const std::vector<ToDoRecord>& rows = {},
         const std::vector<std::string>& holidayLines = {})
        : holidays(holidayLines)
    {
        model.SetViewMode(mode);
        model.SetShowBarTexts(true);
        model.SetCalendarReference(ref, rows);
    }
    PixelRect Rect(int column, int row) const
    {
        return {column * kW, 18 + (row - 1) * rowHeight, (column + 1) * kW, 18 + row * rowHeight};
    }
    DrawingPlan Paint(int column, int row, bool selected = false, int width = kW,
                      const TextMeasure& measure = FixedMeasure())
    {
        return PlanDateCell(model, holidays, {column, row, Rect(column, row), selected},
                            {today, kFill, kFrame, width, rowHeight}, measure);
    }

    CalendarModel model;
    HolidayCalendar holidays;
    std::string today = "2000/01/01";
    int rowHeight = 90;
};

std::vector<DrawOp> Ops(const DrawingPlan& plan, DrawKind kind, std::uint32_t colour)
{
    std::vector<DrawOp> ops;
    std::copy_if(plan.begin(), plan.end(), std::back_inserter(ops),
                 [&](const DrawOp& op) { return op.kind == kind && op.colour == colour; });
    return ops;
}

const DrawOp* TextOp(const DrawingPlan& plan, std::string_view text)
{
    const auto found = std::find_if(plan.begin(), plan.end(), [&](const DrawOp& op) { return op.text == text; });
    return found == plan.end() ? nullptr : &*found;
}

// The first bar row of a painted cell, in pixels from the cell's left: where the bar runs, its
// closed ends, where the progress fill stops (0: none), and the labels found in their places.
struct BarView {
    int from = 0, to = 0;
    std::string ends = {};
    int fillEnd = 0;
    std::string time = {};
    std::uint32_t timeColour = 0;
    std::string head = {};
    std::uint32_t headColour = 0;
    friend bool operator==(const BarView&, const BarView&) = default;
};

BarView FirstBar(const DrawingPlan& plan, const PixelRect& rect)
{
    const auto frame = Ops(plan, DrawKind::Line, kFrame);
    if (frame.empty()) {
        return {};
    }
    const auto& line = frame.front();
    BarView bar{line.x1 - rect.left, line.x2 - rect.left};
    const int labelTop = line.y1 - kL / 2 + 2;  // labels 3 below the row's top, the bar 1 below its middle
    for (const auto& op : plan) {
        if (op.kind == DrawKind::Pixel && op.colour == kFrame && op.y1 == line.y1 + 1) {
            bar.ends += op.x1 == line.x1 ? "<" : (op.x1 == line.x2 - 1 ? ">" : "?");
        } else if (op.kind == DrawKind::Line && op.colour == kFill && op.y1 == line.y1 + 1) {
            bar.fillEnd = op.x2 - rect.left;
        } else if (op.kind == DrawKind::Text && op.y1 == labelTop && op.x1 == rect.left + 2) {
            std::tie(bar.time, bar.timeColour) = std::tie(op.text, op.colour);
        } else if (op.kind == DrawKind::Text && op.y1 == labelTop && op.x1 == rect.left + 32) {
            std::tie(bar.head, bar.headColour) = std::tie(op.text, op.colour);
        }
    }
    return bar;
}

// 25 % of six days is 36 hours: the fill covers all of 05/06, half of 05/07, nothing after.
TEST(CalendarDrawingTest, BarFromThursdayToTuesdayIsClosedAtItsEndsFilledAndLabelledOnEachWeekRow)
{
    Grid grid(CalendarMode::Month, "2010/05/01", {Row("2010/05/06 09:00", "2010/05/11 18:00", "25")});
    const auto red = kContinuingStartTimeColour;
    const BarView through{0, kW};
    struct Case {
        int cell;  // 7 × (row - 1) + column
        BarView bar;
    };
    for (const auto& c : {Case{11, {5, kW, "<", kW, "09:00", red, "plan", kBlack}}, Case{12, {0, kW, "", kW / 2}},
                          Case{13, through}, Case{14, {0, kW, "", 0, "09:00", red, "plan", kBlack}}, Case{15, through},
                          Case{16, {0, kW - 5, ">", 0, "18:00", kPurple, "plan", kBlack}}}) {
        const auto plan = grid.Paint(c.cell % 7, c.cell / 7 + 1);
        EXPECT_TRUE(FirstBar(plan, grid.Rect(c.cell % 7, c.cell / 7 + 1)) == c.bar) << "cell " << c.cell;
    }
    // Labels hide the bar behind them with the cell's own colour.
    const auto plan = grid.Paint(4, 2);
    const auto* label = TextOp(plan, "plan");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(std::pair(label->opaque, label->background), std::pair(true, kShownMonthBackgroundColour));
}

// A to-do of 2010/05/12 from 09:00, to 17:30 unless the deadline is "".
ToDoRecord DayRow(std::string head, std::string progress = "0", std::string deadline = "2010/05/12 17:30")
{
    return Row("2010/05/12 09:00", std::move(deadline), std::move(progress), std::move(head));
}

TEST(CalendarDrawingTest, SingleDayLabelsAndHeadsCutToTheColumn)
{
    struct Case {
        ToDoRecord row;
        int width;
        bool selected, showTexts;
        BarView bar;
    };
    // The head must be narrower than the column less 34: at most 5 bytes of 6 pixels in 70; in
    // 200, the 20-byte head of the fourth splits a character and the fifth is cut at 20 bytes.
    const std::string s = "abcdefghijklmnopqrs";
    int index = 0;
    for (const auto& c :
         {Case{DayRow("abc", "150", ""), kW, false, true, {5, 65, "<>", 65, "09:00", 0x008000, "abc", kBlack}},
          Case{DayRow("abcdefgh", "50"), kW, false, true, {5, 65, "<>", 35, "17:30", kPurple, "abcde", kBlack}},
          Case{DayRow(Sj("あいうえお")), kW, false, true, {5, 65, "<>", 0, "17:30", kPurple, Sj("あい"), kBlack}},
          Case{DayRow(s + "\x82\xa0"), 200, false, true, {5, 195, "<>", 0, "17:30", kPurple, s, kBlack}},
          Case{DayRow(s + "tuvwxy"), 200, true, true, {5, 195, "<>", 0, "17:30", kWhite, s + "t", kWhite}},
          Case{DayRow("abc"), 30, false, true, {5, 25, "<>", 0, "17:30", kPurple}},
          Case{DayRow("abc"), kW, false, false, {5, 65, "<>"}}}) {
        Grid grid(CalendarMode::OneWeek, "2010/05/12", {c.row});
        grid.model.SetShowBarTexts(c.showTexts);
        const auto plan = grid.Paint(3, 1, c.selected, c.width);
        EXPECT_TRUE(FirstBar(plan, grid.Rect(3, 1)) == c.bar) << "case " << index;
        ++index;
    }
}

// A font with wider digits than the classic one: the head moves right of the time and narrows.
TEST(CalendarDrawingTest, HeadLabelNeverCoversTheTime)
{
    class WideMeasure final : public TextMeasure {
    public:
        int TextWidth(std::string_view text, int, bool) const override { return static_cast<int>(text.size()) * 8; }
        int TextHeight(std::string_view, int, bool) const override { return 12; }
    };
    Grid grid(CalendarMode::OneWeek, "2010/05/12", {DayRow("abcdefgh")});
    const PixelRect rect = grid.Rect(3, 1);
    const auto plan = grid.Paint(3, 1, false, kW, WideMeasure());
    std::vector<std::pair<int, std::string>> labels;
    for (const auto& op : plan) {
        if (op.kind == DrawKind::Text && (op.text == "17:30" || op.text.starts_with("abc"))) {
            labels.emplace_back(op.x1 - rect.left, op.text);
        }
    }
    // "17:30" is 40 wide from 2; the head starts at 42 and must stay under 70 - 44 = 26.
    EXPECT_EQ(labels, (std::vector<std::pair<int, std::string>>{{2, "17:30"}, {42, "abc"}}));
}

TEST(CalendarDrawingTest, RowsBelowTheCellAreNotDrawnNorHighlighted)
{
    struct Case {
        CalendarMode mode;
        // Row s starts at firstRowTop + 15 s; 3 below that must stay inside the cell less one line
        // height (and less 2 in week views): 4 rows fit the month's 90 pixels, 3 a week's 84. A
        // day with more gives its last fitting row up to the "+N".
        int rowHeight, todos, drawnRows, firstRowTop;
    };
    for (const auto& c : {Case{CalendarMode::Month, 90, 6, 3, kL}, Case{CalendarMode::OneWeek, 84, 6, 2, kL + 7},
                          Case{CalendarMode::Month, 90, 4, 4, kL}}) {
        const std::vector<ToDoRecord> rows(static_cast<std::size_t>(c.todos), Row("2010/05/12 09:00", "", "0"));
        for (const int selectedRow : {c.drawnRows - 1, c.drawnRows}) {
            Grid grid(c.mode, "2010/05/12", rows);
            grid.rowHeight = c.rowHeight;
            ASSERT_TRUE(grid.model.SelectCalendarDate("2010/05/12"));
            grid.model.SetSelectedToDo(static_cast<std::uint32_t>(selectedRow));
            const auto plan = grid.Paint(grid.model.CurrentColumn(), grid.model.CurrentRow(), true);
            const auto rect = grid.Rect(grid.model.CurrentColumn(), grid.model.CurrentRow());
            EXPECT_EQ(Ops(plan, DrawKind::Line, kBarInnerLineColour).size(), static_cast<std::size_t>(c.drawnRows));
            // The cell says how many to-dos it cannot show in its bottom right corner.
            const std::string more = "+" + std::to_string(c.todos - c.drawnRows);
            const auto* hidden = TextOp(plan, more);
            ASSERT_EQ(hidden != nullptr, c.todos > c.drawnRows) << more;
            if (hidden != nullptr) {
                EXPECT_EQ(std::tuple(hidden->x1, hidden->y1, hidden->colour),
                          std::tuple(rect.right - 2 - 6 * static_cast<int>(more.size()), rect.bottom - 13, kWhite));
            }
            // Rows that do not fit are still listed, so the cell knows every row it holds.
            ASSERT_EQ(grid.model.CurrentCellBars().size(), rows.size());
            const auto highlight = Ops(plan, DrawKind::FillRect, kHighlightedBarRowFillColour);
            if (selectedRow == c.drawnRows) {
                EXPECT_TRUE(highlight.empty());
                continue;
            }
            const int y = rect.top + c.firstRowTop + kL * selectedRow;
            // One highlight, over the row's bar.
            ASSERT_EQ(highlight.size(), 1U);
            EXPECT_EQ(highlight[0].Rect(), (PixelRect{rect.left, y + 1, rect.left + kW, y + kL + 3}));
            const auto bar = std::find_if(plan.begin(), plan.end(), [&](const DrawOp& op) {
                return op.kind == DrawKind::Line && op.y1 > y && op.y1 < y + kL;
            });
            EXPECT_LT(bar, std::find(plan.begin(), plan.end(), highlight[0]));
            // The highlighted row's labels let the highlight show through; the other rows' do not.
            for (const auto& op : plan) {
                if (op.text == "09:00") {
                    EXPECT_EQ(op.opaque, op.y1 != y + 3) << op.y1;
                }
            }
        }
    }
}

// A to-do ranked first on a day can hold a row below the cell while a later one sits on row 0:
// the later bar is still drawn, so it runs on straight from the day before.
TEST(CalendarDrawingTest, ARowBelowTheCellDoesNotHideTheRowsAboveIt)
{
    // Four important spans hold rows 0 to 3 on 05/10 and 05/11; the span of 05/11 and 05/12 takes
    // row 4 and keeps it on 05/12, where it comes first and the single day takes row 0.
    std::vector<ToDoRecord> rows(4, Row("2010/05/10 09:00", "2010/05/11 18:00", "0", "plan", "5"));
    rows.push_back(Row("2010/05/11 09:00", "2010/05/12 18:00", "0"));
    rows.push_back(Row("2010/05/12 09:00", "", "0"));
    Grid grid(CalendarMode::Month, "2010/05/12", rows);
    grid.rowHeight = 50;  // room for rows 0 and 1
    ASSERT_EQ(grid.model.BarSlotOf(4), 4);
    ASSERT_EQ(grid.model.BarSlotOf(5), 0);
    const auto plan = grid.Paint(3, 3);
    const auto bars = Ops(plan, DrawKind::Line, kBarInnerLineColour);
    ASSERT_EQ(bars.size(), 1U);
    EXPECT_EQ(bars[0].y1, grid.Rect(3, 3).top + kL + kL / 2 + 2);
}

TEST(CalendarDrawingTest, TodayAndHolidayCells)
{
    struct Case {
        std::string holiday;  // rule line
        int cell, ticks;
        bool today, selected;
        std::uint32_t background;
        std::string name;  // empty: no name drawn
        std::uint32_t nameColour;
    };
    const auto children = Sj("05/05=こどもの日");
    const auto name = Sj("こどもの日");
    for (const auto& c : {Case{children, 10, 20, true, false, kTodayBackgroundColour, name, kHolidayNameColour},
                          Case{children, 10, 0, true, false, kTodayBackgroundColour, "", 0},
                          Case{children, 10, 1, true, true, kSelectedCellBackgroundColour, name, kWhite},
                          Case{children, 10, 1, false, false, kOtherHolidayBackgroundColour, name, kHolidayNameColour},
                          Case{"05/05=$ABC", 10, 1, false, false, kMarkedHolidayBackgroundColour, "ABC", 0x800080},
                          Case{"05/08=ABC", 13, 1, false, false, kPlainHolidayBackgroundColour, "ABC", 0x0000FF}}) {
        Grid grid(CalendarMode::Month, "2010/05/01", {}, {c.holiday});
        const int column = c.cell % 7;
        const int row = c.cell / 7 + 1;
        grid.model.SetHolidayNameTicks(c.ticks);
        grid.today = c.today ? grid.model.CellText(column, row) : "2000/01/01";
        const auto plan = grid.Paint(column, row, c.selected);
        const auto rect = grid.Rect(column, row);
        SCOPED_TRACE(c.holiday);
        EXPECT_EQ(plan.front().colour, c.background);
        std::vector<std::tuple<int, int, std::uint32_t>> marks;
        for (const auto& op : plan) {
            if (op.text == Sj("●")) {
                marks.emplace_back(op.x1 - rect.left, op.y1 - rect.top, op.colour);
            }
        }
        using Marks = decltype(marks);
        const auto mark = c.selected ? kWhite : kTodayMarkColour;
        EXPECT_EQ(marks, (c.today ? Marks{{2, 2, kTodayMarkShadowColour}, {1, 1, mark}} : Marks{}));
        const auto& last = plan.back();
        if (c.name.empty()) {
            EXPECT_EQ(last.text, "05/05");  // the day text, centred: five bytes of 8 pixels (10 points, bold)
            EXPECT_EQ(std::tuple(last.x1, last.y1, last.pointSize),
                      std::tuple(rect.left + kW / 2 - 20, rect.top + 1, 10));
            continue;
        }
        // Centred, 9 points, its box ending 6 pixels above the cell's bottom.
        EXPECT_EQ(std::tuple(last.text, last.colour, last.x1, last.y1),
                  std::tuple(c.name, c.nameColour, rect.left + kW / 2 - static_cast<int>(c.name.size()) * 3,
                             rect.bottom - 18));
    }
}

TEST(CalendarDrawingTest, MoreThanOneHolidayGetsAMarkBesideTheName)
{
    // 2010/05/10 is both a fixed date and the second Monday of May.
    Grid grid(CalendarMode::Month, "2010/05/01", {}, {Sj("05/10=固定"), Sj("05月2=第二月曜")});
    grid.model.SetHolidayNameTicks(1);
    const auto plan = grid.Paint(1, 3);
    const auto* mark = TextOp(plan, ">");
    ASSERT_NE(mark, nullptr);
    EXPECT_EQ(std::tuple(mark->x1, mark->y1, mark->colour, mark->bold),
              std::tuple(kW + kW - 10, 18 + 180 + 2, 0xFF0000U, true));
}

// Week views highlight the month of their first Saturday. After 9999/12/31 (a Friday) the cells
// hold no date: only their background is painted, and a bar ending on the last day is closed there.
TEST(CalendarDrawingTest, BackgroundsOfWeekViewsAndOfCellsWithoutADate)
{
    struct Case {
        CalendarMode mode;
        const char* ref;
        int column, row;
        bool selected;
        std::uint32_t background;
        bool dated;
    };
    const std::vector<ToDoRecord> rows = {Row("9999/12/30 09:00", "9999/12/31 18:00", "0")};
    for (const auto& c :
         {Case{CalendarMode::ThreeWeeks, "2010/01/24", 1, 1, false, kShownMonthBackgroundColour, true},
          Case{CalendarMode::ThreeWeeks, "2010/01/24", 1, 2, false, kOtherDateBackgroundColour, true},
          Case{CalendarMode::ThreeWeeks, "2010/01/24", 6, 1, false, kSaturdayBackgroundColour, true},
          Case{CalendarMode::ThreeWeeks, "2010/01/24", 0, 2, false, kSundayBackgroundColour, true},
          Case{CalendarMode::OneWeek, "2010/03/28", 3, 1, false, kOtherDateBackgroundColour, true},
          Case{CalendarMode::OneWeek, "2010/03/28", 4, 1, false, kShownMonthBackgroundColour, true},
          Case{CalendarMode::ThreeWeeks, "9999/12/20", 6, 2, false, kSaturdayBackgroundColour, false},
          Case{CalendarMode::ThreeWeeks, "9999/12/20", 3, 3, false, kOtherDateBackgroundColour, false},
          Case{CalendarMode::ThreeWeeks, "9999/12/20", 0, 3, true, kSelectedCellBackgroundColour, false}}) {
        Grid grid(c.mode, c.ref, rows);
        const auto plan = grid.Paint(c.column, c.row, c.selected);
        SCOPED_TRACE(grid.model.CellText(c.column, c.row));
        EXPECT_EQ(std::tuple(plan.front().kind, plan.front().colour), std::tuple(DrawKind::FillRect, c.background));
        EXPECT_EQ(plan.size() == 1, !c.dated);
    }
    Grid grid(CalendarMode::ThreeWeeks, "9999/12/20", rows);
    EXPECT_EQ(FirstBar(grid.Paint(5, 2), grid.Rect(5, 2)).ends, ">");
}

TEST(CalendarDrawingTest, HeaderCellsCentreTheWeekdayOverAShadow)
{
    // Every name, one byte or two, starts where 水 (two bytes of 7 pixels at 9 points, bold) is
    // centred in the 70 pixels from x = 140.
    for (const auto& [column, text, colour] :
         {std::tuple(0, Sj("日"), kSundayHeaderColour), std::tuple(6, std::string("S"), kSaturdayHeaderColour),
          std::tuple(3, Sj("水"), kDayTextColour)}) {
        const auto plan = PlanHeaderCell(column, text, {140, 0, 210, 18}, FixedMeasure());
        ASSERT_EQ(plan.size(), 3U);
        EXPECT_EQ(plan[0].colour, kHeaderBackgroundColour);
        EXPECT_EQ(std::tuple(plan[1].x1, plan[1].y1, plan[1].colour), std::tuple(169, 4, kHeaderShadowColour));
        EXPECT_EQ(std::tuple(plan[2].x1, plan[2].y1, plan[2].colour), std::tuple(168, 3, colour)) << column;
    }
}

TEST(CalendarDrawingTest, DayListItemShowsTheTextBeforeTheIndex)
{
    const PixelRect rect{0, 32, 145, 48};
    for (const auto& [item, shown, selected] : {std::tuple(Sj("買い物@\\@12"), Sj("買い物"), false),
                                                std::tuple(std::string("a@\\@b@\\@3"), std::string("a"), true)}) {
        const auto plan = PlanDayListItem(item, rect, selected, selected);  // the selected one is also last
        const auto background = selected ? kDayListSelectedBackgroundColour : kDayListBackgroundColour;
        EXPECT_EQ(plan.front().colour, background);
        const auto lines = Ops(plan, DrawKind::Line, kDayListSeparatorColour);
        ASSERT_EQ(lines.size(), selected ? 2U : 1U);
        EXPECT_EQ(lines.back().y1, selected ? 47 : 32);
        EXPECT_EQ(std::tuple(plan.back().text, plan.back().x1, plan.back().y1, plan.back().background),
                  std::tuple(shown, 3, 35, background));
    }
}

}  // namespace
}  // namespace dolvane
