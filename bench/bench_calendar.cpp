// Cost of filling the calendar grid: the dates of the view and every shown day's to-do list,
// built from the rows. One iteration is one fill of the month view of 2026/12.
#include "CalendarBenchRows.h"
#include "core/calendar/CalendarDrawing.h"
#include "core/calendar/CalendarModel.h"

#include <benchmark/benchmark.h>

#include <cstddef>
#include <string>
#include <vector>

namespace dolvane {
namespace {

void FillMonth(benchmark::State& state, int spreadDays)
{
    const auto rows = bench::BuildRows(static_cast<std::size_t>(state.range(0)), spreadDays);
    CalendarModel model;
    std::size_t items = 0;
    for (auto _ : state) {
        model.SetCalendarReference("2026/12/07", rows);
        benchmark::DoNotOptimize(model.DayTodoLists);
    }
    for (const auto& entry : model.DayTodoLists.Entries()) {
        items += SplitDayItems(NameValueList::ValueOf(entry)).size();
    }
    state.counters["day_items"] = static_cast<double>(items);
}

// Several years of to-dos, as a long-kept list holds them: a few dozen fall on each shown day.
void BM_FillMonth_YearsOfToDos(benchmark::State& state)
{
    FillMonth(state, 3 * 365);
}
BENCHMARK(BM_FillMonth_YearsOfToDos)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Every to-do within ten weeks of the shown month: hundreds to thousands of items per day.
void BM_FillMonth_Crowded(benchmark::State& state)
{
    FillMonth(state, 70);
}
BENCHMARK(BM_FillMonth_Crowded)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Planning the paint of a whole month grid (42 cells, row by row) after a fill: what the window
// does on every repaint. Text widths come from a fixed-width stand-in, so this is the plan alone.
class FixedMeasure final : public TextMeasure {
public:
    int TextWidth(std::string_view text, int size, bool /*bold*/) const override
    {
        return static_cast<int>(text.size()) * (size - 3);
    }
    int TextHeight(std::string_view /*text*/, int size, bool /*bold*/) const override { return size + 3; }
};

void PaintMonth(benchmark::State& state, int spreadDays)
{
    const auto rows = bench::BuildRows(static_cast<std::size_t>(state.range(0)), spreadDays);
    CalendarModel model;
    model.SetCalendarReference("2026/12/07", rows);
    model.ShowBarTexts = true;
    const HolidayCalendar holidays;
    const FixedMeasure measure;
    const CalendarGridLayout layout = LayoutCalendarGrid(CalendarMode::Month, 7 * 120, 28 + 6 * 100);
    DateCellContext context;
    context.todayText = "2026/12/07";
    context.defaultColumnWidth = layout.defaultColumnWidth;
    context.defaultRowHeight = layout.defaultRowHeight;
    for (auto _ : state) {
        model.BarSlots.Clear();
        for (int row = 1; row < layout.rowCount; ++row) {
            for (int column = 0; column < CalendarModel::kColumns; ++column) {
                const int left = column * 121;
                const int top = 19 + (row - 1) * 101;
                const CalendarCell cell{column, row, {left, top, left + 120, top + 100}, false};
                benchmark::DoNotOptimize(PlanDateCell(model, holidays, cell, context, measure));
            }
        }
    }
}

void BM_PlanMonth_YearsOfToDos(benchmark::State& state)
{
    PaintMonth(state, 3 * 365);
}
BENCHMARK(BM_PlanMonth_YearsOfToDos)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_PlanMonth_Crowded(benchmark::State& state)
{
    PaintMonth(state, 70);
}
BENCHMARK(BM_PlanMonth_Crowded)->Arg(1000)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dolvane
