#include "ui/calendar/CalendarPainter.h"

#include "ui/widgets/Cp932Text.h"
#include "ui/widgets/JapaneseFont.h"

#include <QFontMetrics>
#include <QPainter>

namespace dolvane {
namespace {

int PixelSizeOf(int pointSize)
{
    return (pointSize * 96 + 36) / 72;
}

constexpr std::uint32_t kGridLineColour = 0xC0C0C0;

int Step(int from, int to)
{
    return to > from ? 1 : (to < from ? -1 : 0);
}

}  // namespace

QFont CalendarFont(int pointSize, bool bold)
{
    return JapaneseFont(PixelSizeOf(pointSize), bold);
}

int FontTextMeasure::TextWidth(std::string_view cp932, int pointSize, bool bold) const
{
    return QFontMetrics(CalendarFont(pointSize, bold)).horizontalAdvance(FromCp932(cp932));
}

int FontTextMeasure::TextHeight(std::string_view /*cp932*/, int pointSize, bool bold) const
{
    return QFontMetrics(CalendarFont(pointSize, bold)).height();
}

void PaintPlan(QPainter& painter, const DrawingPlan& plan)
{
    painter.save();
    for (const DrawOp& op : plan) {
        const QColor colour = ColourOf(op.colour);
        switch (op.kind) {
        case DrawKind::FillRect:
            painter.fillRect(QRect(op.x1, op.y1, op.x2 - op.x1, op.y2 - op.y1), colour);
            break;
        case DrawKind::FrameRect:
            painter.setPen(colour);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRect(op.x1, op.y1, op.x2 - op.x1 - 1, op.y2 - op.y1 - 1));
            break;
        case DrawKind::Line:
            // The end point is not part of the line.
            if (op.x1 != op.x2 || op.y1 != op.y2) {
                painter.setPen(colour);
                painter.drawLine(op.x1, op.y1, op.x2 - Step(op.x1, op.x2), op.y2 - Step(op.y1, op.y2));
            }
            break;
        case DrawKind::Pixel:
            painter.setPen(colour);
            painter.drawPoint(op.x1, op.y1);
            break;
        case DrawKind::Text: {
            const QFont font = CalendarFont(op.pointSize, op.bold);
            const QFontMetrics metrics(font);
            const QString text = FromCp932(op.text);
            if (op.opaque) {
                painter.fillRect(QRect(op.x1, op.y1, metrics.horizontalAdvance(text), metrics.height()),
                                 ColourOf(op.background));
            }
            painter.setFont(font);
            painter.setPen(colour);
            painter.drawText(op.x1, op.y1 + metrics.ascent(), text);
            break;
        }
        }
    }
    painter.restore();
}

PixelRect CalendarCellRect(const CalendarGridLayout& layout, int column, int row)
{
    // Cells sit one grid line apart.
    const int left = column * (layout.defaultColumnWidth + 1);
    if (row == 0) {
        return {left, 0, left + layout.defaultColumnWidth, layout.headerRowHeight};
    }
    const int top = layout.headerRowHeight + 1 + (row - 1) * (layout.defaultRowHeight + 1);
    return {left, top, left + layout.defaultColumnWidth, top + layout.defaultRowHeight};
}

std::optional<std::pair<int, int>> CalendarCellAt(const CalendarGridLayout& layout, int x, int y)
{
    if (x < 0 || y < 0) {
        return std::nullopt;
    }
    const int column = x / (layout.defaultColumnWidth + 1);
    const int row =
        y <= layout.headerRowHeight ? 0 : 1 + (y - layout.headerRowHeight - 1) / (layout.defaultRowHeight + 1);
    if (column >= CalendarModel::kColumns || row >= layout.rowCount) {
        return std::nullopt;
    }
    return std::pair{column, row};
}

void PaintCalendarGrid(QPainter& painter, const CalendarModel& model, const HolidayCalendar& holidays,
                       const CalendarGridLayout& layout, const DateCellContext& context)
{
    const FontTextMeasure measure;
    const PixelRect last = CalendarCellRect(layout, CalendarModel::kColumns - 1, layout.rowCount - 1);
    painter.fillRect(QRect(0, 0, last.right + 1, last.bottom + 1), ColourOf(kGridLineColour));
    for (int column = 0; column < CalendarModel::kColumns; ++column) {
        PaintPlan(painter,
                  PlanHeaderCell(column, model.CellText(column, 0), CalendarCellRect(layout, column, 0), measure));
    }
    // Row by row, left to right: the order in which the bars get their rows.
    for (int row = 1; row < layout.rowCount; ++row) {
        for (int column = 0; column < CalendarModel::kColumns; ++column) {
            CalendarCell cell;
            cell.column = column;
            cell.row = row;
            cell.rect = CalendarCellRect(layout, column, row);
            cell.selected = column == model.CurrentColumn() && row == model.CurrentRow();
            PaintPlan(painter, PlanDateCell(model, holidays, cell, context, measure));
        }
    }
}

}  // namespace dolvane
