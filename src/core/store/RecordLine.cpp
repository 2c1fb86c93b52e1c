#include "core/store/RecordLine.h"

#include "core/text/Numbers.h"
#include "core/text/ReplaceText.h"

namespace dolvane {
namespace {

constexpr std::string_view kExecutorEnd = "@\\@";
constexpr std::string_view kCategoryEnd = "#@#";
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

std::optional<LineFacts> ReadLineFacts(std::string_view line)
{
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    LineFacts facts;
    facts.value = line.substr(equals + 1);
    facts.completed = !facts.value.empty() && facts.value.front() == '1';
    const auto p1 = facts.value.find(kExecutorEnd);
    const auto p2 = facts.value.find(kCategoryEnd);
    if (p1 != std::string_view::npos && p2 != std::string_view::npos) {
        facts.category = Slice(facts.value, p1 + kExecutorEnd.size(), p2);
    }
    return facts;
}

ToDoRecord ParseRecordLine(std::string_view line)
{
    ToDoRecord row;
    const auto equals = line.find('=');
    std::string_view name = line.substr(0, equals);
    const std::string_view value = equals == std::string_view::npos ? std::string_view{} : line.substr(equals + 1);

    row.WarningHours = TakeAfter(name, '+');
    row.CompletedText = TakeAfter(name, '|');
    row.DeadlineText = TakeAfter(name, '&');
    row.StartText = name;

    row.Completed = !value.empty() && value.front() == '1';
    row.Importance = Slice(value, 1, 2);
    row.Progress = std::to_string(ProgressValue(Slice(value, 2, kValueHeadLength)));

    const auto p1 = value.find(kExecutorEnd);
    const auto p2 = value.find(kCategoryEnd);
    std::string_view task;
    if (p1 != std::string_view::npos && p2 != std::string_view::npos && p2 >= p1 + kExecutorEnd.size()) {
        row.Executor = Slice(value, kValueHeadLength, p1);
        row.Category = Slice(value, p1 + kExecutorEnd.size(), p2);
        task = value.substr(p2 + kCategoryEnd.size());
    } else if (p2 != std::string_view::npos) {
        // No executor marker before the category marker: keep what stands before it visible.
        row.Executor = Slice(value, kValueHeadLength, p2);
        task = value.substr(p2 + kCategoryEnd.size());
    } else if (p1 != std::string_view::npos) {
        row.Executor = Slice(value, kValueHeadLength, p1);
        task = value.substr(p1 + kExecutorEnd.size());
    } else {
        task = Slice(value, kValueHeadLength, value.size());
    }
    row.TaskText = ReplaceText(task, kStoredLineBreak, kLineBreak);
    // Every line of a file passes here at load: reuse one buffer for the comparison.
    thread_local std::string formatted;
    formatted.clear();
    AppendRecordLine(row, formatted);
    if (formatted != line) {
        row.SourceLine = line;
    }
    return row;
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
        return row.SourceLine;
    }
    return line;
}

}  // namespace dolvane
