#pragma once

#include "core/calendar/DayItemLists.h"
#include "core/store/RecordLine.h"
#include "core/store/ToDoRecord.h"
#include "core/text/NameValueList.h"
#include "core/time/DateTime.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace dolvane {

// How many weeks the calendar shows, numbered as the view-mode button cycles them backwards.
enum class CalendarMode : std::int32_t { OneWeek = 0, TwoWeeks = 1, ThreeWeeks = 2, Month = 3 };

// Joins the items of one day's list: the executor's end marker, which no field of a to-do can hold.
inline constexpr std::string_view kDayItemSeparator = kExecutorEnd;

// Fixed positions (0-based) of a day item: "iiiii" "yyyy/mm/dd" "fff" "hh:nn" "hh:nn" head...
struct DayItemLayout {
    static constexpr std::size_t kIndex = 0;
    static constexpr std::size_t kIndexLength = 5;
    static constexpr std::size_t kProgressDate = 5;
    static constexpr std::size_t kProgressFraction = 15;
    static constexpr std::size_t kStartTime = 18;
    static constexpr std::size_t kDeadlineTime = 23;
    static constexpr std::size_t kHead = 28;
    static constexpr std::size_t kHeadLength = 20;
};

// The deadline time of an item whose to-do has no deadline.
inline constexpr std::string_view kNoDeadlineTime = "99099";

// "yyyy/mm/dd" as the number yyyymmdd, or -1 when the text has another shape. Numbers of such
// texts order as the texts do.
std::int32_t DateKeyOf(std::string_view text);

// Day of a month clamped to the month's length; `fits` tells whether it needed no clamping.
struct ClampedDay {
    bool fits = true;
    int clampedDay = 1;

    friend bool operator==(const ClampedDay&, const ClampedDay&) = default;
};
ClampedDay DaysInMonth(int year, int month, int day) noexcept;

// Sizes of the grid for a view mode in a grid of the given pixel size.
struct CalendarGridLayout {
    int rowCount = 7;  // header row included
    int defaultColumnWidth = 0;
    int defaultRowHeight = 0;
    int headerRowHeight = 18;

    friend bool operator==(const CalendarGridLayout&, const CalendarGridLayout&) = default;
};
CalendarGridLayout LayoutCalendarGrid(CalendarMode viewMode, int gridWidth, int gridHeight) noexcept;

// The day item of one to-do (sort prefix included, see BuildDayTodoList); empty when the to-do
// has no place in the calendar (no start, or dates that cannot be read).
std::string DayItemWithSortPrefix(const ToDoRecord& row, std::size_t index);

// The joined items of the to-dos present on `dateText` ("yyyy/mm/dd"), in the calendar's order:
// to-dos spanning several days first, then higher importance, then lower list index. Scans every
// row; the grid fill uses an index instead and gives the same texts.
std::string BuildDayTodoList(const std::vector<ToDoRecord>& rows, std::string_view dateText);

// The items of a joined day list, in order.
std::vector<std::string_view> SplitDayItems(std::string_view list);

// The calendar beside the to-do list: which dates the grid holds, each shown day's to-do items
// and the bar row each to-do keeps across the grid. All texts are cp932; dates are "yyyy/mm/dd".
class CalendarModel final {
public:
    static constexpr int kColumns = 7;
    using GridRow = std::array<std::string, kColumns>;

    CalendarModel();

    // Builds the grid around `refText`: the month holding it, or the weeks from the Sunday on or
    // before it. An unreadable reference leaves everything as it was and returns false.
    bool SetCalendarReference(std::string_view refText, const std::vector<ToDoRecord>& rows);
    // Writes the dates from `firstDate` into the grid, rebuilds the day lists and gives every
    // shown to-do its bar row (BarSlots), and lists the current cell's rows.
    void FillCalendarGrid(DateTime firstDate, const std::vector<ToDoRecord>& rows);

    // The rows' texts changed: the next fill makes their items afresh. Until then fills reuse the
    // items made from the same rows (a step or a mode change does not touch the rows).
    void RowsChanged() noexcept { itemsValid_ = false; }

    // The reference date the back or forward button goes to; "" when the step would leave years
    // 1 to 9999 (a step back in weeks stops at the week of 0001/01/01 first).
    std::string StepCalendar(bool forward, bool weekStepSeven) const;

    // The bar row of the to-do of `indexText` (-1 when it has none), given out by the fill.
    int BarSlotOf(std::string_view indexText) const;
    // The position of the to-do of `indexText` in the day list of `dateText`, or -1.
    int IndexInDayList(std::string_view dateText, std::string_view indexText) const;
    // Whether the to-do of `indexText` is in the day list of `dateText` (IndexInDayList != -1),
    // answered from the fill's record of each to-do's days without a look at the lists.
    bool PresentOn(std::string_view dateText, std::string_view indexText) const;

    // Makes the first cell whose date is `dateText` the current cell; false when none matches.
    bool SelectCalendarDate(std::string_view dateText);
    // Makes (column, row) the current cell and lists its bar rows in CurrentCellBarRows.
    void SetCurrentCell(int column, int row);
    // Sorts CurrentCellBarRows and fills the slots below the highest with "-1" placeholders, so
    // that position k is slot k.
    void NormaliseCurrentCellBarRows();

    // Texts of the grid: row 0 the weekday names, rows 1.. the dates (the month view keeps a
    // seventh week that is never shown). A cell before 0001/01/01 or after 9999/12/31 is "": no
    // date and no day list.
    const std::vector<GridRow>& Cells() const noexcept { return cells_; }
    const std::string& CellText(int column, int row) const;
    // "yyyy/mm" of the shown range, for the caption above the day list.
    std::string CaptionText() const { return RangeStartText.substr(0, 7); }
    // Date of the day before and after `dateText`; "" outside years 1 to 9999.
    static std::string NeighbourDate(std::string_view dateText, int offset);

    CalendarMode CalendarViewMode = CalendarMode::Month;
    std::string CalendarRefDateText;
    std::string RangeStartText;
    std::string FirstCellDateText;
    std::int32_t DisplayedMonth = 0;
    DayItemLists DayTodoLists;
    NameValueList BarSlots;
    NameValueList CurrentCellBarRows;
    std::int32_t SelectedBarRow = -1;
    std::int32_t HolidayNameTicks = 0;
    bool ShowBarTexts = false;
    // The grid's current cell (column, row).
    int CurrentColumn = 0;
    int CurrentRow = 1;

private:
    // The cells a to-do covers, as positions in the grid (0 = first date cell, row by row).
    struct CellRun {
        std::string_view key;  // the item's list index, "iiiii"
        std::size_t first;
        std::size_t last;  // inclusive
    };
    // Gives every to-do of the first `cellCount` cells its bar row, as they are painted: cells row
    // by row, left to right, each day's items in order (`runs` is in that item order); a to-do
    // met for the first time takes the lowest row free on that day and keeps it on every day it
    // covers. Linear in the number of items shown.
    void AssignBarSlots(const std::vector<CellRun>& runs, std::size_t cellCount);
    // CurrentCellBarRows for the current cell: "ss=iiiii" per item of its day, in list order.
    void ListCurrentCellBarRows();

    // A row's item (without its sort prefix, in itemTexts_ at the same position), with what the
    // fill needs to place it. The items are made from the rows the fill is given, so a date that
    // needs its text is read from the row.
    struct ListedItem {
        std::uint32_t row = 0;
        // The dates as yyyymmdd numbers, which order as the texts do; -1 for a text that is not
        // "dddd/dd/dd" (compared as text then).
        std::int32_t startKey = -1;
        std::int32_t deadlineKey = -1;
        std::uint8_t order = 0;  // the sort prefix: single-day flag and inverted importance
        bool hasDeadline = false;
    };
    void CollectItems(const std::vector<ToDoRecord>& rows);
    std::vector<ListedItem> items_;  // in list order
    std::shared_ptr<const DayItemTexts> itemTexts_;
    std::vector<std::uint32_t> itemOrder_;  // indexes into items_, in calendar order
    bool itemsValid_ = false;
    const ToDoRecord* itemsFrom_ = nullptr;
    std::size_t itemsRowCount_ = 0;

    // What the last fill found for each to-do, by its list index: its bar row and the first and
    // last of the stored dates it is present on (positions in `storedDates_`). Valid while
    // DayTodoLists and BarSlots are as the fill left them; a hand edit falls back to the lists.
    struct Placement {
        std::int32_t slot = -1;
        std::int32_t first = -1;  // -1: not on any stored date
        std::int32_t last = -1;
    };
    const Placement* PlacementOf(std::string_view indexText) const;
    std::vector<Placement> placements_;
    std::vector<std::string> storedDates_;  // every date with a list, in date (= text) order
    std::uint64_t placedDayRevision_ = ~std::uint64_t{0};
    std::uint64_t placedSlotRevision_ = ~std::uint64_t{0};

    // Lookups the painting makes for every item of every cell, answered from indexes that are
    // built once per change of DayTodoLists and BarSlots instead of splitting and scanning the
    // lists each time. Each index remembers the revision of the list it was built from.
    using Positions = std::unordered_map<std::string_view, int>;  // to-do index -> position
    const Positions& DayPositions(std::string_view dateText) const;
    const std::unordered_map<std::string, int>& SlotIndex() const;

    // The indexes point into this model's own lists: a copy starts without them.
    struct Indexes {
        Indexes() = default;
        Indexes(const Indexes& /*other*/) {}
        Indexes& operator=(const Indexes& /*other*/)
        {
            *this = Indexes();
            return *this;
        }
        Indexes(Indexes&&) = default;
        Indexes& operator=(Indexes&&) = default;
        ~Indexes() = default;

        std::uint64_t dayRevision = ~std::uint64_t{0};
        std::unordered_map<std::string, Positions> days;
        std::uint64_t slotRevision = ~std::uint64_t{0};
        std::unordered_map<std::string, int> slots;  // first entry of each name
    };

    std::vector<GridRow> cells_;
    mutable Indexes indexes_;
};

}  // namespace dolvane
