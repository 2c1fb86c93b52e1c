// Cost of one full repaint of the calendar grid in the window's font (offscreen): the plans of
// 49 cells replayed on a QPainter, text widths measured by Qt. One iteration is one repaint of
// the month view of 2026/12 (900 x 700 grid).
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

void BM_RepaintMonth(benchmark::State& state)
{
    const auto rows = bench::BuildRows(static_cast<std::size_t>(state.range(0)), 3 * 365);
    CalendarModel model;
    model.SetCalendarReference("2026/12/07", rows);
    model.ShowBarTexts = true;
    const HolidayCalendar holidays;
    const CalendarGridLayout layout = LayoutCalendarGrid(CalendarMode::Month, 900, 700);
    DateCellContext context;
    context.todayText = "2026/12/07";
    context.defaultColumnWidth = layout.defaultColumnWidth;
    context.defaultRowHeight = layout.defaultRowHeight;
    QImage image(900, 700, QImage::Format_RGB32);
    for (auto _ : state) {
        model.BarSlots.Clear();
        QPainter painter(&image);
        PaintCalendarGrid(painter, model, holidays, layout, context);
    }
}
BENCHMARK(BM_RepaintMonth)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

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
