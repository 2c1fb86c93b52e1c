#pragma once

#include "core/app/MainWindowObserver.h"
#include "core/app/ProgramPaths.h"
#include "core/edit/ComboHistory.h"
#include "core/ports/Clock.h"
#include "core/ports/FileSystem.h"
#include "core/ports/Prompts.h"
#include "core/ports/SiblingPort.h"
#include "core/store/ListStore.h"
#include "core/view/StatusRefresh.h"
#include "core/view/ViewState.h"

#include <cstddef>
#include <vector>

namespace dolvane {

// The ports the document itself uses: loads and saves, their questions and the sibling's notice.
// A part takes the ports it uses in its own constructor; only the time is asked of the document
// (`Now`), so that every part and the status refresh read the same clock.
struct DocumentPorts {
    Clock& clock;
    Prompts& prompts;
    SiblingPort& sibling;
    FileSystem& files;
};

// Which lines the window shows now, answered by the view tabs. The document asks it on every
// load and save, so a part never needs to know how the view is chosen.
class ViewSource {
public:
    virtual ~ViewSource() = default;
    virtual LineFilter Filter() const = 0;
    virtual ViewState View() const = 0;
};

// The rows of the list file and what every part of the window model shares: the store state, the
// selection, the status refresh, the drop-down histories learned from the rows, and the observers.
// The parts hold a reference to it; it knows none of them.
class ToDoDocument final {
public:
    ToDoDocument(ProgramPaths paths, DocumentPorts ports);
    ToDoDocument(const ToDoDocument&) = delete;
    ToDoDocument& operator=(const ToDoDocument&) = delete;

    // The view tabs, set once while the window model is put together, before the first load.
    void SetViewSource(const ViewSource& view) noexcept { view_ = &view; }
    // Observers are told in the order they were added.
    void AddObserver(MainWindowObserver* observer);
    void RemoveObserver(MainWindowObserver* observer);
    void Notify(void (MainWindowObserver::*change)());

    std::vector<ToDoRecord>& Rows() noexcept { return store_.Rows(); }
    const std::vector<ToDoRecord>& Rows() const noexcept { return store_.Rows(); }
    StoreState& State() noexcept { return store_.State(); }
    const StoreState& State() const noexcept { return store_.State(); }
    const ProgramPaths& Paths() const noexcept { return paths_; }
    DateTime Now() const { return ports_.clock.Now(); }

    ViewState View() const;
    // A filtered tab shows part of the file: deleted rows must leave the file by line number.
    bool Filtered() const;

    // Reloads the list file through the view, dropping every unsaved change (undo).
    void Reload();
    // The apply command: saves, and removes the rows that left the view; true when written.
    bool Apply();
    // Writes the rows in the view's mode (in full on "全て", merged elsewhere) and tells the
    // sibling. A file changed behind the program is overwritten only when `confirmOverwrite`
    // and the user says yes; any other failure is shown. True when the file was written.
    bool Save(bool confirmOverwrite);
    // Replaces the rows with every to-do of another list file (a ".tod" import): applying then
    // writes them to the list file, undo reloads it. A file that cannot be read is shown and
    // the list file is reloaded instead. True when the rows came from `path`.
    bool ImportFrom(const std::filesystem::path& path);
    // Writes all rows in full to another file (a ".tod" export) and tells the sibling.
    bool ExportTo(const std::filesystem::path& path);

    // Marks an edit of the rows: unsaved, and with `undoable` also undo available.
    void MarkChanged(bool undoable);

    std::size_t SelectedCount() const;
    // The first selected row, or none.
    ToDoRecord* FirstSelected();
    void SelectOnly(std::size_t row);
    void ClearSelection();

    // The time texts of one row at this moment, as the status refresh would write them.
    void RefreshRow(ToDoRecord& row) const;
    StatusRefresh& Refresh() noexcept { return refresh_; }
    const StatusRefresh& Refresh() const noexcept { return refresh_; }

    // The known executors and categories of the drop-down lists; they only grow.
    ComboHistory& Executors() noexcept { return executors_; }
    const ComboHistory& Executors() const noexcept { return executors_; }
    ComboHistory& Categories() noexcept { return categories_; }
    const ComboHistory& Categories() const noexcept { return categories_; }

private:
    ProgramPaths paths_;
    DocumentPorts ports_;
    const ViewSource* view_ = nullptr;
    std::vector<MainWindowObserver*> observers_;
    ListStore store_;
    StatusRefresh refresh_;
    ComboHistory executors_;
    ComboHistory categories_;
};

}  // namespace dolvane
