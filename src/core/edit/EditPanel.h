#pragma once

#include "core/store/ToDoRecord.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace dolvane {

// The panel's fields by their key, as the shared change handler knows them.
enum class PanelField : int {
    Deadline = 0,
    Importance = 1,
    Executor = 2,
    Task = 3,
    Category = 4,
    Progress = 5,
    WarningHours = 6,
    Start = 7,
    Completed = 8,
};
inline constexpr int kPanelFieldCount = 9;

// The editing panel without widgets: nine field texts (cp932), their include boxes, whether
// Replace is enabled and the colour of the task box's caption. A ticked include box means its
// field takes part in Add and Replace.
class EditPanel final {
public:
    EditPanel();

    const std::string& Text(PanelField field) const { return texts_[Index(field)]; }
    bool Included(PanelField field) const { return included_[Index(field)]; }
    bool ReplaceEnabled() const noexcept { return replaceEnabled_; }
    // The task box's caption is red while the task text is empty.
    bool TaskCaptionRed() const noexcept { return taskCaptionRed_; }
    // The warning hours as a number: what the spin control beside the field holds (0 to 32767).
    std::int32_t WarningHoursValue() const;

    // A field's text changed, typed or set by the program. Nothing happens when the text is the
    // same; otherwise its include box is ticked and Replace follows the task text and selection.
    // Either way the field no longer holds an unstorable character.
    void SetText(PanelField field, std::string text, std::size_t selectedRows);
    // The user typed into a field a character that cp932 cannot hold (UTF-8, "" for none). The
    // field keeps its last storable text; its include box is ticked as for any edit, and Add and
    // Replace refuse while the mark stays.
    void SetUnstorable(PanelField field, std::string character);
    const std::string& Unstorable(PanelField field) const { return unstorable_[Index(field)]; }
    // The user ticks or clears an include box.
    void SetIncluded(PanelField field, bool included) { included_[Index(field)] = included; }
    // A press on any include box: with two or more rows selected Replace is enabled, so a field
    // can be replaced in several rows even while the task text is empty.
    void PressIncludeBox(std::size_t selectedRows);
    // Shows a row in the fields (nothing selected: nine empty fields), then disables Replace and
    // clears every include box.
    void ShowRow(const ToDoRecord* row, std::size_t selectedRows);

    // The row Add appends: the ticked fields, else the defaults. `start` is the moment a start
    // field that is not ticked takes (now, or the calendar's selected day); `categoryTab` the
    // category a row gets when its box is not ticked ("" unless a real category tab is shown).
    ToDoRecord NewRow(DateTime now, DateTime start, const std::string& categoryTab) const;
    // Writes the ticked fields into a selected row and recomputes its elapsed text.
    void ReplaceInto(ToDoRecord& row, DateTime now) const;
    void DisableReplace() noexcept { replaceEnabled_ = false; }

private:
    static std::size_t Index(PanelField field) { return static_cast<std::size_t>(field); }

    std::array<std::string, kPanelFieldCount> texts_;
    std::array<bool, kPanelFieldCount> included_{};
    std::array<std::string, kPanelFieldCount> unstorable_;
    bool replaceEnabled_ = false;
    bool taskCaptionRed_ = false;
};

}  // namespace dolvane
