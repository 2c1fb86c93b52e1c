#include "core/calendar/CalendarModel.h"

#include "core/text/Cp932Codec.h"
#include "core/text/Numbers.h"
#include "core/time/TimeTexts.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace dolvane {
namespace {

std::string_view Head(std::string_view text, std::size_t length)
{
    return text.substr(0, std::min(length, text.size()));
}

DateTime AddDays(DateTime date, int days)
{
    return DateTime{date.days + days};
}

const std::string& WeekdayNames(int column)
{
    static const std::array<std::string, CalendarModel::kColumns> names = {
        Utf8ToCp932("日"), Utf8ToCp932("月"), Utf8ToCp932("火"), Utf8ToCp932("水"),
        Utf8ToCp932("木"), Utf8ToCp932("金"), Utf8ToCp932("土")};
    return names.at(static_cast<std::size_t>(column));
}

int VisibleRowCount(CalendarMode viewMode)
{
    return viewMode == CalendarMode::Month ? 7 : std::clamp(static_cast<int>(viewMode), 0, 2) + 2;
}

int WeekCount(CalendarMode viewMode)
{
    return viewMode == CalendarMode::Month ? 7 : std::clamp(static_cast<int>(viewMode), 0, 2) + 1;
}

}  // namespace

// "yyyy/mm/dd" as the number yyyymmdd, or -1 when the text has another shape. Numbers of such
// texts order as the texts do, so the fill compares them instead of the texts.
std::int32_t DateKeyOf(std::string_view text)
{
    const auto date = text.size() == 10 ? ReadDateDigits(text) : std::nullopt;
    return date ? date->year * 10'000 + date->month * 100 + date->day : -1;
}

ClampedDay DaysInMonth(int year, int month, int day) noexcept
{
    const int length = DaysInMonth(year, month);
    return day <= length ? ClampedDay{true, day} : ClampedDay{false, length};
}

CalendarGridLayout LayoutCalendarGrid(CalendarMode viewMode, int gridWidth, int gridHeight) noexcept
{
    // A grid squeezed smaller than its header gets empty rows rather than negative sizes.
    const int height = std::max(0, gridHeight - 28);
    CalendarGridLayout layout;
    layout.rowCount = VisibleRowCount(viewMode);
    if (viewMode == CalendarMode::Month) {
        layout.defaultRowHeight = height / 6;
    } else {
        const int weeks = layout.rowCount - 1;
        layout.defaultRowHeight = weeks == 1 ? height : height / weeks;
    }
    layout.defaultColumnWidth = std::max(0, gridWidth / 7 - 2);
    layout.headerRowHeight = 18;
    return layout;
}

CalendarModel::CalendarModel()
{
    cells_.resize(1);
    for (int c = 0; c < kColumns; ++c) {
        cells_[0][static_cast<std::size_t>(c)] = WeekdayNames(c);
    }
}

const std::string& CalendarModel::CellText(int column, int row) const
{
    static const std::string empty;
    if (column < 0 || column >= kColumns || row < 0 || static_cast<std::size_t>(row) >= cells_.size()) {
        return empty;
    }
    return cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

std::string CalendarModel::NeighbourDate(std::string_view dateText, int offset)
{
    try {
        return FormatDateText(AddDays(ParseDateText(Head(dateText, 10)), offset));
    } catch (const ConvertError&) {
        return {};
    }
}

bool CalendarModel::SetCalendarReference(std::string_view refText, const std::vector<ToDoRecord>& rows)
{
    DateTime reference;
    DateTime rangeStart;
    try {
        reference = ParseDateText(Head(refText, 10));
        if (CalendarViewMode == CalendarMode::Month) {
            std::string firstOfMonth(Head(refText, 7));
            firstOfMonth.append("/01");
            rangeStart = ParseDateText(firstOfMonth);
        } else {
            rangeStart = AddDays(reference, -(DayOfWeek(reference) - 1));
        }
    } catch (const ConvertError&) {
        return false;
    }
    CalendarRefDateText = std::string(refText);
    // The weeks around 0001/01/01 start on a Sunday that has no date: the range starts with the
    // first day there is, so the steps and the caption still have one.
    RangeStartText = FormatDateText(std::max(rangeStart, DateTime{static_cast<double>(kFirstDayNumber)}));
    FillCalendarGrid(rangeStart, rows);
    return true;
}

void CalendarModel::FillCalendarGrid(DateTime firstDate, const std::vector<ToDoRecord>& rows)
{
    DayTodoLists.Clear();
    BarSlots.Clear();
    DisplayedMonth = DecodeDateTime(firstDate).month;
    const int weeks = WeekCount(CalendarViewMode);
    if (CalendarViewMode == CalendarMode::Month) {
        firstDate = AddDays(firstDate, -(DayOfWeek(firstDate) - 1));
    }
    firstDate = DateTime{std::floor(firstDate.days)};
    FirstCellDateText = FormatDateText(firstDate);

    // Every date that gets a day list, in the order the lists are kept: the grid's dates, then
    // the day before and the day after them (so the drawing sees bars running on beyond the grid).
    // Cells outside years 1 to 9999 hold "" and get no list.
    const std::size_t cellCount = static_cast<std::size_t>(weeks) * kColumns;
    std::vector<std::string> dates;
    dates.reserve(cellCount + 2);
    for (std::size_t i = 0; i < cellCount; ++i) {
        dates.push_back(FormatDateText(AddDays(firstDate, static_cast<int>(i))));
    }
    dates.push_back(FormatDateText(AddDays(firstDate, -1)));
    dates.push_back(FormatDateText(AddDays(firstDate, static_cast<int>(cellCount))));

    cells_.resize(1 + static_cast<std::size_t>(weeks));
    for (std::size_t i = 0; i < cellCount; ++i) {
        cells_[1 + i / kColumns][i % kColumns] = dates[i];
    }
    const int visibleRows = VisibleRowCount(CalendarViewMode);
    CurrentRow = std::clamp(CurrentRow, 1, visibleRows - 1);

    // The same texts as BuildDayTodoList for each date, from one pass over the rows: the dates
    // in chronological order are also in text order, so the dates a to-do is present on form
    // one run of that order, found by binary search.
    // Empty texts before 0001/01/01 stay at the front, where they keep that order and no to-do
    // reaches them; those after 9999/12/31 are left out, and with them the day after.
    std::size_t datedCells = cellCount;
    while (datedCells > 0 && dates[datedCells - 1].empty()) {
        --datedCells;
    }
    std::vector<std::string_view> ordered;
    ordered.reserve(dates.size());
    ordered.push_back(dates[cellCount]);
    for (std::size_t i = 0; i < datedCells; ++i) {
        ordered.push_back(dates[i]);
    }
    if (!dates[cellCount + 1].empty()) {
        ordered.push_back(dates[cellCount + 1]);
    }

    // The rows' items in calendar order, made once per change of the rows (see RowsChanged).
    if (!itemsValid_ || itemsFrom_ != rows.data() || itemsRowCount_ != rows.size()) {
        CollectItems(rows);
    }
    struct Candidate {
        const ListedItem* listed;
        std::size_t first;
        std::size_t last;  // positions in `ordered`, inclusive
    };
    // Candidates come out in calendar order: a day's items in this order are that day's sorted
    // items.
    std::vector<Candidate> candidates;
    std::vector<std::int32_t> orderedKeys;
    orderedKeys.reserve(ordered.size());
    for (const auto date : ordered) {
        orderedKeys.push_back(DateKeyOf(date));
    }
    // The run of stored dates a to-do covers, as [from, to) in `ordered`; by number where both
    // dates have the usual shape, by text otherwise.
    const auto runOf = [&](const auto& dates, const auto& start, const auto& deadline,
                           bool noDeadline) -> std::pair<std::size_t, std::size_t> {
        const auto from = std::lower_bound(dates.begin(), dates.end(), start);
        const auto to = noDeadline ? (from != dates.end() && *from == start ? from + 1 : from)
                                   : std::upper_bound(dates.begin(), dates.end(), deadline);
        return {static_cast<std::size_t>(from - dates.begin()), static_cast<std::size_t>(to - dates.begin())};
    };
    for (const std::uint32_t k : itemOrder_) {
        const ListedItem& listed = items_[k];
        const bool noDeadline = !listed.hasDeadline;
        const auto [from, to] = listed.startKey >= 0 && (noDeadline || listed.deadlineKey >= 0)
                                    ? runOf(orderedKeys, listed.startKey, listed.deadlineKey, noDeadline)
                                    : runOf(ordered, Head(rows[listed.row].StartText, 10),
                                            Head(rows[listed.row].DeadlineText, 10), noDeadline);
        if (from >= to) {
            continue;
        }
        candidates.push_back({&listed, from, to - 1});
    }

    // Each day's items as positions in the shared item texts, days one after another in `ordered`
    // order: day p holds refs[dayStart[p], dayStart[p + 1]), its items in calendar order.
    std::vector<std::uint32_t> dayStart(ordered.size() + 1, 0);
    for (const auto& candidate : candidates) {
        for (std::size_t p = candidate.first; p <= candidate.last; ++p) {
            ++dayStart[p + 1];
        }
    }
    for (std::size_t p = 0; p < ordered.size(); ++p) {
        dayStart[p + 1] += dayStart[p];
    }
    std::vector<std::uint32_t> refs(dayStart.back());
    {
        std::vector<std::uint32_t> filled(dayStart.begin(), dayStart.end() - 1);
        for (const Candidate& candidate : candidates) {
            const auto item = static_cast<std::uint32_t>(candidate.listed - items_.data());
            for (std::size_t p = candidate.first; p <= candidate.last; ++p) {
                refs[filled[p]++] = item;
            }
        }
    }
    // Each to-do's run of dates, by its list index (the item's digits after the sort prefix).
    storedDates_.assign(ordered.begin(), ordered.end());
    placements_.assign(rows.size(), Placement{});
    for (const auto& candidate : candidates) {
        placements_[candidate.listed->row] = {-1, static_cast<std::int32_t>(candidate.first),
                                              static_cast<std::int32_t>(candidate.last)};
    }

    // Bar rows for the painted cells; `ordered` position p is grid cell p - 1.
    const std::size_t paintedCells = static_cast<std::size_t>(visibleRows - 1) * kColumns;
    std::vector<CellRun> runs;
    runs.reserve(candidates.size());
    for (const Candidate& candidate : candidates) {
        if (candidate.last == 0 || candidate.first > paintedCells) {
            continue;
        }
        const std::size_t first = candidate.first == 0 ? 0 : candidate.first - 1;
        const std::size_t last = std::min(candidate.last - 1, paintedCells - 1);
        const auto item = static_cast<std::size_t>(candidate.listed - items_.data());
        runs.push_back({itemTexts_->Item(item).substr(0, DayItemLayout::kIndexLength), first, last});
    }
    AssignBarSlots(runs, paintedCells);

    // `ordered` is [before, cells..., after]; the lists are kept as cells, before, after. A day
    // without items gets no list.
    const std::size_t after = datedCells + 1;
    std::vector<DayItemLists::FilledDay> days;
    days.reserve(ordered.size());
    const auto addDay = [&](std::size_t p) {
        if (p < ordered.size() && dayStart[p] != dayStart[p + 1]) {
            days.push_back({std::string(ordered[p]), dayStart[p], dayStart[p + 1]});
        }
    };
    for (std::size_t p = 1; p < after; ++p) {
        addDay(p);
    }
    addDay(0);
    addDay(after);
    DayTodoLists.Assign(itemTexts_, std::move(refs), std::move(days));
    placedDayRevision_ = DayTodoLists.Revision();
    placedSlotRevision_ = BarSlots.Revision();
    ListCurrentCellBarRows();
}

std::string CalendarModel::StepCalendar(bool forward, bool weekStepSeven) const
{
    DateTime rangeStart;
    try {
        rangeStart = ParseDateText(Head(RangeStartText, 10));
    } catch (const ConvertError&) {
        return {};
    }
    if (CalendarViewMode == CalendarMode::Month) {
        const DateTimeParts parts = DecodeDateTime(rangeStart);
        int year = parts.year;
        int month = parts.month + (forward ? 1 : -1);
        if (month == 0) {
            month = 12;
            --year;
        } else if (month == 13) {
            month = 1;
            ++year;
        }
        if (!IsValidDate(year, month, 1)) {
            return {};
        }
        return FormatDateText(EncodeDateTime({year, month, 1, 0, 0, 0, 0}));
    }
    const int step = weekStepSeven ? 7 : 7 * (std::clamp(static_cast<int>(CalendarViewMode), 0, 2) + 1);
    const DateTime target = AddDays(rangeStart, forward ? step : -step);
    // Back towards 0001/01/01 a step goes as far as the week that holds it, and no further.
    const DateTime firstDay{static_cast<double>(kFirstDayNumber)};
    if (!forward && target < firstDay && firstDay < rangeStart) {
        return FormatDateText(firstDay);
    }
    return FormatDateText(target);
}

bool CalendarModel::SelectCalendarDate(std::string_view dateText)
{
    const int visibleRows = std::min(VisibleRowCount(CalendarViewMode), static_cast<int>(cells_.size()));
    for (int r = 0; r < visibleRows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            if (Head(CellText(c, r), 10) == dateText) {
                SetCurrentCell(c, r);
                return true;
            }
        }
    }
    return false;
}

}  // namespace dolvane
