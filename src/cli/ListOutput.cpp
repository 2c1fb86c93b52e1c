#include "cli/ListOutput.h"

#include "cli/CliText.h"
#include "core/store/Csv.h"
#include "core/text/Cp932Codec.h"
#include "core/view/RowColour.h"

#include <array>
#include <string>

namespace dolvane::cli {
namespace {

using Escape = Utf8Writer::Escape;

// What opens each of the eleven columns' JSON members, in column order.
constexpr std::array<std::string_view, kVisibleColumnCount> kJsonColumnOpenings = {
    R"(, "start": ")",   R"(, "deadline": ")", R"(, "importance": ")",  R"(, "executor": ")",
    R"(, "task": ")",    R"(, "category": ")", R"(, "progress": ")",    R"(, "remaining": ")",
    R"(, "elapsed": ")", R"(, "warning": ")",  R"(, "completedAt": ")",
};

void WriteTsvRow(Utf8Writer& writer, const ToDoRecord& row, std::string_view state)
{
    writer.Field(row.FileLine, Escape::Tsv);
    writer.Ascii(row.Completed ? "\t1" : "\t0");
    for (int column = 0; column < kVisibleColumnCount; ++column) {
        writer.Ascii('\t');
        writer.Field(row.Text(static_cast<Field>(column)), Escape::Tsv);
    }
    writer.Ascii('\t');
    writer.Field(row.WarningHours, Escape::Tsv);
    writer.Ascii('\t');
    writer.Ascii(state);
    writer.EndLine();
}

void WriteJsonRow(Utf8Writer& writer, const ToDoRecord& row, std::string_view state, bool first)
{
    writer.Ascii(first ? "  {\"fileLine\": " : ",\n  {\"fileLine\": ");
    // Every listed row was read from the file, so its FileLine is a number.
    writer.Field(row.FileLine.empty() ? std::string_view("null") : std::string_view(row.FileLine));
    writer.Ascii(row.Completed ? ", \"completed\": true" : ", \"completed\": false");
    for (int column = 0; column < kVisibleColumnCount; ++column) {
        writer.Ascii(kJsonColumnOpenings[static_cast<std::size_t>(column)]);
        writer.Field(row.Text(static_cast<Field>(column)), Escape::Json);
        writer.Ascii('"');
    }
    writer.Ascii(R"(, "warningHours": ")");
    writer.Field(row.WarningHours, Escape::Json);
    writer.Ascii(R"(", "state": ")");
    writer.Ascii(state);
    writer.Ascii("\"}");
    writer.EndLine("");
}

// Hands the pieces of a CSV row on as they are made: the format's own commas and quotes as they
// are, the field texts converted.
struct CsvPieces {
    Utf8Writer& writer;
    void Mark(std::string_view text) { writer.Ascii(text); }
    void Text(std::string_view text) { writer.Field(text); }
};

// One line per row for a terminal: the task first, then each non-empty column with its caption.
void WriteTextRow(Utf8Writer& writer, const ToDoRecord& row, std::string_view state)
{
    static const std::array<Utf8Writer::Fixed, kVisibleColumnCount> captions = [] {
        std::array<Utf8Writer::Fixed, kVisibleColumnCount> texts{};
        const std::array<std::string_view, kVisibleColumnCount> utf8 = {
            "開始", "期限", "重要度", "実行者", "", "分類", "進捗", "残り", "経過", "警告", "完了日時"};
        for (std::size_t i = 0; i < texts.size(); ++i) {
            texts[i] = {Utf8ToCp932(utf8[i]), std::string(utf8[i])};
        }
        return texts;
    }();
    writer.Field(row.FileLine);
    writer.Ascii(row.Completed ? " [x] " : " [ ] ");
    writer.Field(row.TaskText, Escape::Line);
    for (int column = 0; column < kVisibleColumnCount; ++column) {
        const std::string& text = row.Text(static_cast<Field>(column));
        if (column == static_cast<int>(Field::Task) || text.empty()) {
            continue;
        }
        writer.Ascii(" | ");
        writer.Text(captions[static_cast<std::size_t>(column)]);
        writer.Ascii(' ');
        writer.Field(text, Escape::Line);
        if (column == static_cast<int>(Field::Progress)) {
            writer.Ascii('%');
        }
    }
    writer.Ascii(" | ");
    writer.Ascii(state);
    writer.EndLine();
}

}  // namespace

std::string_view RowStateWord(const ToDoRecord& row, DateTime now, int keepDays)
{
    const auto colour = RowColour(row, now, keepDays);
    if (!colour) {
        return "normal";
    }
    switch (*colour) {
    case kOverdueColour:
        return "overdue";
    case kWarningColour:
        return "warning";
    case kOldCompletedColour:
        return "completed-old";
    case kCompletedColour:
        return "completed";
    default:
        return "normal";
    }
}

RowWriter::RowWriter(std::ostream& out, ListFormat format, DateTime now, int keepDays, bool cp932)
    : writer_(out, !cp932),
      format_(format),
      now_(now),
      keepDays_(keepDays)
{
}

void RowWriter::Begin()
{
    begun_ = true;
    if (format_ == ListFormat::Csv) {
        writer_.Field(CsvHeaderText(false));
        writer_.EndLine("\r\n");
    } else if (format_ == ListFormat::Json) {
        writer_.Ascii("[\n");
    }
}

void RowWriter::Row(const ToDoRecord& row)
{
    if (!begun_) {
        Begin();
    }
    switch (format_) {
    case ListFormat::Tsv:
        WriteTsvRow(writer_, row, RowStateWord(row, now_, keepDays_));
        break;
    case ListFormat::Text:
        WriteTextRow(writer_, row, RowStateWord(row, now_, keepDays_));
        break;
    case ListFormat::Csv: {
        CsvPieces pieces{writer_};
        WriteCsvRow(row, false, pieces);
        writer_.EndLine("\r\n");
        break;
    }
    case ListFormat::Json:
        WriteJsonRow(writer_, row, RowStateWord(row, now_, keepDays_), rows_ == 0);
        break;
    }
    ++rows_;
}

void RowWriter::Finish()
{
    if (!begun_) {
        Begin();
    }
    if (format_ == ListFormat::Json) {
        writer_.Ascii(rows_ == 0 ? "]\n" : "\n]\n");
    }
    writer_.Flush();
}

void WriteRows(std::ostream& out, const std::vector<ToDoRecord>& rows, ListFormat format, DateTime now, int keepDays,
               bool cp932)
{
    RowWriter writer(out, format, now, keepDays, cp932);
    for (const auto& row : rows) {
        writer.Row(row);
    }
    writer.Finish();
}

}  // namespace dolvane::cli
