#pragma once

#include "core/calendar/DayItem.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace dolvane {

// The items of one day, in the day's order: views into the lists they come from, valid until
// those lists change.
class DayItemView final {
public:
    DayItemView() = default;
    DayItemView(const DayItem* items, const std::uint32_t* refs, std::size_t count) noexcept
        : items_(items),
          refs_(refs),
          count_(count)
    {
    }

    std::size_t size() const noexcept { return count_; }
    bool empty() const noexcept { return count_ == 0; }
    const DayItem& operator[](std::size_t k) const noexcept { return items_[refs_[k]]; }

    class Iterator final {
    public:
        Iterator(const DayItemView& view, std::size_t k) noexcept : view_(&view), k_(k) {}
        const DayItem& operator*() const noexcept { return (*view_)[k_]; }
        Iterator& operator++() noexcept
        {
            ++k_;
            return *this;
        }
        friend bool operator==(const Iterator& a, const Iterator& b) noexcept { return a.k_ == b.k_; }

    private:
        const DayItemView* view_;
        std::size_t k_;
    };
    Iterator begin() const noexcept { return {*this, 0}; }
    Iterator end() const noexcept { return {*this, count_}; }

private:
    const DayItem* items_ = nullptr;
    const std::uint32_t* refs_ = nullptr;
    std::size_t count_ = 0;
};

// The to-do items of each stored day of the calendar. A to-do spanning many days has its item on
// each of them; the days share one copy of every item and keep only its number per day, so a
// crowded month costs four bytes per item and day. Lookups give the first day of a date.
class DayItemLists final {
public:
    // One day of the fill: its items are refs[first, last) of Assign's refs.
    struct FilledDay {
        std::string date;
        std::uint32_t first = 0;
        std::uint32_t last = 0;
    };

    // Replaces the lists with the fill's days, in their order.
    void Assign(std::shared_ptr<const std::vector<DayItem>> items, std::vector<std::uint32_t> refs,
                std::vector<FilledDay> days);
    void Clear() noexcept;

    // The items of the first day of `date`, none when there is no such day.
    DayItemView Items(std::string_view date) const noexcept;
    // The stored days in their order: the date and the items of day `k`.
    std::size_t Count() const noexcept { return days_.size(); }
    bool Empty() const noexcept { return days_.empty(); }
    const std::string& DateAt(std::size_t k) const noexcept { return days_[k].date; }
    DayItemView ItemsAt(std::size_t k) const noexcept;

private:
    std::shared_ptr<const std::vector<DayItem>> items_;
    std::vector<std::uint32_t> refs_;
    std::vector<FilledDay> days_;
};

}  // namespace dolvane
