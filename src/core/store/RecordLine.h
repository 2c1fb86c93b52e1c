#pragma once

#include "core/store/ToDoRecord.h"

#include <optional>
#include <string>
#include <string_view>

namespace dolvane {

// One line of the list file (also the ".tod" format), cp932 without its line end:
//   start[&deadline][|completed]+hours=F I PPP executor@\@category#@#task
// with F the completion flag, I the importance digit, PPP the progress in three digits and the
// task's line breaks stored as "･･" (0xA5 0xA5).

// The markers that end the executor and the category in a line's value.
inline constexpr std::string_view kExecutorEnd = "@\\@";
inline constexpr std::string_view kCategoryEnd = "#@#";

// The parts of a line that the view filter looks at, before a row is built.
struct LineFacts {
    bool completed = false;
    std::string_view category;
    std::string_view value;  // everything after the first "="
    std::string_view name;   // the dates and hours before it
    std::string_view executor;
    std::string_view task;  // as stored, "･･" for its line breaks
    // The task is not blank (IsBlankTask): only then is the line a to-do. Lines without one are
    // kept in the file as they are, never shown as rows.
    bool hasTask = false;
};

// Whether a task holds nothing but blanks: spaces, full-width spaces, control bytes (tabs and line
// breaks among them) and "･", which the list file writes for a line break. It gives the same
// answer for a task as stored ("･･" for its breaks) and as shown (CR LF), so it is the one rule
// of what a to-do is: the reader keeps a line with a blank task as a line, not a row, every
// saver writes no row whose task is blank, and every editor refuses to make one.
bool IsBlankTask(std::string_view cp932Text) noexcept;

// Nullopt when the line has no "=" (it is not a to-do).
std::optional<LineFacts> ReadLineFacts(std::string_view line);

// The row texts of a line. Computed texts are left empty and FileLine is not set. A line whose
// value lacks "@\@" or "#@#" still gives a row: the task takes the rest of the value.
// With `keepSource`, SourceLine holds the line when formatting the row would not give it back
// byte for byte (so a save can write it unchanged); rows that are only read can skip that check.
ToDoRecord ParseRecordLine(std::string_view line, bool keepSource = true);
// The same into `row`, every field replaced (a row read again and again keeps its buffers).
void ParseRecordLineInto(std::string_view line, ToDoRecord& row, bool keepSource = true);
// The same for a line whose facts were read already.
void ParseRecordLineInto(std::string_view line, const LineFacts& facts, ToDoRecord& row, bool keepSource = true);

std::string FormatRecordLine(const ToDoRecord& row);
void AppendRecordLine(const ToDoRecord& row, std::string& line);

// The line to write for a row: its unchanged source line when it has one and the row still
// holds exactly what was read from it, else the formatted line.
std::string LineToWrite(const ToDoRecord& row);

// Progress text read as an integer; empty or unreadable counts as 0.
int ProgressValue(std::string_view progress);

}  // namespace dolvane
