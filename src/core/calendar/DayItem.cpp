#include "core/calendar/DayItem.h"

#include "core/text/Numbers.h"
#include "core/time/TimeTexts.h"

#include <algorithm>

namespace dolvane {
namespace {

constexpr std::int32_t kMaxProgress = 999;

std::string_view Head(std::string_view text, std::size_t length)
{
    return text.substr(0, std::min(length, text.size()));
}

std::int32_t NumberOrZero(std::string_view text)
{
    return ParseInt32(text).value_or(0);
}

// The "hh:nn" of a date-time text as it stands, blank-padded when the text is shorter.
void CopyTimePart(std::array<char, DayItem::kTimeLength>& to, std::string_view dateTimeText)
{
    to.fill(' ');
    const std::string_view time = dateTimeText.size() > 11 ? dateTimeText.substr(11, to.size()) : std::string_view();
    std::copy(time.begin(), time.end(), to.begin());
}

struct RowDates {
    std::string_view start;
    std::string_view deadline;
};

RowDates DatesOf(const ToDoRecord& row)
{
    return {Head(row.StartText, 10), Head(row.DeadlineText, 10)};
}

// Whether a to-do with start date `start` and deadline date `deadline` (first 10 characters of
// each) is shown on `date`: as plain text comparisons, which order "yyyy/mm/dd" by date.
bool ShownOnDate(const RowDates& dates, std::string_view date)
{
    if (dates.start.empty()) {
        return false;  // a deadline without a start has no place in the calendar
    }
    if (dates.deadline.empty()) {
        return dates.start == date;
    }
    return dates.start <= date && date <= dates.deadline;
}

}  // namespace

std::int32_t DateKeyOf(std::string_view text)
{
    const auto date = text.size() == 10 ? ReadDateDigits(text) : std::nullopt;
    return date ? date->year * 10'000 + date->month * 100 + date->day : -1;
}

std::string DayItem::ProgressDateText() const
{
    if (progressDay < 0) {
        return {};
    }
    std::string text;
    AppendNumber(text, progressDay / 10'000, 4);
    text.append(1, '/');
    AppendNumber(text, progressDay / 100 % 100, 2);
    text.append(1, '/');
    AppendNumber(text, progressDay % 100, 2);
    return text;
}

std::uint8_t DayItemRank(const ToDoRecord& row)
{
    const auto [start, deadline] = DatesOf(row);
    const bool singleDay = deadline.empty() || start == deadline;
    return static_cast<std::uint8_t>((singleDay ? 100 : 0) + std::clamp(5 - NumberOrZero(row.Importance), 0, 99));
}

std::optional<DayItem> MakeDayItem(const ToDoRecord& row, std::uint32_t index)
{
    const auto [start, deadline] = DatesOf(row);
    if (start.empty()) {
        return std::nullopt;
    }
    // A progress outside what the panel accepts (hand-edited files) is kept within three digits.
    const std::int32_t progress = std::clamp(NumberOrZero(row.Progress), 0, kMaxProgress);
    DayItem item;
    item.row = index;
    if (deadline.empty()) {
        item.progressDay = DateKeyOf(start);
        item.progressPercent = static_cast<std::uint16_t>(progress);
    } else {
        DateTime startDate;
        DateTime deadlineDate;
        try {
            startDate = ParseDateText(start);
            deadlineDate = ParseDateText(deadline);
        } catch (const ConvertError&) {
            return std::nullopt;  // dates that cannot be read leave the to-do out of the calendar
        }
        // The span in hours, both days counted whole; the progress reaches `days` whole days
        // and a fraction of the next.
        const std::int64_t hours = std::max<std::int64_t>(DiffSeconds(deadlineDate, startDate) / 3600 + 24, 0);
        const std::int64_t reached = hours * progress / 100;
        std::int64_t days = reached / 24;
        std::int64_t fraction = (reached % 24) * 100 / 24;
        // A progress above 100 runs on past the deadline; past the last date it is full there.
        if (const auto room = kLastDayNumber - static_cast<std::int64_t>(startDate.days); days > room) {
            days = room;
            fraction = 100;
        }
        item.progressDay = DateKeyOf(FormatDateText(DateTime{startDate.days + static_cast<double>(days)}));
        item.progressPercent = static_cast<std::uint16_t>(fraction);
    }
    CopyTimePart(item.startTime, row.StartText);
    item.hasDeadlineTime = row.DeadlineText.size() > 11;
    CopyTimePart(item.deadlineTime, row.DeadlineText);
    const std::string_view head = Head(row.TaskText, DayItem::kHeadLength);
    std::copy(head.begin(), head.end(), item.head.begin());
    item.headLength = static_cast<std::uint8_t>(head.size());
    return item;
}

std::vector<DayItem> BuildDayTodoList(const std::vector<ToDoRecord>& rows, std::string_view dateText)
{
    struct Ranked {
        std::uint8_t rank;
        DayItem item;
    };
    std::vector<Ranked> ranked;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!ShownOnDate(DatesOf(rows[i]), dateText)) {
            continue;
        }
        if (auto item = MakeDayItem(rows[i], static_cast<std::uint32_t>(i))) {
            ranked.push_back({DayItemRank(rows[i]), *item});
        }
    }
    // Stable: the list order decides among equal ranks.
    std::stable_sort(ranked.begin(), ranked.end(), [](const Ranked& a, const Ranked& b) { return a.rank < b.rank; });
    std::vector<DayItem> items;
    items.reserve(ranked.size());
    for (const Ranked& r : ranked) {
        items.push_back(r.item);
    }
    return items;
}

}  // namespace dolvane
