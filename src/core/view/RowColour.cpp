#include "core/view/RowColour.h"

#include "core/time/TimeTexts.h"

#include <string_view>

namespace dolvane {
namespace {

// A date text that cannot be read (a hand-edited file) counts as not set: the row is painted,
// never the reason the paint fails, and it is never shown as due for the purge on a guess.
std::optional<DateTime> MomentOf(std::string_view text)
{
    if (text.empty()) {
        return std::nullopt;
    }
    try {
        return ParseDateTimeText(text);
    } catch (const ConvertError&) {
        return std::nullopt;
    }
}

std::optional<std::uint32_t> OpenRowColour(const ToDoRecord& row, DateTime now)
{
    const std::optional<DateTime> deadline = MomentOf(row.DeadlineText);
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
    const std::optional<DateTime> moment = MomentOf(text);
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
