#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace dolvane {

// The day items of a set of to-dos, each text kept once: item k is text[ends[k - 1], ends[k]).
struct DayItemTexts {
    std::string text;
    std::vector<std::uint32_t> ends;

    std::size_t Count() const noexcept { return ends.size(); }
    std::string_view Item(std::size_t k) const noexcept
    {
        const std::uint32_t from = k == 0 ? 0 : ends[k - 1];
        return std::string_view(text).substr(from, ends[k] - from);
    }
    // Appends an item; false when the texts would outgrow their 32-bit positions.
    bool Append(std::string_view item);
};

// The to-do items of each stored day of the calendar, in the order of the day: a list of
// "date=items" entries where the items are joined with the day-item separator. A to-do spanning
// many days has its item on each of them; the fill's days share one copy of every item's text and
// keep only its number per day, so a crowded month costs four bytes per item and day instead of
// the whole text. A day added by hand keeps its own joined text.
// Lookups return the first day of a date, as in a NameValueList.
class DayItemLists final {
public:
    // One day of the fill: its items are refs[first, last) of Assign's refs.
    struct FilledDay {
        std::string date;
        std::uint32_t first = 0;
        std::uint32_t last = 0;
    };

    // Replaces the lists with the fill's days, in their order.
    void Assign(std::shared_ptr<const DayItemTexts> texts, std::vector<std::uint32_t> refs,
                std::vector<FilledDay> days);
    // Adds a day whose items are the joined text `items`.
    void Add(std::string_view date, std::string_view items);
    void Clear() noexcept;

    // The items of the first day of `date`, none when there is no such day. The views stay valid
    // until the lists change.
    std::vector<std::string_view> Items(std::string_view date) const;
    // The joined items of the first day of `date`; empty when there is none.
    std::string Value(std::string_view date) const;
    // Every day as "date=items", in order.
    std::vector<std::string> Entries() const;
    std::size_t Count() const noexcept { return days_.size(); }
    bool Empty() const noexcept { return days_.empty(); }

    // A stamp that changes with every change of the lists and is never shared by two different
    // contents, so a lookup index built from them can tell whether it is still current.
    std::uint64_t Revision() const noexcept { return revision_; }

    friend bool operator==(const DayItemLists& a, const DayItemLists& b) { return a.Entries() == b.Entries(); }

private:
    struct Day {
        std::string date;
        std::uint32_t first = 0;  // refs_[first, last) when the day has no own text
        std::uint32_t last = 0;
        bool own = false;
        std::string joined;  // a day added by hand
    };
    const Day* Find(std::string_view date) const noexcept;
    void AppendJoined(std::string& out, const Day& day) const;
    void Touch() noexcept;

    std::shared_ptr<const DayItemTexts> texts_;
    std::vector<std::uint32_t> refs_;
    std::vector<Day> days_;
    std::uint64_t revision_ = 0;  // 0: the empty lists as constructed
};

}  // namespace dolvane
