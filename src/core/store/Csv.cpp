#include "core/store/Csv.h"

#include "core/text/ReplaceText.h"

#include <array>

namespace dolvane {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kJoinedLineBreak = "\xA5\xA5";  // "･･"

// Collects the pieces of a line into one string.
struct LineSink {
    std::string& line;
    void Mark(std::string_view text) { line += text; }
    void Text(std::string_view text) { line += text; }
};

}  // namespace

std::string CsvHeaderText(bool enclose, bool elapsedRate)
{
    std::string line;
    LineSink sink{line};
    for (int column = 0; column < kVisibleColumnCount; ++column) {
        if (column > 0) {
            line += ',';
        }
        csv_detail::WriteField(ColumnCaption(column, elapsedRate), enclose, sink);
    }
    return line;
}

std::string CsvRowText(const ToDoRecord& row, bool enclose)
{
    std::string line;
    LineSink sink{line};
    WriteCsvRow(row, enclose, sink);
    return line;
}

std::string CsvFileText(const std::vector<ToDoRecord>& rows, bool enclose, bool elapsedRate)
{
    std::string text = CsvHeaderText(enclose, elapsedRate);
    text += kLineEnd;
    for (const ToDoRecord& row : rows) {
        if (row.Selected) {
            text += CsvRowText(row, enclose);
            text += kLineEnd;
        }
    }
    return text;
}

bool WriteCsvFile(FileSystem& files, const std::filesystem::path& path, const std::vector<ToDoRecord>& rows,
                  bool enclose, bool elapsedRate, FileError& error)
{
    return files.WriteFileAtomically(path, CsvFileText(rows, enclose, elapsedRate), error);
}

namespace csv_detail {

FieldShape ShapeOf(std::string_view field) noexcept
{
    // One pass over the bytes without a branch for each: every byte's bits are gathered.
    enum : unsigned char { kMustEnclose = 1, kCarriageReturn = 2 };
    static constexpr std::array<unsigned char, 256> kBits = [] {
        std::array<unsigned char, 256> bits{};
        bits[','] = bits['"'] = bits['\n'] = kMustEnclose;
        bits['\r'] = kMustEnclose | kCarriageReturn;
        return bits;
    }();
    unsigned char seen = 0;
    for (const char c : field) {
        seen |= kBits[static_cast<unsigned char>(c)];
    }
    FieldShape shape;
    shape.mustEnclose = (seen & kMustEnclose) != 0;
    shape.joinsLines = (seen & kCarriageReturn) != 0 && field.find(kLineEnd) != std::string_view::npos;
    return shape;
}

std::string JoinedLines(std::string_view field)
{
    return ReplaceText(field, kLineEnd, kJoinedLineBreak);
}

}  // namespace csv_detail

}  // namespace dolvane
