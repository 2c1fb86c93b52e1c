#pragma once

#include "core/app/SettingsSession.h"
#include "core/app/ToDoDocument.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>

namespace dolvane {

// The commands of the list itself: selection and drag selection, the check boxes, Delete, the
// column sort, the CSV export and what its pop-up menu offers, and the colour of each row.
class ListCommands final {
public:
    ListCommands(ToDoDocument& document, const SettingsSession& settings, Prompts& prompts, FileSystem& files);

    // A left press in a row's check box: every selected row takes the pressed row's new state
    // when the pressed row is selected, else only that row; either way there are unsaved changes.
    void PressCheckBox(std::size_t row);
    // A row's check box was toggled by the user.
    void SetRowCompleted(std::size_t row, bool completed);
    // Mouse presses over a row record the anchor of a drag and the column under the pointer
    // (-1 over the check box, on a column edge and right of the last column).
    void RecordPress(int row, int column) noexcept;
    int DragAnchorRow() const noexcept { return dragAnchorRow_; }
    int ClickedColumn() const noexcept { return clickedColumn_; }
    // A drag with the left button moved over `row`.
    void DragOver(int row);
    void SetRowSelected(std::size_t row, bool selected);
    // Selects every row, first to last; the panel is not refreshed.
    void SelectAll();
    std::size_t SelectedCount() const { return document_.SelectedCount(); }

    // Delete: asks, then removes the selected rows (and lists their file lines in a filtered view).
    void DeleteSelected();
    // A click on column header `column`: sorts by it, descending and ascending in turn across
    // all columns; on "全て" the new order is an unsaved change of order.
    void SortByColumn(int column);

    // Which entries of the list's pop-up menu are enabled, decided each time it opens;
    // "付箋の作成" follows StickyNotes::Available.
    struct PopupMenuState {
        bool sortSave = false;   // "現在の順序で保存": on "全て" after a re-sort
        bool deleteRow = false;  // "削除(&D)" and "継承して新規作成(&R)": a row is selected
        bool enclose = false;    // the tick of "文字列を二重引用符で囲む"
    };
    PopupMenuState PopupMenuOpening() const;
    void ToggleCsvEnclosing() noexcept { csvEnclosing_ = !csvEnclosing_; }
    // "CSV形式で保存": asks for a file and writes the selected rows to it as CSV.
    bool ExportCsv();
    // Writes the selected rows as CSV; false (and the error shown) when the file cannot be written.
    bool ExportCsvTo(const std::filesystem::path& path);

    // The row's background at this moment, or nothing for the normal one.
    std::optional<std::uint32_t> RowColourOf(std::size_t row) const;

private:
    ToDoDocument& document_;
    Prompts& prompts_;
    FileSystem& fileSystem_;
    const SettingsSession& settings_;
    int sortDescendingNext_ = 0;  // 0: the next header click sorts descending, 1: ascending
    int dragAnchorRow_ = -1;
    int clickedColumn_ = -1;
    bool csvEnclosing_ = false;
};

}  // namespace dolvane
