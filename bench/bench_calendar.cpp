// Cost of the calendar on a list: filling the grid (the dates of the view, every shown day's to-do
// list and every shown to-do's bar row), and planning the paint of all its cells. One iteration
// is one fill, or one fill and the plans of the whole month view of 2026/12.
//
// "Crowded" puts every to-do within ten weeks of the shown month (a list that keeps years of open
// to-dos around today: thousands of items a day at 100,000 rows); "years" spreads them over three
// years. The sizes 10k..100k show how the cost grows with the items of a day: linearly.
#include "CalendarBenchRows.h"
#include "core/app/MainWindowModel.h"
#include "core/calendar/CalendarDrawing.h"
#include "core/calendar/CalendarModel.h"
#include "support/DiskFiles.h"
#include "support/FakePorts.h"
#include "support/TempFolder.h"

#include <benchmark/benchmark.h>

#include <cstddef>
#include <string>
#include <vector>

namespace dolvane {
namespace {

// `rowsChanged`: the rows' items are made afresh, as after an edit; otherwise they are reused,
// as by a step or a mode change.
void FillMonth(benchmark::State& state, int spreadDays, bool rowsChanged = false)
{
    const auto rows = bench::BuildRows(static_cast<std::size_t>(state.range(0)), spreadDays);
    CalendarModel model;
    std::size_t items = 0;
    for (auto _ : state) {
        if (rowsChanged) {
            model.RowsChanged();
        }
        model.SetCalendarReference("2026/12/07", rows);
        benchmark::DoNotOptimize(model.DayTodoLists());
    }
    for (std::size_t k = 0; k < model.DayTodoLists().Count(); ++k) {
        items += model.DayTodoLists().ItemsAt(k).size();
    }
    state.counters["day_items"] = static_cast<double>(items);
}

// Several years of to-dos, as a long-kept list holds them: a few dozen fall on each shown day.
void BM_FillMonth_YearsOfToDos(benchmark::State& state)
{
    FillMonth(state, 3 * 365);
}
BENCHMARK(BM_FillMonth_YearsOfToDos)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Every to-do within ten weeks of the shown month: hundreds to thousands of items per day.
void BM_FillMonth_Crowded(benchmark::State& state)
{
    FillMonth(state, 70);
}
BENCHMARK(BM_FillMonth_Crowded)->Arg(10000)->Arg(20000)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The same after an edit of the rows: every row's item is made and sorted again.
void BM_FillMonth_Crowded_AfterEdit(benchmark::State& state)
{
    FillMonth(state, 70, true);
}
BENCHMARK(BM_FillMonth_Crowded_AfterEdit)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// A fill followed by the plans of the whole month grid (42 cells): what the window does when the
// calendar is shown, stepped or switched to another mode. Text widths come from a fixed-width
// stand-in, so this is the model and the plans alone.
class FixedMeasure final : public TextMeasure {
public:
    int TextWidth(std::string_view text, int size, bool /*bold*/) const override
    {
        return static_cast<int>(text.size()) * (size - 3);
    }
    int TextHeight(std::string_view /*text*/, int size, bool /*bold*/) const override { return size + 3; }
};

// Plans every date cell of a month grid of 120 x 100 pixel cells, as one repaint does.
void PlanMonthGrid(const CalendarModel& model)
{
    static const HolidayCalendar holidays;
    static const FixedMeasure measure;
    const CalendarGridLayout layout = LayoutCalendarGrid(CalendarMode::Month, 7 * 120, 28 + 6 * 100);
    DateCellContext context;
    context.todayText = "2026/12/07";
    context.defaultColumnWidth = layout.defaultColumnWidth;
    context.defaultRowHeight = layout.defaultRowHeight;
    for (int row = 1; row < layout.rowCount; ++row) {
        for (int column = 0; column < CalendarModel::kColumns; ++column) {
            const int left = column * 121;
            const int top = 19 + (row - 1) * 101;
            const CalendarCell cell{column, row, {left, top, left + 120, top + 100}, false};
            benchmark::DoNotOptimize(PlanDateCell(model, holidays, cell, context, measure));
        }
    }
}

void PaintMonth(benchmark::State& state, int spreadDays)
{
    const auto rows = bench::BuildRows(static_cast<std::size_t>(state.range(0)), spreadDays);
    CalendarModel model;
    model.SetShowBarTexts(true);
    for (auto _ : state) {
        model.SetCalendarReference("2026/12/07", rows);
        PlanMonthGrid(model);
    }
}

void BM_FillAndPlanMonth_YearsOfToDos(benchmark::State& state)
{
    PaintMonth(state, 3 * 365);
}
BENCHMARK(BM_FillAndPlanMonth_YearsOfToDos)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_FillAndPlanMonth_Crowded(benchmark::State& state)
{
    PaintMonth(state, 70);
}
BENCHMARK(BM_FillAndPlanMonth_Crowded)->Arg(10000)->Arg(20000)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond);

// A click in the shown month at 2026/12/07 as the window makes it: a bar row of the current cell
// or an item of its day list selects that to-do (list selection, panel, highlight), and the whole
// grid is planned again for the repaint that follows. One iteration is one click and its plans.
void ClickInCalendar(benchmark::State& state, bool onBar)
{
    const test::TempFolder folder;
    test::FixedClock clock;
    clock.now = ParseDateTimeText("2026/12/07 12:00");
    test::ScriptedPrompts prompts;
    test::FakeSibling sibling;
    MainWindowModel window(DeriveProgramPaths(folder.Path() / "program", "bench", folder.Path() / "opt"),
                           MainWindowPorts{clock, prompts, sibling, test::DiskFiles(), nullptr, {}});
    window.Document().Rows() = bench::BuildRows(static_cast<std::size_t>(state.range(0)), 70);
    window.Document().Notify(&MainWindowObserver::RowsReset);
    CalendarController& calendar = window.Calendar();
    calendar.Show(true);
    int click = 0;
    for (auto _ : state) {
        if (onBar) {
            calendar.ClickBarRow(click % 4);
        } else {
            calendar.ClickDayListItem(click % 4);
        }
        ++click;
        PlanMonthGrid(calendar.Model());
    }
    state.counters["day_list"] = static_cast<double>(calendar.DayListItems().size());
}

void BM_ClickBarRow_Crowded(benchmark::State& state)
{
    ClickInCalendar(state, true);
}
BENCHMARK(BM_ClickBarRow_Crowded)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ClickDayListItem_Crowded(benchmark::State& state)
{
    ClickInCalendar(state, false);
}
BENCHMARK(BM_ClickDayListItem_Crowded)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dolvane
