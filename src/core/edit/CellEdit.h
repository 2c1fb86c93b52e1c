#pragma once

#include "core/ports/Prompts.h"
#include "core/store/ToDoRecord.h"

#include <optional>
#include <string>
#include <vector>

namespace dolvane {

// Where a choice editor's drop-down items come from.
enum class CellItems { None, Importance, Executors, Categories };

// What a double click on a list column edits: the record field, the editor, the label beside it
// (UTF-8, as the panel captions the field) and, for the date columns, the picker's caption.
struct CellEditColumn {
    Field field;
    CellEditorKind kind;
    CellItems items;
    const char* label;
    const char* pickerCaption;  // "" unless a date column
};

// The editable columns 0-6, 9 and 10; nothing for the computed remaining and elapsed times and
// for -1 (the check box, a column edge, right of the last column).
std::optional<CellEditColumn> CellEditColumnFor(int column);

// The importance digits the importance editor offers.
const std::vector<std::string>& ImportanceItems();

// Writes the dialog's result into the cell's field. The warning column holds hours: its text
// is recomputed from them (a result that is not a number gives no warning text).
void WriteCellResult(ToDoRecord& row, Field field, std::string result);

}  // namespace dolvane
