#pragma once

#include "cli/CliText.h"
#include "core/store/ToDoRecord.h"

#include <ostream>
#include <string_view>
#include <vector>

namespace dolvane::cli {

enum class ListFormat { Text, Tsv, Csv, Json };

// The word for what a row's background tells in the window: "overdue", "warning", "completed",
// "completed-old" (past the keeping period) or "normal".
std::string_view RowStateWord(const ToDoRecord& row, DateTime now, int keepDays);

// Writes rows one at a time as they come, so a long list is never held whole: each row with Row,
// then Finish. The header (csv) or opening bracket (json) goes out with the first row or at
// Finish, so nothing is written for a list that could not be read.
class RowWriter final {
public:
    RowWriter(std::ostream& out, ListFormat format, DateTime now, int keepDays, bool cp932);
    void Row(const ToDoRecord& row);
    void Finish();

private:
    void Begin();

    Utf8Writer writer_;
    ListFormat format_;
    DateTime now_;
    int keepDays_;
    std::size_t rows_ = 0;
    bool begun_ = false;
};

// Writes the rows in list order. Texts go out as UTF-8, except csv with `cp932`, which is the
// window's CSV export byte for byte (every row taken, as if all were selected).
//
// tsv, fixed for scripts: one line per row, no header, tab-separated: FileLine, completed (1 or
// 0), the eleven column texts in column order, WarningHours and the state word; inside a text a
// line break is written as \n, a tab as \t and a backslash as \\.
void WriteRows(std::ostream& out, const std::vector<ToDoRecord>& rows, ListFormat format, DateTime now, int keepDays,
               bool cp932);

}  // namespace dolvane::cli
