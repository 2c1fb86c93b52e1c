#include "core/app/StickyNotes.h"

#include "core/text/Cp932Codec.h"
#include "core/view/ColumnSort.h"

#include <algorithm>

namespace dolvane {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::uint32_t kStickyNoteKind = 1;
constexpr std::string_view kNotTaken = "付箋を作成できませんでした。ピマロが付箋の内容を受け取りませんでした。";

}  // namespace

std::string StickyNoteLine(const ToDoRecord& row, const StickyNoteFields& fields)
{
    std::string line = Utf8ToCp932(row.Completed ? "■" : "□");
    if (fields.importance) {
        line += "(" + row.Importance + ")";
    }
    if (fields.progress) {
        const std::string progress = row.Progress + "%";
        if (fields.importance) {
            // Inside the importance's brackets: □(3-50%). Before the ")" rather than at a fixed
            // byte, so a hand-edited importance of two digits cannot split it.
            line.insert(line.size() - 1, "-" + progress);
        } else {
            line += "(" + progress + ")";
        }
    }
    if (fields.executor && !row.Executor.empty()) {
        line += " " + row.Executor + " > ";
    }
    if (fields.category && !row.Category.empty()) {
        line += "[" + row.Category + "] ";
    }
    const std::size_t lineBreak = row.TaskText.find(kLineEnd);
    line += fields.firstLineOnly && lineBreak != std::string::npos ? row.TaskText.substr(0, lineBreak) : row.TaskText;
    return line;
}

int CompareNoteLines(std::string_view a, std::string_view b)
{
    const int marks = CollateCp932(a.substr(0, 2), b.substr(0, 2));
    if (marks != 0) {
        return -marks;
    }
    const auto fourth = [](std::string_view line) { return line.size() > 3 ? line.substr(3, 1) : std::string_view(); };
    return -CollateCp932(fourth(a), fourth(b));
}

std::string BuildStickyNoteText(const std::vector<ToDoRecord>& rows, const StickyNoteFields& fields)
{
    std::vector<std::string> lines;
    for (const ToDoRecord& row : rows) {
        if (row.Selected) {
            lines.push_back(StickyNoteLine(row, fields));
        }
    }
    std::stable_sort(lines.begin(), lines.end(),
                     [](const std::string& a, const std::string& b) { return CompareNoteLines(a, b) < 0; });
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += kLineEnd;
    }
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 0x20) {
        text.pop_back();
    }
    return text;
}

bool StickyNotes::Create()
{
    const auto fields = prompts_.ChooseStickyNoteFields();
    if (!fields) {
        return false;
    }
    // A note cut short would look whole on the sibling's side; the user has to know.
    if (!sibling_.Send(kStickyNoteKind, std::string(kSiblingTag) + BuildStickyNoteText(document_.Rows(), *fields))) {
        prompts_.ShowError(kNotTaken);
    }
    return true;
}

}  // namespace dolvane
