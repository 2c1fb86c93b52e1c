#pragma once

#include "core/app/ToDoDocument.h"
#include "core/app/ViewTabs.h"
#include "core/edit/EditPanel.h"

#include <optional>
#include <string>

namespace dolvane {

// The editing panel under the list and its commands: showing the selected row, editing fields
// and their include boxes, Add and Replace with the checks of the ticked fields, and the
// drop-down histories that learn from them.
class PanelCommands final {
public:
    PanelCommands(ToDoDocument& document, ViewTabs& tabs, Prompts& prompts);

    const EditPanel& Panel() const noexcept { return panel_; }
    // The row shown in the panel, or -1.
    int ShownRow() const noexcept { return shownRow_; }
    const ComboHistory& Executors() const noexcept { return document_.Executors(); }
    const ComboHistory& Categories() const noexcept { return document_.Categories(); }
    const StoreState& State() const noexcept { return document_.State(); }
    DateTime Now() const { return document_.Now(); }

    // Shows the first selected row in the panel (nine empty fields when none is selected);
    // Replace is disabled and the include boxes cleared.
    void ShowSelectedRow();
    // A field's text changed (typed, or set by a picker).
    void SetText(PanelField field, std::string text);
    // A field's typed text holds `character` (UTF-8), which cp932 cannot store: Add and Replace
    // name it instead of writing what the field held before.
    void SetUnstorable(PanelField field, std::string character);
    void SetIncluded(PanelField field, bool included) { panel_.SetIncluded(field, included); }
    void PressIncludeBox() { panel_.PressIncludeBox(document_.SelectedCount()); }
    // A date dragged in the calendar: the field follows the moved to-do. The caller tells the
    // window once the drop is done.
    void TakeDraggedDate(PanelField field, std::string text);
    // The row itself has changed already (a calendar drop): Replace has nothing left to do.
    void DisableReplace() noexcept { panel_.DisableReplace(); }

    // Add: a new row from the ticked fields and defaults, the only selected row afterwards.
    // `start` replaces now as the start of a row whose start box is not ticked. A blank task
    // (ticked or not) is refused like any field error.
    void AddFromPanel(std::optional<DateTime> start = std::nullopt);
    // Inherit-new: a row added as Add would make it, starting now, that takes the first selected
    // row's importance, executor, task, category and warning, and a deadline as far after its
    // start as the source's end was after the source's start. The source and the new row end up
    // selected. A source date that cannot be read is reported; the new row stays as Add made it.
    void InheritNew();
    // Replace: the ticked fields go into every selected row; a ticked blank task is refused.
    void ReplaceSelected();
    // A new view was loaded: the fields that described rows of the old one are emptied.
    void ClearForNewView();

private:
    // Shows the first problem of a ticked field and says whether Add or Replace may go on.
    enum class Check { Add, Replace, Inherit };
    bool FieldsValid(Check check);
    void RememberCombos();

    ToDoDocument& document_;
    Prompts& prompts_;
    ViewTabs& tabs_;
    EditPanel panel_;
    int shownRow_ = -1;
};

}  // namespace dolvane
