#include "core/view/RowColour.h"

#include "core/time/TimeTexts.h"

#include <string_view>

namespace dolvane {
namespace {

std::optional<std::uint32_t> OpenRowColour(const ToDoRecord& row, DateTime now)
{
    const std::optional<DateTime> deadline = DateTimeOrNothing(row.DeadlineText);
    if (!deadline) {
        return std::nullopt;
    }
    // Strictly earlier: a deadline of exactly now is not overdue yet. Overdue wins over warning.
    if (*deadline < now) {
        return kOverdueColour;
    }
    // With 0 hours the warning would start at the deadline itself, so it never shows.
    if (WarningStartMoment(*deadline, WarningHoursOf(row.WarningHours)) < now) {
        return kWarningColour;
    }
    return std::nullopt;
}

std::uint32_t CompletedRowColour(const ToDoRecord& row, DateTime now, int keepDays)
{
    if (keepDays <= 0) {
        return kCompletedColour;
    }
    // The start stands in only for an empty completion text, not for an unreadable one.
    const std::string& text = row.CompletedText.empty() ? row.StartText : row.CompletedText;
    const std::optional<DateTime> moment = DateTimeOrNothing(text);
    if (moment && *moment < DateTime{now.days - keepDays}) {
        return kOldCompletedColour;
    }
    return kCompletedColour;
}

}  // namespace

std::optional<std::uint32_t> RowColour(const ToDoRecord& row, DateTime now, int keepDays)
{
    if (row.Completed) {
        return CompletedRowColour(row, now, keepDays);
    }
    return OpenRowColour(row, now);
}

}  // namespace dolvane
