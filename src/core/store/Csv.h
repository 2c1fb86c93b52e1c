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

// The caption line and then each selected row in list order.
std::string CsvFileText(const std::vector<ToDoRecord>& rows, bool enclose, bool elapsedRate = false);

// Replaces `path` with CsvFileText; false with `error` set when the file cannot be written.
bool WriteCsvFile(FileSystem& files, const std::filesystem::path& path, const std::vector<ToDoRecord>& rows,
                  bool enclose, bool elapsedRate, FileError& error);

}  // namespace dolvane
