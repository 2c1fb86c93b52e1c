// The rows' day items as the grid fill places them: made once per change of the rows, in the
// calendar's order.
#include "core/calendar/CalendarModel.h"

#include <algorithm>
#include <array>

namespace dolvane {

void CalendarModel::CollectItems(const std::vector<ToDoRecord>& rows)
{
    auto items = std::make_shared<std::vector<DayItem>>();
    items->reserve(rows.size());
    itemDates_.clear();
    itemDates_.reserve(rows.size());
    std::vector<std::uint8_t> ranks;
    ranks.reserve(rows.size());
    // A rank is the single-day flag and the inverted importance: at most 200 values.
    constexpr std::size_t kRanks = 200;
    std::array<std::uint32_t, kRanks + 1> counts{};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto item = MakeDayItem(rows[i], static_cast<std::uint32_t>(i));
        if (!item) {
            continue;
        }
        items->push_back(*item);
        const std::string_view deadline = std::string_view(rows[i].DeadlineText).substr(0, 10);
        itemDates_.push_back({DateKeyOf(std::string_view(rows[i].StartText).substr(0, 10)),
                              deadline.empty() ? -1 : DateKeyOf(deadline), !deadline.empty()});
        const std::uint8_t rank = std::min<std::uint8_t>(DayItemRank(rows[i]), kRanks - 1);
        ranks.push_back(rank);
        ++counts[static_cast<std::size_t>(rank) + 1];
    }
    // Rows without a place in the calendar leave room behind; the items stay until the rows change.
    items->shrink_to_fit();
    itemDates_.shrink_to_fit();
    // A counting sort by rank keeps the list order within a rank.
    for (std::size_t rank = 0; rank < kRanks; ++rank) {
        counts[rank + 1] += counts[rank];
    }
    itemOrder_.assign(items->size(), 0);
    for (std::size_t k = 0; k < items->size(); ++k) {
        itemOrder_[counts[ranks[k]]++] = static_cast<std::uint32_t>(k);
    }
    items_ = std::move(items);
    itemsValid_ = true;
    itemsFrom_ = rows.data();
    itemsRowCount_ = rows.size();
}

}  // namespace dolvane
