#pragma once

#include "core/time/DateTime.h"

#include <string>
#include <string_view>
#include <vector>

namespace dolvane {

// Positions of a record's texts, in column order. Positions 0 to 10 are the list's columns.
enum class Field : int {
    Start = 0,
    Deadline,
    Importance,
    Executor,
    Task,
    Category,
    Progress,
    Remaining,
    Elapsed,
    Warning,
    Completed,
    WarningHours,
    FileLine,
};
inline constexpr int kFieldCount = 13;
inline constexpr int kVisibleColumnCount = 11;

// One to-do: every field is cp932 text, as the list shows and the list file stores it.
struct ToDoRecord {
    std::string StartText;      // "yyyy/mm/dd hh:nn" or empty
    std::string DeadlineText;   // "yyyy/mm/dd hh:nn" or empty for no deadline
    std::string Importance;     // one character "0" to "5"
    std::string Executor;       // no line breaks
    std::string TaskText;       // line breaks are CR LF
    std::string Category;       // empty means no category
    std::string Progress;       // decimal without leading zeros; empty only in a new row
    std::string RemainingText;  // computed
    std::string ElapsedText;    // computed
    std::string WarningText;    // computed from WarningHours
    std::string CompletedText;  // "yyyy/mm/dd hh:nn" or empty
    std::string WarningHours;   // decimal hours before the deadline, or empty
    std::string FileLine;       // 0-based line of the list file it was read from; empty when new

    bool Completed = false;
    bool Selected = false;

    // The line exactly as it was read, kept only when writing the fields back would not give
    // the same bytes (stray blanks, a missing marker, unreadable digits). While the row is not
    // edited, saving writes this line back unchanged.
    std::string SourceLine;
    // The line end it was read with ("\r\n", "\n" or "\r"; empty for a last line without
    // one), written back with it. New rows take "\r\n".
    std::string LineEnd;

    std::string& Text(Field field);
    const std::string& Text(Field field) const;
};

// Fills RemainingText, ElapsedText and WarningText from the row's own texts at `now`.
// A date text that cannot be read leaves the texts that depend on it empty.
void ComputeRowTexts(ToDoRecord& row, DateTime now);

// The remaining-time text for a row whose elapsed column reads `elapsedText`: "完了" when
// completed, "無期限" without a deadline, "" while the elapsed column says "待機", else the time
// left ("over" once past). An unreadable deadline gives "".
std::string RemainingTextFor(const ToDoRecord& row, std::string_view elapsedText, DateTime now);

// The three computed texts at `now` (the rest of the row is not touched).
struct ComputedTexts {
    std::string remaining;
    std::string elapsed;
    std::string warning;
};
ComputedTexts ComputeTexts(const ToDoRecord& row, DateTime now);

}  // namespace dolvane
