#pragma once

#include "core/app/Ports.h"
#include "core/app/ProgramPaths.h"
#include "core/edit/ComboHistory.h"
#include "core/edit/EditPanel.h"
#include "core/store/ListStore.h"
#include "core/store/Settings.h"
#include "core/view/StatusRefresh.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace dolvane {

// What the window repaints when the model changes.
class MainWindowObserver {
public:
    virtual ~MainWindowObserver() = default;
    // The rows were replaced, removed or reordered: rebuild the list.
    virtual void RowsReset() = 0;
    // The same rows have new texts, check states, colours or selection: repaint them.
    virtual void RowsChanged() = 0;
    // Unsaved changes or undo availability changed: enable or disable "適用" and "元に戻す".
    virtual void StoreStateChanged() = 0;
    // The editing panel's fields, include boxes or Replace button changed.
    virtual void PanelChanged() = 0;
    // The main tab, the category tabs or the caption bar changed.
    virtual void ViewChanged() = 0;
};

// The outside world the main window talks to.
struct MainWindowPorts {
    Clock& clock;
    Prompts& prompts;
    SiblingPort& sibling;
    // The sibling's own settings store, used instead of "data.ini" when the program lives in
    // the sibling's folder; may be absent.
    SettingsStore* siblingSettings = nullptr;
    // Loads the optional conversion library; gives nothing when it is absent.
    std::function<std::unique_ptr<ConversionLibrary>()> loadConversionLibrary;
};

// The main window's state and commands, without widgets. The window forwards what the user
// does and shows what this holds.
class MainWindowModel final {
public:
    // Builds the state the window starts with and loads the list file.
    MainWindowModel(ProgramPaths paths, MainWindowPorts ports);
    MainWindowModel(const MainWindowModel&) = delete;
    MainWindowModel& operator=(const MainWindowModel&) = delete;

    void SetObserver(MainWindowObserver* observer) noexcept { observer_ = observer; }

    // After construction: loads the conversion library and reads the settings (and, when the
    // sibling hosts the program, its holiday file).
    void FormCreate();
    // Before the window closes: writes the settings and offers to save unsaved changes. False
    // keeps the window open: a save the user asked for failed, and closing would lose the rows.
    bool CloseQuery();
    // The window is gone: the conversion library is released.
    void FormDestroy();
    // The sibling hosts the program and has ended: the window closes itself.
    bool SiblingHasGone() const;

    // What one tick of the status timer asks of the window.
    struct StatusTickResult {
        bool closeWindow = false;  // hosted by the sibling, which has ended
        std::optional<std::size_t> changedRow;
        bool repaintAll = false;       // a pass ended after cells changed: row colours follow
        bool repaintCalendar = false;  // the holiday-name display has run out
        int intervalMs = StatusRefresh::kFastIntervalMs;
    };
    // The status timer's tick: holiday-name countdown, sibling watch, the one-time purge, one
    // row's time texts.
    StatusTickResult StatusTick();
    // Ticking or clearing "経過率" restarts the refresh from the first row in the fast phase.
    void SetElapsedRate(bool on);
    bool ElapsedRate() const noexcept { return refresh_.ElapsedRate(); }
    // The keeping period of completed to-dos ("完了したToDoの保持日数", 0 to 60 days).
    void SetKeepDays(int days);

    // A left press in a row's check box: every selected row takes the pressed row's new state
    // when the pressed row is selected, else only that row; either way there are unsaved changes.
    void PressCheckBox(std::size_t row);
    // Mouse presses over a row record the anchor of a drag and the column under the pointer
    // (-1 over the check box, on a column edge and right of the last column).
    void RecordPress(int row, int column) noexcept;
    int DragAnchorRow() const noexcept { return dragAnchorRow_; }
    int ClickedColumn() const noexcept { return clickedColumn_; }
    // A drag with the left button moved over `row`.
    void DragOver(int row);
    void SetRowSelected(std::size_t row, bool selected);
    // Shows the first selected row in the editing panel (nine empty fields when none is
    // selected); Replace is disabled and the include boxes cleared.
    void ShowSelectedRow();
    int ShownRow() const noexcept { return shownRow_; }

    const EditPanel& Panel() const noexcept { return panel_; }
    // A panel field's text changed (typed, or set by a picker).
    void SetPanelText(PanelField field, std::string text);
    void SetPanelIncluded(PanelField field, bool included) { panel_.SetIncluded(field, included); }
    void PressIncludeBox() { panel_.PressIncludeBox(SelectedCount()); }
    // Add: a new row from the ticked fields and defaults, the only selected row afterwards.
    // `start` replaces now as the start of a row whose start box is not ticked.
    void AddFromPanel(std::optional<DateTime> start = std::nullopt);
    // Replace: the ticked fields go into every selected row.
    void ReplaceSelected();
    // Delete: asks, then removes the selected rows (and lists their file lines in a filtered view).
    void DeleteSelected();
    std::size_t SelectedCount() const;

    // Which entries of the list's pop-up menu are enabled, decided each time it opens.
    struct PopupMenuState {
        bool sortSave = false;    // "現在の順序で保存": on "全て" after a re-sort
        bool stickyNote = false;  // "付箋の作成": the sibling runs
        bool deleteRow = false;   // "削除(&D)" and "継承して新規作成(&R)": a row is selected
        bool enclose = false;     // the tick of "文字列を二重引用符で囲む"
    };
    PopupMenuState PopupMenuOpening() const;
    void ToggleCsvEnclosing() noexcept { csvEnclosing_ = !csvEnclosing_; }
    // Writes the selected rows as CSV; false (and the error shown) when the file cannot be written.
    bool ExportCsv(const std::filesystem::path& path);
    // Selects every row, first to last; the panel is not refreshed.
    void SelectAll();

    // The known executors and categories of the drop-down lists; they only grow.
    const ComboHistory& Executors() const noexcept { return executors_; }
    const ComboHistory& Categories() const noexcept { return categories_; }

    // A click on column header `column`: sorts by it, descending and ascending in turn across
    // all columns; on "全て" the new order is an unsaved change of order.
    void SortByColumn(int column);

    // The row's background at this moment, or nothing for the normal one.
    std::optional<std::uint32_t> RowColourOf(std::size_t row) const;

    // Reloads the list file into the current view, dropping every unsaved change (undo).
    void Reload();
    // Saves the rows (the apply command); true when the list file was written.
    bool Apply();
    // A row's check box was toggled by the user.
    void SetRowCompleted(std::size_t row, bool completed);

    const std::vector<ToDoRecord>& Rows() const noexcept { return store_.Rows(); }
    const StoreState& State() const noexcept { return store_.State(); }
    const ProgramPaths& Paths() const noexcept { return paths_; }
    const Settings& CurrentSettings() const noexcept { return settings_; }
    Settings& CurrentSettings() noexcept { return settings_; }
    const std::vector<std::string>& HolidayList() const noexcept { return holidayList_; }
    bool HasConversionLibrary() const noexcept { return conversionLibrary_ != nullptr; }

    DateTime Now() const { return ports_.clock.Now(); }
    // Switches the view to another main tab or category tab. With unsaved changes the user is
    // asked first; false when the switch did not happen. The list is reloaded through the new
    // view, the panel cleared and the status refresh restarted.
    bool ChangeMainTab(int tab);
    bool ChangeCategoryTab(int index);
    // The captions of the category tabs (cp932): only on "未完了" and "完了".
    const std::vector<std::string>& CategoryTabs() const noexcept { return categoryTabs_; }
    int CategoryTabIndex() const noexcept { return categoryTabIndex_; }
    bool CaptionBarVisible() const;
    std::string CaptionBarText() const;  // cp932
    // A category met by Add or Replace becomes a tab at once while a category view is shown.
    void EnsureCategoryTab(const std::string& name);

    // The Find command took a new search text (cp932, may be empty): the "検索" tab's caption
    // follows and the current view is reloaded without a question.
    void SetSearchText(std::string text);
    // The caption of a main tab (cp932): "検索 > [ text ]" while there is a search text.
    std::string MainTabCaption(int tab) const;

    int MainTab() const noexcept { return mainTab_; }
    const std::string& CategoryTabText() const noexcept { return categoryTabText_; }
    const std::string& PrevCategoryTabText() const noexcept { return prevCategoryTabText_; }
    const std::string& SearchText() const noexcept { return searchText_; }
    bool PurgePending() const noexcept { return purgePending_; }

private:
    ViewState View() const;
    std::filesystem::path DataIniPath() const;
    // Offers to delete completed to-dos past the keeping period.
    void PurgeCompleted();
    void RememberFromRows();
    void RememberPanelCombos();
    LineFilter ViewFilter() const;
    // Shows the first problem of a ticked field and says whether Add or Replace may go on.
    bool PanelFieldsValid();
    bool ConfirmLeavingChanges();
    void ApplyView();
    void Notify(void (MainWindowObserver::*change)());

    ProgramPaths paths_;
    MainWindowPorts ports_;
    MainWindowObserver* observer_ = nullptr;

    ListStore store_;
    Settings settings_;
    std::vector<std::string> holidayList_;
    std::unique_ptr<ConversionLibrary> conversionLibrary_;

    int mainTab_ = 0;           // 0 "全て", 1 "なし", 2 "検索", 3 "未完了", 4 "完了"
    int categoryTabIndex_ = 0;  // 0 "全て", 1 "なし", 2.. the categories
    std::string categoryTabText_;
    std::string prevCategoryTabText_;
    std::string searchText_;
    bool purgePending_ = true;

    StatusRefresh refresh_;
    int holidayNameTicks_ = 0;
    int sortDescendingNext_ = 0;  // 0: the next header click sorts descending, 1: ascending
    int dragAnchorRow_ = -1;
    int clickedColumn_ = -1;
    int shownRow_ = -1;

    std::vector<std::string> categoryTabs_;
    EditPanel panel_;
    bool csvEnclosing_ = false;
    ComboHistory executors_;
    ComboHistory categories_;
};

}  // namespace dolvane
