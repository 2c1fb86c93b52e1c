#pragma once

#include "core/time/DateTime.h"

#include <memory>
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

// The caption of list column `column` (0 to kVisibleColumnCount - 1) in cp932, shared by the list's
// header and the CSV caption line. Column 8 reads "経過率" instead while the elapsed column shows
// rates.
const std::string& ColumnCaption(int column, bool elapsedRate = false);

// The line end a row was read with when it is not the list's own CR LF: "\n" or "\r". Empty
// stands for CR LF and for a last line without an end (which gets CR LF when lines follow it).
// One byte, as every row has one.
class LineEnding final {
public:
    // Anything but "\n" and "\r" is CR LF.
    LineEnding& operator=(std::string_view end) noexcept
    {
        kind_ = end == "\n" ? '\n' : end == "\r" ? '\r' : '\0';
        return *this;
    }
    // A view of a constant, so it outlives the row.
    std::string_view View() const noexcept
    {
        return kind_ == '\n' ? std::string_view("\n") : kind_ == '\r' ? std::string_view("\r") : std::string_view();
    }
    bool empty() const noexcept { return kind_ == '\0'; }
    void clear() noexcept { kind_ = '\0'; }
    friend bool operator==(const LineEnding&, const LineEnding&) = default;

private:
    char kind_ = '\0';
};

// A text that only a few rows hold: a row without it spends one pointer on it.
class RareText final {
public:
    RareText() = default;
    RareText(const RareText& other) : text_(other.text_ ? std::make_unique<std::string>(*other.text_) : nullptr) {}
    RareText& operator=(const RareText& other)
    {
        if (this != &other) {
            *this = std::string_view(other);
        }
        return *this;
    }
    RareText(RareText&&) noexcept = default;
    RareText& operator=(RareText&&) noexcept = default;
    ~RareText() = default;

    RareText& operator=(std::string_view text)
    {
        if (text.empty()) {
            text_.reset();
        } else if (text_) {
            text_->assign(text);
        } else {
            text_ = std::make_unique<std::string>(text);
        }
        return *this;
    }
    bool empty() const noexcept { return !text_; }
    void clear() noexcept { text_.reset(); }
    std::string str() const { return text_ ? *text_ : std::string(); }
    operator std::string_view() const noexcept { return text_ ? std::string_view(*text_) : std::string_view(); }

private:
    std::unique_ptr<std::string> text_;  // never an empty string
};

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
    // The line end it was read with, written back with it. New rows take "\r\n".
    LineEnding LineEnd;

    // The line exactly as it was read, kept only when writing the fields back would not give
    // the same bytes (stray blanks, a missing marker, unreadable digits). While the row is not
    // edited, saving writes this line back unchanged.
    RareText SourceLine;

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
