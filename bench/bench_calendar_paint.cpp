// Cost of one full repaint of the calendar grid in the window's font (offscreen): the plans of
// 49 cells replayed on a QPainter, text widths measured by Qt. One iteration is one repaint of
// the month view of 2026/12 (900 x 700 grid), filled beforehand; painting only reads the model.
// Crowded: every to-do within ten weeks of the month; years: spread over three years.
#include "CalendarBenchRows.h"
#include "core/calendar/CalendarModel.h"
#include "ui/calendar/CalendarPainter.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace dolvane {
namespace {

void RepaintMonth(benchmark::State& state, int spreadDays)
{
    const auto rows = bench::BuildRows(static_cast<std::size_t>(state.range(0)), spreadDays);
    CalendarModel model;
    model.SetCalendarReference("2026/12/07", rows);
    model.SetShowBarTexts(true);
    const HolidayCalendar holidays;
    const CalendarGridLayout layout = LayoutCalendarGrid(CalendarMode::Month, 900, 700);
    DateCellContext context;
    context.todayText = "2026/12/07";
    context.defaultColumnWidth = layout.defaultColumnWidth;
    context.defaultRowHeight = layout.defaultRowHeight;
    QImage image(900, 700, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        PaintCalendarGrid(painter, model, holidays, layout, context);
    }
}
void BM_RepaintMonth_YearsOfToDos(benchmark::State& state)
{
    RepaintMonth(state, 3 * 365);
}
BENCHMARK(BM_RepaintMonth_YearsOfToDos)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_RepaintMonth_Crowded(benchmark::State& state)
{
    RepaintMonth(state, 70);
}
BENCHMARK(BM_RepaintMonth_Crowded)->Arg(10000)->Arg(20000)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dolvane

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
