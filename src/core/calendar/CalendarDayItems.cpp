// The day items of the calendar: each to-do's item with its sort prefix, a day's joined list,
// and the rows' items the grid fill places.
#include "core/calendar/CalendarModel.h"

#include "core/text/Numbers.h"
#include "core/time/TimeTexts.h"

#include <algorithm>
#include <array>

namespace dolvane {
namespace {

// List indices are written with five digits, so only the first 100,000 rows fit an item.
constexpr std::size_t kMaxItemIndex = 99999;
constexpr std::int32_t kMaxProgress = 999;

std::string_view Head(std::string_view text, std::size_t length)
{
    return text.substr(0, std::min(length, text.size()));
}

DateTime AddDays(DateTime date, int days)
{
    return DateTime{date.days + days};
}

// `length` bytes from `position` (0-based), fewer or none when the text is shorter.
std::string_view Piece(std::string_view text, std::size_t position, std::size_t length)
{
    return position >= text.size() ? std::string_view{} : text.substr(position, length);
}

// A time field of an item always takes its five positions, so a start or deadline without a
// time of day cannot shift the fields after it.
void AppendTimeField(std::string& item, std::string_view dateTimeText)
{
    const std::string_view time = Piece(dateTimeText, 11, 5);
    item.append(time);
    item.append(5 - time.size(), ' ');
}

// The task head as it goes into a joined day list. A head holding the separator, or ending in
// "@\" (which the separator after it would complete), is cut so the list splits where it was
// joined.
std::string_view SafeHead(std::string_view task)
{
    std::string_view head = Head(task, DayItemLayout::kHeadLength);
    if (const auto separator = head.find(kDayItemSeparator); separator != std::string_view::npos) {
        head = head.substr(0, separator);
    }
    while (head.size() >= 2 && head.substr(head.size() - 2) == "@\\") {
        head.remove_suffix(1);
    }
    return head;
}

std::int32_t NumberOrZero(std::string_view text)
{
    return ParseInt32(text).value_or(0);
}

// Whether a to-do with start date `start` and deadline date `deadline` (first 10 characters of
// each) is shown on `date`: as plain text comparisons, which order "yyyy/mm/dd" by date.
bool ShownOnDate(std::string_view start, std::string_view deadline, std::string_view date)
{
    if (start.empty()) {
        return false;  // a deadline without a start has no place in the calendar
    }
    if (deadline.empty()) {
        return start == date;
    }
    return start <= date && date <= deadline;
}

struct RowDates {
    std::string_view start;
    std::string_view deadline;
};

RowDates DatesOf(const ToDoRecord& row)
{
    return {Head(row.StartText, 10), Head(row.DeadlineText, 10)};
}

void JoinItem(std::string& joined, std::string_view itemWithPrefix)
{
    if (!joined.empty()) {
        joined.append(kDayItemSeparator);
    }
    joined.append(itemWithPrefix.substr(3));
}

}  // namespace

std::string DayItemWithSortPrefix(const ToDoRecord& row, std::size_t index)
{
    const auto [start, deadline] = DatesOf(row);
    if (start.empty() || index > kMaxItemIndex) {
        return {};
    }
    // A progress outside what the panel accepts (hand-edited files) would widen the fraction.
    const std::int32_t progress = std::clamp(NumberOrZero(row.Progress), 0, kMaxProgress);
    const bool singleDay = deadline.empty() || start == deadline;

    std::string item;
    item.reserve(3 + DayItemLayout::kHead + DayItemLayout::kHeadLength);
    item.append(singleDay ? "1" : "0");
    AppendNumber(item, std::clamp(5 - NumberOrZero(row.Importance), 0, 99), 2);
    AppendNumber(item, static_cast<std::int64_t>(index), 5);
    if (deadline.empty()) {
        item.append(start);
        AppendNumber(item, progress, 3);
    } else {
        DateTime startDate;
        DateTime deadlineDate;
        try {
            startDate = ParseDateText(start);
            deadlineDate = ParseDateText(deadline);
        } catch (const ConvertError&) {
            return {};  // dates that cannot be read leave the to-do out of the calendar
        }
        std::int64_t hours = DiffSeconds(deadlineDate, startDate) / 3600 + 24;
        hours = std::max<std::int64_t>(hours, 0);
        const std::int64_t reached = hours * progress / 100;
        std::int64_t days = reached / 24;
        std::int64_t fraction = (reached % 24) * 100 / 24;
        // A progress above 100 runs on past the deadline; past the last date it is full there.
        if (const auto room = kLastDayNumber - static_cast<std::int64_t>(startDate.days); days > room) {
            days = room;
            fraction = 100;
        }
        item.append(FormatDateText(AddDays(startDate, static_cast<int>(days))));
        AppendNumber(item, fraction, 3);
    }
    AppendTimeField(item, row.StartText);
    if (row.DeadlineText.size() <= 11) {
        item.append(kNoDeadlineTime);
    } else {
        AppendTimeField(item, row.DeadlineText);
    }
    item.append(SafeHead(row.TaskText));
    return item;
}

std::string BuildDayTodoList(const std::vector<ToDoRecord>& rows, std::string_view dateText)
{
    std::vector<std::string> items;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto [start, deadline] = DatesOf(rows[i]);
        if (!ShownOnDate(start, deadline, dateText)) {
            continue;
        }
        std::string item = DayItemWithSortPrefix(rows[i], i);
        if (!item.empty()) {
            items.push_back(std::move(item));
        }
    }
    std::sort(items.begin(), items.end());
    std::string joined;
    for (const auto& item : items) {
        JoinItem(joined, item);
    }
    return joined;
}

std::vector<std::string_view> SplitDayItems(std::string_view list)
{
    std::vector<std::string_view> items;
    if (list.empty()) {
        return items;
    }
    std::size_t from = 0;
    while (true) {
        const auto at = list.find(kDayItemSeparator, from);
        if (at == std::string_view::npos) {
            items.push_back(list.substr(from));
            return items;
        }
        items.push_back(list.substr(from, at - from));
        from = at + kDayItemSeparator.size();
    }
}

void CalendarModel::CollectItems(const std::vector<ToDoRecord>& rows)
{
    items_.clear();
    items_.reserve(rows.size());
    auto texts = std::make_shared<DayItemTexts>();
    texts->ends.reserve(rows.size());
    // The prefix is the single-day flag and two digits: at most 200 values.
    constexpr std::size_t kOrders = 200;
    std::array<std::uint32_t, kOrders + 1> counts{};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::string item = DayItemWithSortPrefix(rows[i], i);
        if (item.empty() || !texts->Append(std::string_view(item).substr(3))) {
            continue;
        }
        const auto [start, deadline] = DatesOf(rows[i]);
        ListedItem& listed = items_.emplace_back();
        listed.order = static_cast<std::uint8_t>(std::clamp(ParseInt32(std::string_view(item).substr(0, 3)).value_or(0),
                                                            0, static_cast<std::int32_t>(kOrders) - 1));
        listed.hasDeadline = !deadline.empty();
        listed.row = static_cast<std::uint32_t>(i);
        listed.startKey = DateKeyOf(start);
        listed.deadlineKey = deadline.empty() ? -1 : DateKeyOf(deadline);
        ++counts[static_cast<std::size_t>(listed.order) + 1];
    }
    // Rows without a place in the calendar leave room behind; the items stay until the rows change.
    items_.shrink_to_fit();
    texts->text.shrink_to_fit();
    texts->ends.shrink_to_fit();
    itemTexts_ = std::move(texts);
    // A counting sort by prefix keeps the list order within a prefix, which is the order of the
    // index that follows it: the text order of the prefixed items.
    for (std::size_t order = 0; order < kOrders; ++order) {
        counts[order + 1] += counts[order];
    }
    itemOrder_.assign(items_.size(), 0);
    for (std::size_t k = 0; k < items_.size(); ++k) {
        itemOrder_[counts[static_cast<std::size_t>(items_[k].order)]++] = static_cast<std::uint32_t>(k);
    }
    itemsValid_ = true;
    itemsFrom_ = rows.data();
    itemsRowCount_ = rows.size();
}

}  // namespace dolvane
