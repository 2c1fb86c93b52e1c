// The bar rows of the calendar: which slot (row under the day number) each to-do's bar takes,
// kept the same over all the days of its span, and the per-day and per-slot indexes that answer
// those questions without scanning the day lists again.
#include "core/calendar/CalendarModel.h"

#include "core/text/Numbers.h"

#include <algorithm>
#include <optional>

namespace dolvane {
namespace {

std::string_view Head(std::string_view text, std::size_t length)
{
    return text.substr(0, std::min(length, text.size()));
}

// The list index an item's five digits stand for.
std::optional<std::size_t> ListIndexOf(std::string_view indexText)
{
    const auto index = indexText.size() == DayItemLayout::kIndexLength ? DigitsValue(indexText) : std::nullopt;
    if (!index) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(*index);
}

}  // namespace

const CalendarModel::Positions& CalendarModel::DayPositions(std::string_view dateText) const
{
    if (indexes_.dayRevision != DayTodoLists.Revision()) {
        indexes_.days.clear();
        indexes_.dayRevision = DayTodoLists.Revision();
    }
    const std::string date(dateText);
    if (const auto found = indexes_.days.find(date); found != indexes_.days.end()) {
        return found->second;
    }
    // The views point into DayTodoLists, which stays unchanged while its revision does.
    Positions positions;
    const auto items = DayTodoLists.Items(dateText);
    for (std::size_t k = 0; k < items.size(); ++k) {
        positions.emplace(Head(items[k], DayItemLayout::kIndexLength), static_cast<int>(k));
    }
    return indexes_.days.emplace(date, std::move(positions)).first->second;
}

const std::unordered_map<std::string, int>& CalendarModel::SlotIndex() const
{
    if (indexes_.slotRevision != BarSlots.Revision()) {
        indexes_.slots.clear();
        for (const auto& entry : BarSlots.Entries()) {
            indexes_.slots.emplace(NameValueList::NameOf(entry),
                                   ParseInt32(NameValueList::ValueOf(entry)).value_or(-1));
        }
        indexes_.slotRevision = BarSlots.Revision();
    }
    return indexes_.slots;
}

const CalendarModel::Placement* CalendarModel::PlacementOf(std::string_view indexText) const
{
    const auto index = ListIndexOf(indexText);
    return index && *index < placements_.size() ? &placements_[*index] : nullptr;
}

bool CalendarModel::PresentOn(std::string_view dateText, std::string_view indexText) const
{
    if (placedDayRevision_ != DayTodoLists.Revision()) {
        return IndexInDayList(dateText, indexText) != -1;
    }
    const Placement* placement = PlacementOf(indexText);
    if (placement == nullptr || placement->first < 0) {
        return false;
    }
    const auto found = std::lower_bound(storedDates_.begin(), storedDates_.end(), dateText);
    if (found == storedDates_.end() || *found != dateText) {
        return false;
    }
    const auto position = static_cast<std::int32_t>(found - storedDates_.begin());
    return placement->first <= position && position <= placement->last;
}

int CalendarModel::BarSlotOf(std::string_view indexText) const
{
    if (placedSlotRevision_ == BarSlots.Revision()) {
        const Placement* placement = PlacementOf(indexText);
        return placement != nullptr ? placement->slot : -1;
    }
    const auto& slots = SlotIndex();
    const auto found = slots.find(std::string(indexText));
    return found == slots.end() ? -1 : found->second;
}

int CalendarModel::IndexInDayList(std::string_view dateText, std::string_view indexText) const
{
    const auto& positions = DayPositions(dateText);
    const auto found = positions.find(indexText);
    return found == positions.end() ? -1 : found->second;
}

void CalendarModel::AssignBarSlots(const std::vector<CellRun>& runs, std::size_t cellCount)
{
    // Each day's items in order, as indexes into `runs`: the items of cell c are
    // dayItems[start[c] .. start[c + 1]).
    std::vector<std::size_t> start(cellCount + 1, 0);
    for (const CellRun& run : runs) {
        for (std::size_t cell = run.first; cell <= run.last; ++cell) {
            ++start[cell + 1];
        }
    }
    for (std::size_t cell = 0; cell < cellCount; ++cell) {
        start[cell + 1] += start[cell];
    }
    std::vector<std::uint32_t> dayItems(start[cellCount]);
    std::vector<std::size_t> filled(start.begin(), start.end() - 1);
    for (std::size_t r = 0; r < runs.size(); ++r) {
        for (std::size_t cell = runs[r].first; cell <= runs[r].last; ++cell) {
            dayItems[filled[cell]++] = static_cast<std::uint32_t>(r);
        }
    }
    // Rows only ever get taken, so the lowest free row of a day never moves back up: each day
    // keeps where its search stopped.
    std::vector<std::vector<bool>> taken(cellCount);
    std::vector<std::size_t> lowestFree(cellCount, 0);
    std::vector<bool> placed(runs.size(), false);
    BarSlots.Reserve(BarSlots.Count() + runs.size());
    std::string text;
    for (std::size_t cell = 0; cell < cellCount; ++cell) {
        for (std::size_t k = start[cell]; k < start[cell + 1]; ++k) {
            const std::uint32_t r = dayItems[k];
            if (placed[r]) {
                continue;
            }
            placed[r] = true;
            const std::vector<bool>& rows = taken[cell];
            std::size_t& slot = lowestFree[cell];
            while (slot < rows.size() && rows[slot]) {
                ++slot;
            }
            const std::size_t row = slot;
            for (std::size_t day = runs[r].first; day <= runs[r].last; ++day) {
                if (taken[day].size() <= row) {
                    taken[day].resize(row + 1, false);
                }
                taken[day][row] = true;
            }
            text.clear();
            AppendNumber(text, static_cast<std::int64_t>(row));
            BarSlots.Add(runs[r].key, text);
            if (const auto index = ListIndexOf(runs[r].key); index && *index < placements_.size()) {
                placements_[*index].slot = static_cast<std::int32_t>(row);
            }
        }
    }
}

void CalendarModel::SetCurrentCell(int column, int row)
{
    CurrentColumn = column;
    CurrentRow = row;
    ListCurrentCellBarRows();
}

void CalendarModel::ListCurrentCellBarRows()
{
    CurrentCellBarRows.Clear();
    const auto items = DayTodoLists.Items(Head(CellText(CurrentColumn, CurrentRow), 10));
    CurrentCellBarRows.Reserve(items.size());
    int position = 0;
    for (const auto item : items) {
        const auto key = Head(item, DayItemLayout::kIndexLength);
        const int slot = BarSlotOf(key);
        CurrentCellBarRows.Add(ZeroPadded(slot == -1 ? position : slot, 2), key);
        ++position;
    }
}

void CalendarModel::NormaliseCurrentCellBarRows()
{
    CurrentCellBarRows.Sort();
    if (CurrentCellBarRows.Empty()) {
        return;
    }
    const auto last = ParseInt32(NameValueList::NameOf(CurrentCellBarRows.Entries().back()));
    if (!last) {
        return;
    }
    for (int slot = 0; slot < *last; ++slot) {
        const std::string name = ZeroPadded(slot, 2);
        if (!CurrentCellBarRows.IndexOfName(name)) {
            CurrentCellBarRows.Add(name, "-1");
        }
    }
    CurrentCellBarRows.Sort();
}

}  // namespace dolvane
