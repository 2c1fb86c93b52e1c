#include "core/calendar/DayItemLists.h"

namespace dolvane {

void DayItemLists::Assign(std::shared_ptr<const std::vector<DayItem>> items, std::vector<std::uint32_t> refs,
                          std::vector<FilledDay> days)
{
    items_ = std::move(items);
    refs_ = std::move(refs);
    days_ = std::move(days);
}

void DayItemLists::Clear() noexcept
{
    items_.reset();
    refs_.clear();
    refs_.shrink_to_fit();
    days_.clear();
}

DayItemView DayItemLists::ItemsAt(std::size_t k) const noexcept
{
    const FilledDay& day = days_[k];
    return {items_->data(), refs_.data() + day.first, day.last - day.first};
}

DayItemView DayItemLists::Items(std::string_view date) const noexcept
{
    for (std::size_t k = 0; k < days_.size(); ++k) {
        if (days_[k].date == date) {
            return ItemsAt(k);
        }
    }
    return {};
}

}  // namespace dolvane
