#pragma once

#include "core/store/FileIo.h"
#include "core/store/ToDoRecord.h"

#include <filesystem>
#include <string>
#include <vector>

namespace dolvane {

// Comma-separated export of the list as it is shown: the eleven visible columns, cp932, lines
// ending in CR LF, no byte-order mark. With `enclose` every caption and field stands between
// double quotes and a double quote inside a field is doubled, so the file reads back field for
// field; without it a field is written as it is unless it holds a comma, a double quote or a line
// break, which is enclosed as above (so every line has eleven fields either way).

// The caption line, without its line end. Column 8 reads "経過率" while `elapsedRate` is on, as
// its column caption does.
std::string CsvHeaderText(bool enclose, bool elapsedRate = false);

// One row, without its line end. A field holding CR LF is put on one line with "･･" between its
// lines (and trimmed, as the list file does); other fields are taken byte for byte.
std::string CsvRowText(const ToDoRecord& row, bool enclose);

// The same row handed out in pieces as it is made, so a caller can write it on without building
// the line: `out.Mark(text)` gets the commas and double quotes the format adds and
// `out.Text(text)` the field bytes between them, in order. Their concatenation is CsvRowText.
// A piece of field text never ends inside a character that goes on in the next piece.
template <typename Out> void WriteCsvRow(const ToDoRecord& row, bool enclose, Out& out);

// The caption line and then each selected row in list order.
std::string CsvFileText(const std::vector<ToDoRecord>& rows, bool enclose, bool elapsedRate = false);

// Replaces `path` with CsvFileText; false with `error` set when the file cannot be written.
bool WriteCsvFile(FileSystem& files, const std::filesystem::path& path, const std::vector<ToDoRecord>& rows,
                  bool enclose, bool elapsedRate, FileError& error);

namespace csv_detail {

// What a field needs before it is written: its CR LF joined, and enclosing.
struct FieldShape {
    bool mustEnclose = false;  // it holds a comma, a double quote, CR or LF
    bool joinsLines = false;   // it holds CR LF
};
FieldShape ShapeOf(std::string_view field) noexcept;
// `field` with each CR LF replaced by "･･" and trimmed as the list file does.
std::string JoinedLines(std::string_view field);

// 0x22, the comma and the line-end bytes are never cp932 trail bytes, so looking for them and
// doubling 0x22 byte by byte cannot split a character.
template <typename Out> void WriteField(std::string_view field, bool enclose, Out& out)
{
    if (!enclose) {
        out.Text(field);
        return;
    }
    out.Mark("\"");
    std::size_t from = 0;
    for (auto quote = field.find('"'); quote != std::string_view::npos; quote = field.find('"', from)) {
        out.Text(field.substr(from, quote + 1 - from));
        out.Mark("\"");
        from = quote + 1;
    }
    out.Text(field.substr(from));
    out.Mark("\"");
}

}  // namespace csv_detail

template <typename Out> void WriteCsvRow(const ToDoRecord& row, bool enclose, Out& out)
{
    for (int column = 0; column < kVisibleColumnCount; ++column) {
        if (column > 0) {
            out.Mark(",");
        }
        const std::string& text = row.Text(static_cast<Field>(column));
        // Without `enclose` a field is enclosed only when it must be, so that every line still
        // holds eleven fields.
        const csv_detail::FieldShape shape = csv_detail::ShapeOf(text);
        if (shape.joinsLines) {
            const std::string joined = csv_detail::JoinedLines(text);
            csv_detail::WriteField(joined, enclose || csv_detail::ShapeOf(joined).mustEnclose, out);
        } else {
            csv_detail::WriteField(text, enclose || shape.mustEnclose, out);
        }
    }
}

}  // namespace dolvane
