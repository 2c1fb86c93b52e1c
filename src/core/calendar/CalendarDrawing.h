#pragma once

#include "core/calendar/CalendarModel.h"
#include "core/calendar/Holidays.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dolvane {

// Colours of the calendar grid and the day list, 0x00BBGGRR. The bar's own frame and fill come
// from the settings (BarFrameColor, BarFillColor).
inline constexpr std::uint32_t kHeaderBackgroundColour = 0xF0F0F0;
inline constexpr std::uint32_t kHeaderShadowColour = 0xE0E0E0;
inline constexpr std::uint32_t kDayTextColour = 0x505050;  // also the weekday names Monday to Friday
inline constexpr std::uint32_t kSundayHeaderColour = 0x0000FF;
inline constexpr std::uint32_t kSaturdayHeaderColour = 0xFF0000;
inline constexpr std::uint32_t kSundayBackgroundColour = 0xECECFF;
inline constexpr std::uint32_t kSaturdayBackgroundColour = 0xFFECD9;
inline constexpr std::uint32_t kShownMonthBackgroundColour = 0xACFFFF;
inline constexpr std::uint32_t kOtherDateBackgroundColour = 0xFFFFFF;
inline constexpr std::uint32_t kPlainHolidayBackgroundColour = 0xD7E0FF;
inline constexpr std::uint32_t kMarkedHolidayBackgroundColour = 0xF0DDEC;
inline constexpr std::uint32_t kOtherHolidayBackgroundColour = 0x95E4FF;  // "&" days and ordinary holidays
inline constexpr std::uint32_t kTodayBackgroundColour = 0x6AE8CB;
inline constexpr std::uint32_t kSelectedCellBackgroundColour = 0x9F5000;
inline constexpr std::uint32_t kSelectedCellTextColour = 0xFFFFFF;
inline constexpr std::uint32_t kTodayMarkShadowColour = 0x303030;
inline constexpr std::uint32_t kTodayMarkColour = 0xFF8080;
inline constexpr std::uint32_t kHolidayNameColour = 0x0000FF;
inline constexpr std::uint32_t kMarkedHolidayNameColour = 0x800080;
inline constexpr std::uint32_t kSecondMarkedHolidayNameColour = 0xFF0000;
inline constexpr std::uint32_t kMoreHolidaysMarkColour = 0xFF0000;
inline constexpr std::uint32_t kDeadlineTimeColour = 0x800080;
inline constexpr std::uint32_t kEndingStartTimeColour = 0x008000;      // the bar ends on this day
inline constexpr std::uint32_t kContinuingStartTimeColour = 0xFF0000;  // the bar goes on
inline constexpr std::uint32_t kBarLabelTextColour = 0x000000;         // the grid's own font colour
inline constexpr std::uint32_t kHighlightedBarRowFillColour = 0x8000FF;
inline constexpr std::uint32_t kHighlightedBarRowFrameColour = 0x5B2E00;
inline constexpr std::uint32_t kBarInnerLineColour = 0xFFFFFF;
inline constexpr std::uint32_t kDayListSeparatorColour = 0xC0C0C0;
inline constexpr std::uint32_t kDayListBackgroundColour = 0xFFFFFF;
inline constexpr std::uint32_t kDayListTextColour = 0x000000;
inline constexpr std::uint32_t kDayListSelectedBackgroundColour = 0x800000;
inline constexpr std::uint32_t kDayListSelectedTextColour = 0xFFFFFF;

// Font sizes in points: the day number is drawn larger than everything else in a cell.
inline constexpr int kDayTextPointSize = 10;
inline constexpr int kCalendarPointSize = 9;
// The text whose height, at that size, sets the height of a line in a cell.
inline constexpr std::string_view kCalendarLineSample = "H";

// Text metrics of the calendar's font, in pixels. The window measures with the real font; tests
// use fixed widths so that positions can be worked out by hand.
class TextMeasure {
public:
    virtual ~TextMeasure() = default;
    virtual int TextWidth(std::string_view cp932, int pointSize, bool bold) const = 0;
    virtual int TextHeight(std::string_view cp932, int pointSize, bool bold) const = 0;
};

// Where the bar rows of a date cell lie, in pixels from the cell's top. Row `slot` spans
// [Top(slot), Top(slot) + lineHeight): the drawing puts its bar there, and a click is read back
// through RowAt, so a click always selects the row drawn under it.
struct BarRows {
    int lineHeight = 0;  // text height of "H" at the bars' size, bold as the day text leaves it, + 2
    int rowTop = 0;      // week views start the rows 2 pixels lower...
    int rowExtra = 0;    // ...and 5 more, while only the 2 count against the cell's height

    int Top(int slot) const noexcept { return lineHeight * (slot + 1) + rowTop + rowExtra; }
    // The row under `y`; -1 or below for the day number's line and above.
    int RowAt(int y) const noexcept;
    // The lowest row top whose bar still fits a cell of the grid's default row height.
    int Available(int rowHeight) const noexcept { return rowHeight - lineHeight - rowTop; }
    // How many rows from the top a cell of the grid's default row height shows when its day needs
    // `neededRows`. A day that does not fit gives its last fitting row up to the "+N" of the rows
    // left out, so that the count covers no label and a click there selects nothing unseen.
    int Shown(int rowHeight, std::size_t neededRows) const noexcept;
};
BarRows BarRowsFor(CalendarMode mode, const TextMeasure& measure);

// A rectangle in pixels of the widget; right and bottom lie just outside it.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const noexcept { return right - left; }
    int Height() const noexcept { return bottom - top; }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

enum class DrawKind { FillRect, FrameRect, Line, Pixel, Text };

// One step of painting, replayed in order on the widget's painter.
//   FillRect:  (x1, y1)-(x2, y2) as a PixelRect, filled with `colour`.
//   FrameRect: a one-pixel frame just inside that rectangle.
//   Line:      from (x1, y1) towards (x2, y2); the end point itself is not drawn, so a line of
//              zero length draws nothing.
//   Pixel:     the single pixel (x1, y1).
//   Text:      `text` (cp932) with the top left of its box at (x1, y1); when `opaque`, the box
//              behind the text is first filled with `background`.
struct DrawOp {
    DrawKind kind = DrawKind::FillRect;
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    std::uint32_t colour = 0;
    std::string text;
    int pointSize = kCalendarPointSize;
    bool bold = false;
    bool opaque = false;
    std::uint32_t background = 0;

    PixelRect Rect() const noexcept { return {x1, y1, x2, y2}; }
    friend bool operator==(const DrawOp&, const DrawOp&) = default;
};

using DrawingPlan = std::vector<DrawOp>;

// A grid cell to paint: its place in the grid, its rectangle and whether the grid shows it
// selected.
struct CalendarCell {
    int column = 0;
    int row = 0;
    PixelRect rect;
    bool selected = false;
};

// What a date cell's painting needs besides the model and the holidays.
struct DateCellContext {
    std::string todayText;                    // "yyyy/mm/dd"
    std::uint32_t barFillColour = 0x0000FF;   // the settings' BarFillColor
    std::uint32_t barFrameColour = 0x008000;  // the settings' BarFrameColor
    // The grid's default column width and row height: the bar geometry is laid out on these,
    // whatever the size of the individual cell.
    int defaultColumnWidth = 0;
    int defaultRowHeight = 0;
};

// The weekday name of header column `column` (0 = Sunday), with a light shadow.
DrawingPlan PlanHeaderCell(int column, std::string_view text, const PixelRect& rect, const TextMeasure& measure);

// A date cell: background by weekday, month, holiday, today and selection; the today mark; the
// day number; a bar per to-do of the day with its progress and labels; and the holiday name while
// the model's HolidayNameTicks runs. Painting only reads the model: the bar rows were given out
// by the grid's fill, so cells may be painted in any order.
DrawingPlan PlanDateCell(const CalendarModel& model, const HolidayCalendar& holidays, const CalendarCell& cell,
                         const DateCellContext& context, const TextMeasure& measure);

// One line of the day list: the to-do's text up to the first "@\@" between separator lines.
DrawingPlan PlanDayListItem(std::string_view itemText, const PixelRect& rect, bool selected, bool isLast);

}  // namespace dolvane
