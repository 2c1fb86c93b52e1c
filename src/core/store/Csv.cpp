#include "core/store/Csv.h"

#include "core/text/Cp932Codec.h"
#include "core/text/ReplaceText.h"

#include <algorithm>
#include <array>

namespace dolvane {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kJoinedLineBreak = "\xA5\xA5";  // "･･"

const std::array<std::string, kVisibleColumnCount>& Captions()
{
    static const std::array<std::string, kVisibleColumnCount> captions = {
        Utf8ToCp932("開始日時"), Utf8ToCp932("期限（完了予定）"), Utf8ToCp932("重要度"),
        Utf8ToCp932("実行者"),   Utf8ToCp932("すべきこと"),       Utf8ToCp932("分類"),
        Utf8ToCp932("進捗"),     Utf8ToCp932("残り時間"),         Utf8ToCp932("経過時間"),
        Utf8ToCp932("警告"),     Utf8ToCp932("完了日時"),
    };
    return captions;
}

// 0x22, the comma and the line-end bytes are never cp932 trail bytes, so looking for them and
// doubling 0x22 byte by byte cannot split a character. Without `enclose` a field is enclosed
// only when it must be, so that every line still holds eleven fields.
bool NeedsEnclosing(std::string_view field)
{
    // One pass over the bytes: find_first_of would look each byte up in the set separately.
    return std::any_of(field.begin(), field.end(),
                       [](char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; });
}

void AppendField(std::string& line, std::string_view field, bool enclose)
{
    if (!enclose && !NeedsEnclosing(field)) {
        line += field;
        return;
    }
    line += '"';
    for (const char c : field) {
        if (c == '"') {
            line += '"';
        }
        line += c;
    }
    line += '"';
}

}  // namespace

std::string CsvHeaderText(bool enclose, bool elapsedRate)
{
    static const std::string rateCaption = Utf8ToCp932("経過率");
    std::string line;
    for (std::size_t column = 0; column < Captions().size(); ++column) {
        if (column > 0) {
            line += ',';
        }
        const bool rate = elapsedRate && column == static_cast<std::size_t>(Field::Elapsed);
        AppendField(line, rate ? rateCaption : Captions()[column], enclose);
    }
    return line;
}

std::string CsvRowText(const ToDoRecord& row, bool enclose)
{
    std::string line;
    for (int column = 0; column < kVisibleColumnCount; ++column) {
        if (column > 0) {
            line += ',';
        }
        const std::string& text = row.Text(static_cast<Field>(column));
        if (text.find(kLineEnd) != std::string::npos) {
            AppendField(line, ReplaceText(text, kLineEnd, kJoinedLineBreak), enclose);
        } else {
            AppendField(line, text, enclose);
        }
    }
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

}  // namespace dolvane
