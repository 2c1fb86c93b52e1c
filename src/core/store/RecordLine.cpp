#include "core/store/RecordLine.h"

#include "core/text/ByteKind.h"
#include "core/text/Numbers.h"
#include "core/text/ReplaceText.h"

namespace dolvane {
namespace {

constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kStoredLineBreak = "\xA5\xA5";  // "･･"

// Fixed head of the value: completion flag, importance digit, three progress digits.
constexpr std::size_t kValueHeadLength = 5;

// Splits off the text after the first `marker`: name "a+b" with '+' gives "b" and leaves "a".
std::string_view TakeAfter(std::string_view& name, char marker)
{
    const auto at = name.find(marker);
    if (at == std::string_view::npos) {
        return {};
    }
    std::string_view tail = name.substr(at + 1);
    name = name.substr(0, at);
    return tail;
}

// The slice [from, to) of text, clamped to the text.
std::string_view Slice(std::string_view text, std::size_t from, std::size_t to)
{
    if (from >= text.size() || to <= from) {
        return {};
    }
    return text.substr(from, to - from);
}

}  // namespace

int ProgressValue(std::string_view progress)
{
    return ParseInt32(progress).value_or(0);
}

namespace {

// Where the executor, the category and the task stand in a line's value. A value that lacks a
// marker still gives a task: it takes the rest of the value.
struct ValueParts {
    std::string_view executor;
    std::string_view category;
    std::string_view task;
};

// `p1` and `p2`: where "@\\@" and "#@#" first stand in `value`, or npos.
ValueParts SplitValue(std::string_view value, std::size_t p1, std::size_t p2)
{
    ValueParts parts;
    if (p1 != std::string_view::npos && p2 != std::string_view::npos && p2 >= p1 + kExecutorEnd.size()) {
        parts.executor = Slice(value, kValueHeadLength, p1);
        parts.category = Slice(value, p1 + kExecutorEnd.size(), p2);
        parts.task = value.substr(p2 + kCategoryEnd.size());
    } else if (p2 != std::string_view::npos) {
        // No executor marker before the category marker: keep what stands before it visible.
        parts.executor = Slice(value, kValueHeadLength, p2);
        parts.task = value.substr(p2 + kCategoryEnd.size());
    } else if (p1 != std::string_view::npos) {
        parts.executor = Slice(value, kValueHeadLength, p1);
        parts.task = value.substr(p1 + kExecutorEnd.size());
    } else {
        parts.task = Slice(value, kValueHeadLength, value.size());
    }
    return parts;
}

}  // namespace

bool IsBlankTask(std::string_view cp932Text) noexcept
{
    // Walked character by character: 0x40 and 0xA5 are also trail bytes of ordinary characters
    // ("ァ" is 0x83 0x40, "ぇ" 0x82 0xA5).
    for (std::size_t i = 0; i < cp932Text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(cp932Text[i]);
        if (IsCp932LeadByte(byte)) {
            // Of the double-byte characters only the full-width space is blank.
            if (cp932Text.substr(i, 2) != "\x81\x40") {
                return false;
            }
            ++i;
        } else if (byte > 0x20 && byte != 0x7F && byte != 0xA5) {
            return false;
        }
    }
    return true;
}

std::optional<LineFacts> ReadLineFacts(std::string_view line)
{
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    LineFacts facts;
    facts.name = line.substr(0, equals);
    facts.value = line.substr(equals + 1);
    facts.completed = !facts.value.empty() && facts.value.front() == '1';
    const ValueParts parts = SplitValue(facts.value, facts.value.find(kExecutorEnd), facts.value.find(kCategoryEnd));
    facts.executor = parts.executor;
    facts.category = parts.category;
    facts.task = parts.task;
    facts.hasTask = !IsBlankTask(parts.task);
    return facts;
}

ToDoRecord ParseRecordLine(std::string_view line, bool keepSource)
{
    ToDoRecord row;
    ParseRecordLineInto(line, row, keepSource);
    return row;
}

void ParseRecordLineInto(std::string_view line, ToDoRecord& row, bool keepSource)
{
    if (const auto facts = ReadLineFacts(line)) {
        ParseRecordLineInto(line, *facts, row, keepSource);
    } else {
        LineFacts nameOnly;
        nameOnly.name = line;
        ParseRecordLineInto(line, nameOnly, row, keepSource);
    }
}

void ParseRecordLineInto(std::string_view line, const LineFacts& facts, ToDoRecord& row, bool keepSource)
{
    // Assigned field by field, so a row used again keeps its strings' buffers.
    row.RemainingText.clear();
    row.ElapsedText.clear();
    row.WarningText.clear();
    row.FileLine.clear();
    row.SourceLine.clear();
    row.LineEnd.clear();
    row.Selected = false;

    std::string_view name = facts.name;
    row.WarningHours = TakeAfter(name, '+');
    row.CompletedText = TakeAfter(name, '|');
    row.DeadlineText = TakeAfter(name, '&');
    row.StartText = name;

    const std::string_view value = facts.value;
    row.Completed = facts.completed;
    row.Importance = Slice(value, 1, 2);
    row.Progress = std::to_string(ProgressValue(Slice(value, 2, kValueHeadLength)));

    row.Executor = facts.executor;
    row.Category = facts.category;
    if (facts.task.find(kStoredLineBreak) == std::string_view::npos) {
        row.TaskText.assign(TrimControlAndBlanks(facts.task));  // what ReplaceText gives, in place
    } else {
        row.TaskText = ReplaceText(facts.task, kStoredLineBreak, kLineBreak);
    }
    if (!keepSource) {
        return;
    }
    // Every line of a file passes here at load: reuse one buffer for the comparison.
    thread_local std::string formatted;
    formatted.clear();
    AppendRecordLine(row, formatted);
    if (formatted != line) {
        row.SourceLine = line;
    }
}

std::string FormatRecordLine(const ToDoRecord& row)
{
    std::string line;
    line.reserve(64 + row.Executor.size() + row.Category.size() + row.TaskText.size());
    AppendRecordLine(row, line);
    return line;
}

void AppendRecordLine(const ToDoRecord& row, std::string& line)
{
    line += row.StartText;
    if (!row.DeadlineText.empty()) {
        line += '&';
        line += row.DeadlineText;
    }
    if (!row.CompletedText.empty()) {
        line += '|';
        line += row.CompletedText;
    }
    line += '+';
    line += row.WarningHours;
    line += '=';
    line += row.Completed ? '1' : '0';
    line += row.Importance;
    AppendNumber(line, ProgressValue(row.Progress), 3);
    line += row.Executor;
    line += kExecutorEnd;
    line += row.Category;
    line += kCategoryEnd;
    line += ReplaceText(row.TaskText, kLineBreak, kStoredLineBreak);
}

std::string LineToWrite(const ToDoRecord& row)
{
    std::string line = FormatRecordLine(row);
    if (!row.SourceLine.empty() && line == FormatRecordLine(ParseRecordLine(row.SourceLine))) {
        return row.SourceLine.str();
    }
    return line;
}

}  // namespace dolvane
