#pragma once

#include "core/calendar/DayItem.h"
#include "core/calendar/DayItemLists.h"
#include "core/store/RecordLine.h"
#include "core/store/ToDoRecord.h"
#include "core/time/DateTime.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dolvane {

// How many weeks the calendar shows, numbered as the view-mode button cycles them backwards.
enum class CalendarMode : std::int32_t { OneWeek = 0, TwoWeeks = 1, ThreeWeeks = 2, Month = 3 };

// Joins a day-list item's task and its row ("task@\@row"): the executor's end marker, which no
// field of a to-do can hold.
inline constexpr std::string_view kDayItemSeparator = kExecutorEnd;

// Sizes of the grid for a view mode in a grid of the given pixel size.
struct CalendarGridLayout {
    int rowCount = 7;  // header row included
    int defaultColumnWidth = 0;
    int defaultRowHeight = 0;
    int headerRowHeight = 18;

    friend bool operator==(const CalendarGridLayout&, const CalendarGridLayout&) = default;
};
CalendarGridLayout LayoutCalendarGrid(CalendarMode viewMode, int gridWidth, int gridHeight) noexcept;

// The calendar beside the to-do list: which dates the grid holds, each shown day's to-do items,
// the bar row each to-do keeps across the grid and the to-do whose bar is highlighted. Texts are
// cp932; dates are "yyyy/mm/dd".
class CalendarModel final {
public:
    static constexpr int kColumns = 7;
    using GridRow = std::array<std::string, kColumns>;

    CalendarModel();

    // Builds the grid around `refText`: the month holding it, or the weeks from the Sunday on or
    // before it. An unreadable reference leaves everything as it was and returns false.
    bool SetCalendarReference(std::string_view refText, const std::vector<ToDoRecord>& rows);
    // Writes the dates from `firstDate` into the grid, rebuilds the day lists, gives every shown
    // to-do its bar row and lists the current cell's bars.
    void FillCalendarGrid(DateTime firstDate, const std::vector<ToDoRecord>& rows);

    // The rows' texts changed: the next fill makes their items afresh. Until then fills reuse the
    // items made from the same rows (a step or a mode change does not touch the rows).
    void RowsChanged() noexcept { itemsValid_ = false; }

    // The reference date the back or forward button goes to; "" when the step would leave years
    // 1 to 9999 (a step back in weeks stops at the week of 0001/01/01 first).
    std::string StepCalendar(bool forward, bool weekStepSeven) const;

    // The bar row the fill gave the to-do of list index `row`; -1 when it has none.
    int BarSlotOf(std::uint32_t row) const noexcept;
    // Whether the to-do of list index `row` is in the day list of `dateText`.
    bool PresentOn(std::string_view dateText, std::uint32_t row) const;

    // Makes the first cell whose date is `dateText` the current cell; false when none matches.
    bool SelectCalendarDate(std::string_view dateText);
    // Makes (column, row) the current cell and lists its bars.
    void SetCurrentCell(int column, int row);
    int CurrentColumn() const noexcept { return currentColumn_; }
    int CurrentRow() const noexcept { return currentRow_; }
    // The current cell's bars by row: entry k is the list index of the to-do on bar row k, or -1
    // for a row no to-do of the day holds.
    const std::vector<std::int32_t>& CurrentCellBars() const noexcept { return currentCellBars_; }

    // The to-do whose bar is highlighted in the current cell wherever the grid moves: the one the
    // editing panel shows after a click in the calendar. None: no highlight.
    std::optional<std::uint32_t> SelectedToDo() const noexcept { return selectedToDo_; }
    void SetSelectedToDo(std::optional<std::uint32_t> row) noexcept { selectedToDo_ = row; }
    // The bar row of the highlighted to-do in the current cell; -1 when it has none there.
    int SelectedBarRow() const noexcept;

    // Texts of the grid: row 0 the weekday names, rows 1.. the dates (the month view keeps a
    // seventh week that is never shown). A cell before 0001/01/01 or after 9999/12/31 is "": no
    // date and no day list.
    const std::vector<GridRow>& Cells() const noexcept { return cells_; }
    const std::string& CellText(int column, int row) const;
    // The date of the current cell.
    const std::string& CurrentDate() const { return CellText(currentColumn_, currentRow_); }
    // "yyyy/mm" of the shown range, for the caption above the day list.
    std::string CaptionText() const { return rangeStartText_.substr(0, 7); }
    // Date of the day before and after `dateText`; "" outside years 1 to 9999.
    static std::string NeighbourDate(std::string_view dateText, int offset);

    const DayItemLists& DayTodoLists() const noexcept { return dayTodoLists_; }
    CalendarMode ViewMode() const noexcept { return viewMode_; }
    void SetViewMode(CalendarMode mode) noexcept { viewMode_ = mode; }
    const std::string& CalendarRefDateText() const noexcept { return calendarRefDateText_; }
    const std::string& RangeStartText() const noexcept { return rangeStartText_; }
    const std::string& FirstCellDateText() const noexcept { return firstCellDateText_; }
    // Month 1..12 of the first date handed to the fill.
    std::int32_t DisplayedMonth() const noexcept { return displayedMonth_; }
    // Timer ticks left during which holiday names are drawn.
    std::int32_t HolidayNameTicks() const noexcept { return holidayNameTicks_; }
    void SetHolidayNameTicks(std::int32_t ticks) noexcept { holidayNameTicks_ = ticks; }
    // Bars get their time and task labels.
    bool ShowBarTexts() const noexcept { return showBarTexts_; }
    void SetShowBarTexts(bool show) noexcept { showBarTexts_ = show; }

private:
    // Writes the dates of `cellCount` cells from `firstDate` into the grid; returns them followed
    // by the day before and the day after them.
    std::vector<std::string> PlaceDates(DateTime firstDate, std::size_t cellCount);
    // The run of stored dates (positions in `ordered`) each to-do of the rows covers, in calendar
    // order.
    struct Candidate {
        std::uint32_t item;  // into items_
        std::size_t first;
        std::size_t last;  // inclusive
    };
    std::vector<Candidate> FindRuns(const std::vector<std::string_view>& ordered,
                                    const std::vector<ToDoRecord>& rows) const;
    // Stores each day's items (`ordered` is [before, cells..., after]; `datedCells` of the cells
    // have a date) and every to-do's run of days.
    void StoreDayLists(const std::vector<std::string_view>& ordered, std::size_t datedCells,
                       const std::vector<Candidate>& candidates, std::size_t rowCount);

    // The cells a to-do covers, as positions in the grid (0 = first date cell, row by row).
    struct CellRun {
        std::uint32_t row;
        std::size_t first;
        std::size_t last;  // inclusive
    };
    std::vector<CellRun> PaintedRuns(const std::vector<Candidate>& candidates, std::size_t paintedCells) const;
    // Gives every to-do of the first `cellCount` cells its bar row, as they are painted: cells row
    // by row, left to right, each day's items in order (`runs` is in that item order); a to-do
    // met for the first time takes the lowest row free on that day and keeps it on every day it
    // covers. Linear in the number of items shown.
    void AssignBarSlots(const std::vector<CellRun>& runs, std::size_t cellCount);
    void ListCurrentCellBars();

    // The rows' items and their calendar order, made once per change of the rows.
    void CollectItems(const std::vector<ToDoRecord>& rows);
    // What the fill needs of a row besides its item: its dates as numbers (yyyymmdd; -1 for a text
    // of another shape, compared as text then).
    struct ItemDates {
        std::int32_t startKey = -1;
        std::int32_t deadlineKey = -1;
        bool hasDeadline = false;
    };
    std::shared_ptr<const std::vector<DayItem>> items_;  // in list order
    std::vector<ItemDates> itemDates_;                   // beside items_
    std::vector<std::uint32_t> itemOrder_;               // indexes into items_, in calendar order
    bool itemsValid_ = false;
    const ToDoRecord* itemsFrom_ = nullptr;
    std::size_t itemsRowCount_ = 0;

    // What the last fill found for each to-do, by its list index: its bar row and the first and
    // last of the stored dates it is present on (positions in `storedDates_`).
    struct Placement {
        std::int32_t slot = -1;
        std::int32_t first = -1;  // -1: not on any stored date
        std::int32_t last = -1;
    };
    const Placement* PlacementOf(std::uint32_t row) const noexcept;
    std::vector<Placement> placements_;
    std::vector<std::string> storedDates_;  // every date with a list, in date (= text) order

    CalendarMode viewMode_ = CalendarMode::Month;
    std::string calendarRefDateText_;
    std::string rangeStartText_;
    std::string firstCellDateText_;
    std::int32_t displayedMonth_ = 0;
    DayItemLists dayTodoLists_;
    std::vector<std::int32_t> currentCellBars_;
    std::optional<std::uint32_t> selectedToDo_;
    std::int32_t holidayNameTicks_ = 0;
    bool showBarTexts_ = false;
    int currentColumn_ = 0;
    int currentRow_ = 1;
    std::vector<GridRow> cells_;
};

}  // namespace dolvane
