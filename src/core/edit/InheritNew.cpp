#include "core/edit/InheritNew.h"

#include "core/time/TimeTexts.h"

#include <cstdint>

namespace dolvane {
namespace {

// One hour as the warning period counts it: slightly more than 1/24 day, so an hour count never
// lands a second short of the minute it names.
constexpr double kHourStep = 0.041667;

}  // namespace

std::string InheritedDeadline(const ToDoRecord& source, std::string_view newStartText)
{
    const DateTime sourceStart = ParseDateTimeText(source.StartText);
    const std::string& endText = !source.CompletedText.empty() ? source.CompletedText : source.DeadlineText;
    if (endText.empty()) {
        return {};
    }
    const std::int32_t hours = DiffSeconds(ParseDateTimeText(endText), sourceStart) / 3600;
    DateTime deadline = ParseDateTimeText(newStartText);
    if (hours > 0) {
        // Whole days, then the remaining hours as fractions of a day.
        const std::int32_t wholeDays = hours / 24;
        deadline.days += wholeDays + (hours % 24) * kHourStep;
    }
    return FormatDateTimeText(deadline);
}

void CopyInheritedFields(const ToDoRecord& source, ToDoRecord& target)
{
    target.Importance = source.Importance;
    target.Executor = source.Executor;
    target.TaskText = source.TaskText;
    target.Category = source.Category;
    target.WarningText = source.WarningText;
    target.WarningHours = source.WarningHours;
}

}  // namespace dolvane
