// The bar rows of the calendar: which slot (row under the day number) each to-do's bar takes,
// kept the same over all the days of its span, and the current cell's bars.
#include "core/calendar/CalendarModel.h"

#include <algorithm>

namespace dolvane {

const CalendarModel::Placement* CalendarModel::PlacementOf(std::uint32_t row) const noexcept
{
    return row < placements_.size() ? &placements_[row] : nullptr;
}

bool CalendarModel::PresentOn(std::string_view dateText, std::uint32_t row) const
{
    const Placement* placement = PlacementOf(row);
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

int CalendarModel::BarSlotOf(std::uint32_t row) const noexcept
{
    const Placement* placement = PlacementOf(row);
    return placement != nullptr ? placement->slot : -1;
}

std::vector<CalendarModel::CellRun> CalendarModel::PaintedRuns(const std::vector<Candidate>& candidates,
                                                               std::size_t paintedCells) const
{
    // Position p of the stored dates is grid cell p - 1: the day before the grid comes first.
    std::vector<CellRun> runs;
    runs.reserve(candidates.size());
    for (const Candidate& candidate : candidates) {
        if (candidate.last == 0 || candidate.first > paintedCells) {
            continue;
        }
        const std::size_t first = candidate.first == 0 ? 0 : candidate.first - 1;
        const std::size_t last = std::min(candidate.last - 1, paintedCells - 1);
        runs.push_back({(*items_)[candidate.item].row, first, last});
    }
    return runs;
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
            placements_[runs[r].row].slot = static_cast<std::int32_t>(row);
        }
    }
}

void CalendarModel::SetCurrentCell(int column, int row)
{
    currentColumn_ = column;
    currentRow_ = row;
    ListCurrentCellBars();
}

void CalendarModel::ListCurrentCellBars()
{
    currentCellBars_.clear();
    const DayItemView items = dayTodoLists_.Items(CurrentDate());
    for (std::size_t k = 0; k < items.size(); ++k) {
        // Every to-do of a shown day has its row from the fill; the position in the day is the
        // row of one that has none.
        const int slot = BarSlotOf(items[k].row);
        const auto at = static_cast<std::size_t>(slot == -1 ? static_cast<int>(k) : slot);
        if (currentCellBars_.size() <= at) {
            currentCellBars_.resize(at + 1, -1);
        }
        currentCellBars_[at] = static_cast<std::int32_t>(items[k].row);
    }
}

int CalendarModel::SelectedBarRow() const noexcept
{
    if (!selectedToDo_) {
        return -1;
    }
    const auto found =
        std::find(currentCellBars_.begin(), currentCellBars_.end(), static_cast<std::int32_t>(*selectedToDo_));
    return found == currentCellBars_.end() ? -1 : static_cast<int>(found - currentCellBars_.begin());
}

}  // namespace dolvane
