#pragma once

#include "core/app/ToDoDocument.h"
#include "core/ports/Prompts.h"
#include "core/store/ToDoRecord.h"

#include <string>
#include <string_view>
#include <vector>

namespace dolvane {

// One note line of a row (cp932): "□" or "■", the chosen fields, the task (or its first line).
std::string StickyNoteLine(const ToDoRecord& row, const StickyNoteFields& fields);

// The order of note lines: descending by their mark (open "□" before completed "■" in the
// Japanese collation), then descending by their fourth byte (the importance digit when it is
// included). Negative when `a` comes first.
int CompareNoteLines(std::string_view a, std::string_view b);

// The text handed to the sibling for the selected rows: their lines in note order (equal lines
// keep the list's order), each followed by CR LF, without the trailing blanks and line ends.
std::string BuildStickyNoteText(const std::vector<ToDoRecord>& rows, const StickyNoteFields& fields);

// The pop-up menu's "付箋の作成": the selected to-dos become sticky notes of the sibling program.
class StickyNotes final {
public:
    StickyNotes(ToDoDocument& document, Prompts& prompts, SiblingPort& sibling)
        : document_(document),
          prompts_(prompts),
          sibling_(sibling)
    {
    }

    // The menu entry is enabled while the sibling runs.
    bool Available() const { return sibling_.Running(); }
    // Asks which fields to include; on OK sends the notes (also none, when nothing is selected),
    // and says so when the sibling did not take them whole. False when the user cancelled.
    bool Create();

private:
    ToDoDocument& document_;
    Prompts& prompts_;
    SiblingPort& sibling_;
};

}  // namespace dolvane
