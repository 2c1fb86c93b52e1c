#pragma once
// The to-do rows the calendar benchmarks work on.
#include "core/store/ToDoRecord.h"
#include "core/time/TimeTexts.h"

#include <cstddef>
#include <string>
#include <vector>

namespace dolvane::bench {

// `count` to-dos whose starts are spread evenly over `spreadDays` days ending a few days after
// the shown month; one in four has no deadline, the others run for 0 to 6 days.
inline std::vector<ToDoRecord> BuildRows(std::size_t count, int spreadDays)
{
    const DateTime last = ParseDateTimeText("2027/01/10 09:00");
    std::vector<ToDoRecord> rows(count);
    for (std::size_t i = 0; i < count; ++i) {
        ToDoRecord& row = rows[i];
        const double offset = static_cast<double>(i % static_cast<std::size_t>(spreadDays));
        const DateTime start{last.days - offset};
        row.StartText = FormatDateTimeText(start);
        if (i % 4 != 0) {
            row.DeadlineText = FormatDateTimeText(DateTime{start.days + static_cast<double>(i % 7) + 0.25});
        }
        row.Importance = std::to_string(i % 6);
        row.Progress = std::to_string(i * 13 % 101);
        row.TaskText = "task number " + std::to_string(i) + " with a longer description";
    }
    return rows;
}

}  // namespace dolvane::bench
