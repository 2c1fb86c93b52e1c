#pragma once

#include "core/calendar/CalendarDrawing.h"
#include "ui/widgets/Colours.h"

#include <QColor>
#include <QFont>

#include <optional>
#include <utility>

class QPainter;

namespace dolvane {

// The calendar's font at a point size (the classic 96 dots per inch: 9 points are 12 pixels).
QFont CalendarFont(int pointSize, bool bold);

// Measures texts in the calendar's own font.
class FontTextMeasure final : public TextMeasure {
public:
    int TextWidth(std::string_view cp932, int pointSize, bool bold) const override;
    int TextHeight(std::string_view cp932, int pointSize, bool bold) const override;
};

// Replays a plan, step by step, on the painter.
void PaintPlan(QPainter& painter, const DrawingPlan& plan);

// The rectangle of a grid cell: columns `layout.defaultColumnWidth` wide and rows
// `layout.defaultRowHeight` high below a header of `layout.headerRowHeight`, one grid line apart.
PixelRect CalendarCellRect(const CalendarGridLayout& layout, int column, int row);
// The (column, row) under a point of the grid, or nothing outside the cells.
std::optional<std::pair<int, int>> CalendarCellAt(const CalendarGridLayout& layout, int x, int y);

// Paints the whole grid the way the grid widget does: the header row, then the date cells row by
// row, left to right (the order the bar rows are handed out in). Columns are
// `layout.defaultColumnWidth` wide and rows `layout.defaultRowHeight` high below a header of
// `layout.headerRowHeight`; the model's current cell is painted selected.
void PaintCalendarGrid(QPainter& painter, const CalendarModel& model, const HolidayCalendar& holidays,
                       const CalendarGridLayout& layout, const DateCellContext& context);

}  // namespace dolvane
