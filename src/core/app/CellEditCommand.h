#pragma once

#include "core/app/ListCommands.h"
#include "core/app/PanelCommands.h"
#include "core/app/ToDoDocument.h"

namespace dolvane {

// A double click in the list edits the cell of the first selected row under the last press, in
// the cell edit dialog. It changes only that row's one field: the time texts wait for the status
// refresh, and the drop-down histories, the category tabs and undo stay as they were.
class CellEditCommand final {
public:
    CellEditCommand(ToDoDocument& document, PanelCommands& panel, const ListCommands& list, Prompts& prompts);

    // Opens the dialog for the clicked column; true when a cell was changed.
    bool EditClickedCell();
    // The same for a column chosen otherwise (the list's current cell, from the keyboard).
    bool EditColumn(int column);

private:
    ToDoDocument& document_;
    Prompts& prompts_;
    PanelCommands& panel_;
    const ListCommands& list_;
};

}  // namespace dolvane
