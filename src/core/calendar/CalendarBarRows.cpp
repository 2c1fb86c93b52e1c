// Where the bar rows of a date cell lie, for the drawing and for the clicks alike.
#include "core/calendar/CalendarDrawing.h"

#include <algorithm>
#include <cstddef>

namespace dolvane {

int BarRows::RowAt(int y) const noexcept
{
    if (lineHeight <= 0) {
        return -1;
    }
    const int fromFirst = y - rowTop - rowExtra;
    // Rounded down, also above the cell's top, so that no y above a row reads as that row.
    const int lines = fromFirst >= 0 ? fromFirst / lineHeight : -((-fromFirst + lineHeight - 1) / lineHeight);
    return lines - 1;
}

int BarRows::Shown(int rowHeight, std::size_t neededRows) const noexcept
{
    if (lineHeight <= 0) {
        return 0;
    }
    // A row fits while its bar and labels, 3 pixels below its top, start within Available.
    int fitting = 0;
    while (static_cast<std::size_t>(fitting) < neededRows && Top(fitting) + 3 <= Available(rowHeight)) {
        ++fitting;
    }
    if (static_cast<std::size_t>(fitting) == neededRows) {
        return fitting;
    }
    return std::max(0, fitting - 1);
}

BarRows BarRowsFor(CalendarMode mode, const TextMeasure& measure)
{
    BarRows rows;
    rows.lineHeight = measure.TextHeight(kCalendarLineSample, kCalendarPointSize, true) + 2;
    if (mode != CalendarMode::Month) {
        rows.rowTop = 2;
        rows.rowExtra = 5;
    }
    return rows;
}

}  // namespace dolvane
