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
        if (viewMode_ == CalendarMode::Month) {
            std::string firstOfMonth(Head(refText, 7));
            firstOfMonth.append("/01");
            rangeStart = ParseDateText(firstOfMonth);
        } else {
            rangeStart = AddDays(reference, -(DayOfWeek(reference) - 1));
        }
    } catch (const ConvertError&) {
        return false;
    }
    calendarRefDateText_ = std::string(refText);
    // The weeks around 0001/01/01 start on a Sunday that has no date: the range starts with the
    // first day there is, so the steps and the caption still have one.
    rangeStartText_ = FormatDateText(std::max(rangeStart, DateTime{static_cast<double>(kFirstDayNumber)}));
    FillCalendarGrid(rangeStart, rows);
    return true;
}

void CalendarModel::FillCalendarGrid(DateTime firstDate, const std::vector<ToDoRecord>& rows)
{
    dayTodoLists_.Clear();
    displayedMonth_ = DecodeDateTime(firstDate).month;
    if (viewMode_ == CalendarMode::Month) {
        firstDate = AddDays(firstDate, -(DayOfWeek(firstDate) - 1));
    }
    firstDate = DateTime{std::floor(firstDate.days)};
    firstCellDateText_ = FormatDateText(firstDate);
    const std::size_t cellCount = static_cast<std::size_t>(WeekCount(viewMode_)) * kColumns;
    const std::vector<std::string> dates = PlaceDates(firstDate, cellCount);

    // Empty texts before 0001/01/01 stay at the front, where they keep the date order and no
    // to-do reaches them; those after 9999/12/31 are left out, and with them the day after.
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

    if (!itemsValid_ || itemsFrom_ != rows.data() || itemsRowCount_ != rows.size()) {
        CollectItems(rows);
    }
    const std::vector<Candidate> candidates = FindRuns(ordered, rows);
    StoreDayLists(ordered, datedCells, candidates, rows.size());
    const std::size_t paintedCells = static_cast<std::size_t>(VisibleRowCount(viewMode_) - 1) * kColumns;
    AssignBarSlots(PaintedRuns(candidates, paintedCells), paintedCells);
    ListCurrentCellBars();
}

std::vector<std::string> CalendarModel::PlaceDates(DateTime firstDate, std::size_t cellCount)
{
    // The grid's dates, then the day before and the day after them (so the drawing sees bars
    // running on beyond the grid). Cells outside years 1 to 9999 hold "".
    std::vector<std::string> dates;
    dates.reserve(cellCount + 2);
    for (std::size_t i = 0; i < cellCount; ++i) {
        dates.push_back(FormatDateText(AddDays(firstDate, static_cast<int>(i))));
    }
    dates.push_back(FormatDateText(AddDays(firstDate, -1)));
    dates.push_back(FormatDateText(AddDays(firstDate, static_cast<int>(cellCount))));

    cells_.resize(1 + cellCount / kColumns);
    for (std::size_t i = 0; i < cellCount; ++i) {
        cells_[1 + i / kColumns][i % kColumns] = dates[i];
    }
    currentRow_ = std::clamp(currentRow_, 1, VisibleRowCount(viewMode_) - 1);
    return dates;
}

std::vector<CalendarModel::Candidate> CalendarModel::FindRuns(const std::vector<std::string_view>& ordered,
                                                              const std::vector<ToDoRecord>& rows) const
{
    // The dates in chronological order are also in text order, so the dates a to-do is present
    // on form one run of that order, found by binary search: by number where both of its dates
    // have the usual shape, by text otherwise.
    std::vector<std::int32_t> orderedKeys;
    orderedKeys.reserve(ordered.size());
    for (const auto date : ordered) {
        orderedKeys.push_back(DateKeyOf(date));
    }
    const auto runOf = [](const auto& dates, const auto& start, const auto& deadline,
                          bool noDeadline) -> std::pair<std::size_t, std::size_t> {
        const auto from = std::lower_bound(dates.begin(), dates.end(), start);
        const auto to = noDeadline ? (from != dates.end() && *from == start ? from + 1 : from)
                                   : std::upper_bound(dates.begin(), dates.end(), deadline);
        return {static_cast<std::size_t>(from - dates.begin()), static_cast<std::size_t>(to - dates.begin())};
    };
    // In calendar order: a day's items in this order are that day's sorted items.
    std::vector<Candidate> candidates;
    for (const std::uint32_t k : itemOrder_) {
        const ItemDates& item = itemDates_[k];
        const bool noDeadline = !item.hasDeadline;
        const ToDoRecord& row = rows[(*items_)[k].row];
        const auto [from, to] = item.startKey >= 0 && (noDeadline || item.deadlineKey >= 0)
                                    ? runOf(orderedKeys, item.startKey, item.deadlineKey, noDeadline)
                                    : runOf(ordered, Head(row.StartText, 10), Head(row.DeadlineText, 10), noDeadline);
        if (from < to) {
            candidates.push_back({k, from, to - 1});
        }
    }
    return candidates;
}

void CalendarModel::StoreDayLists(const std::vector<std::string_view>& ordered, std::size_t datedCells,
                                  const std::vector<Candidate>& candidates, std::size_t rowCount)
{
    // Each day's items as positions in the shared items, days one after another in `ordered`
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
    std::vector<std::uint32_t> filled(dayStart.begin(), dayStart.end() - 1);
    for (const Candidate& candidate : candidates) {
        for (std::size_t p = candidate.first; p <= candidate.last; ++p) {
            refs[filled[p]++] = candidate.item;
        }
    }
    storedDates_.assign(ordered.begin(), ordered.end());
    placements_.assign(rowCount, Placement{});
    for (const auto& candidate : candidates) {
        placements_[(*items_)[candidate.item].row] = {-1, static_cast<std::int32_t>(candidate.first),
                                                      static_cast<std::int32_t>(candidate.last)};
    }

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
    dayTodoLists_.Assign(items_, std::move(refs), std::move(days));
}

std::string CalendarModel::StepCalendar(bool forward, bool weekStepSeven) const
{
    DateTime rangeStart;
    try {
        rangeStart = ParseDateText(Head(rangeStartText_, 10));
    } catch (const ConvertError&) {
        return {};
    }
    if (viewMode_ == CalendarMode::Month) {
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
    const int step = weekStepSeven ? 7 : 7 * (std::clamp(static_cast<int>(viewMode_), 0, 2) + 1);
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
    const int visibleRows = std::min(VisibleRowCount(viewMode_), static_cast<int>(cells_.size()));
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
