#pragma once

#include "core/store/SettingValues.h"
#include "core/time/DateTime.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dolvane {

// What the sticky-note dialog asks: which fields go into each note line.
struct StickyNoteFields {
    bool importance = false;
    bool executor = false;
    bool category = false;
    bool progress = false;
    bool firstLineOnly = true;  // only the task's first line

    friend bool operator==(const StickyNoteFields&, const StickyNoteFields&) = default;
};

// The editor the cell dialog shows for a column.
enum class CellEditorKind { DateTime, Choice, Task, Progress, Warning };

// What the cell dialog is opened on (cp932 texts, as the row holds them).
struct CellEditRequest {
    int column = -1;
    CellEditorKind kind = CellEditorKind::Choice;
    std::string label;               // one space and the column's label
    std::string value;               // the cell's text
    std::vector<std::string> items;  // the choice editor's drop-down items
    std::string pickerCaption;       // the date picker's caption
    DateTime now;                    // where the date picker starts on an empty cell
};

// Questions and messages to the user, owned by the main window. Texts are UTF-8.
class Prompts {
public:
    virtual ~Prompts() = default;
    // Which answer Enter gives before the user picks one.
    enum class Preselect { Yes, No };
    // Yes and No buttons with the question icon; true for Yes. A question whose Yes cannot be
    // undone (writing over someone else's changes) preselects No.
    virtual bool AskYesNo(std::string_view caption, std::string_view text, Preselect preselect = Preselect::Yes) = 0;
    // A plain message with only an OK button, captioned with the program's title.
    virtual void ShowMessage(std::string_view text) = 0;
    // The application's error box.
    virtual void ShowError(std::string_view text) = 0;
    // The settings dialog, opened on `current`: the edited values on OK, nothing on Cancel.
    virtual std::optional<Settings> EditSettings(const Settings& current) = 0;
    // The sticky-note dialog, opened with its defaults: the fields on OK, nothing on Cancel.
    virtual std::optional<StickyNoteFields> ChooseStickyNoteFields() = 0;
    // The file choosers. `filter` is "caption|pattern", e.g. "ToDoファイル(*.tod)|*.tod"; the
    // save chooser adds `defaultExtension` to a name typed without one. Nothing on Cancel.
    virtual std::optional<std::filesystem::path> ChooseFileToOpen(std::string_view filter) = 0;
    virtual std::optional<std::filesystem::path> ChooseFileToSave(std::string_view defaultExtension,
                                                                  std::string_view filter) = 0;
    // The cell edit dialog ("編集") on one cell: the edited text (cp932) on OK, nothing on Cancel.
    virtual std::optional<std::string> EditCell(const CellEditRequest& request) = 0;
};

}  // namespace dolvane
