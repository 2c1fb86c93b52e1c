// The bar rows of the calendar: which slot (row under the day number) each to-do's bar takes,
// kept the same over all the days of its span, and the per-day and per-slot indexes that answer
// those questions without scanning the day lists again.
#include "core/calendar/CalendarModel.h"

#include "core/text/Numbers.h"

#include <algorithm>

namespace dolvane {
namespace {

std::string_view Head(std::string_view text, std::size_t length)
{
    return text.substr(0, std::min(length, text.size()));
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
    const auto items = SplitDayItems(DayTodoLists.Value(dateText));
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

int CalendarModel::BarSlotOf(std::string_view indexText) const
{
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

int CalendarModel::FirstFreeBarSlot(std::string_view dateText) const
{
    // The slots of the to-dos already placed that are present on the day. With m of them taken
    // the lowest free slot is at most m, and never beyond the number of placed to-dos + 1.
    const auto& present = DayPositions(dateText);
    std::vector<bool> taken(std::min(BarSlots.Count() + 2, present.size() + 1), false);
    const auto& slots = SlotIndex();
    for (const auto& [key, position] : present) {
        const auto found = slots.find(std::string(key));
        if (found != slots.end() && found->second >= 0 && static_cast<std::size_t>(found->second) < taken.size()) {
            taken[static_cast<std::size_t>(found->second)] = true;
        }
    }
    const auto free = std::find(taken.begin(), taken.end(), false);
    return static_cast<int>(free - taken.begin());
}

int CalendarModel::AssignBarSlot(std::string_view indexText, std::string_view dateText)
{
    const int existing = BarSlotOf(indexText);
    if (existing != -1 || SlotIndex().contains(std::string(indexText))) {
        return existing;
    }
    const int slot = FirstFreeBarSlot(dateText);
    std::string text;
    AppendNumber(text, slot);
    BarSlots.Add(indexText, text);
    // Kept current by hand: rebuilding it for every new to-do would cost as much as the scan.
    indexes_.slots.emplace(std::string(indexText), slot);
    indexes_.slotRevision = BarSlots.Revision();
    return slot;
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
