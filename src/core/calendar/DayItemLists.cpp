#include "core/calendar/DayItemLists.h"

#include "core/calendar/CalendarModel.h"

#include <atomic>
#include <limits>

namespace dolvane {

bool DayItemTexts::Append(std::string_view item)
{
    if (item.size() > std::numeric_limits<std::uint32_t>::max() - text.size()) {
        return false;
    }
    text.append(item);
    ends.push_back(static_cast<std::uint32_t>(text.size()));
    return true;
}

void DayItemLists::Touch() noexcept
{
    static std::atomic<std::uint64_t> lastRevision{0};
    revision_ = ++lastRevision;
}

void DayItemLists::Assign(std::shared_ptr<const DayItemTexts> texts, std::vector<std::uint32_t> refs,
                          std::vector<FilledDay> days)
{
    texts_ = std::move(texts);
    refs_ = std::move(refs);
    days_.clear();
    days_.reserve(days.size());
    for (FilledDay& day : days) {
        days_.push_back({std::move(day.date), day.first, day.last, false, {}});
    }
    Touch();
}

void DayItemLists::Add(std::string_view date, std::string_view items)
{
    days_.push_back({std::string(date), 0, 0, true, std::string(items)});
    Touch();
}

void DayItemLists::Clear() noexcept
{
    texts_.reset();
    refs_.clear();
    refs_.shrink_to_fit();
    days_.clear();
    Touch();
}

const DayItemLists::Day* DayItemLists::Find(std::string_view date) const noexcept
{
    for (const Day& day : days_) {
        if (day.date == date) {
            return &day;
        }
    }
    return nullptr;
}

std::vector<std::string_view> DayItemLists::Items(std::string_view date) const
{
    const Day* day = Find(date);
    if (day == nullptr) {
        return {};
    }
    if (day->own) {
        return SplitDayItems(day->joined);
    }
    std::vector<std::string_view> items;
    items.reserve(day->last - day->first);
    for (std::uint32_t r = day->first; r < day->last; ++r) {
        items.push_back(texts_->Item(refs_[r]));
    }
    return items;
}

void DayItemLists::AppendJoined(std::string& out, const Day& day) const
{
    if (day.own) {
        out.append(day.joined);
        return;
    }
    for (std::uint32_t r = day.first; r < day.last; ++r) {
        if (r != day.first) {
            out.append(kDayItemSeparator);
        }
        out.append(texts_->Item(refs_[r]));
    }
}

std::string DayItemLists::Value(std::string_view date) const
{
    std::string joined;
    if (const Day* day = Find(date); day != nullptr) {
        AppendJoined(joined, *day);
    }
    return joined;
}

std::vector<std::string> DayItemLists::Entries() const
{
    std::vector<std::string> entries;
    entries.reserve(days_.size());
    for (const Day& day : days_) {
        std::string entry = day.date;
        entry.append(1, '=');
        AppendJoined(entry, day);
        entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace dolvane
