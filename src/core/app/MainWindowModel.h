#pragma once

#include "core/app/Ports.h"
#include "core/app/ProgramPaths.h"
#include "core/calendar/CalendarModel.h"
#include "core/calendar/Holidays.h"
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
    // The calendar's grid, day list, caption or status text changed: repaint them.
    virtual void CalendarChanged() {}
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

    // The calendar shown in place of the list. Painting hands out bar rows, hence the mutable
    // access for the grid widget.
    CalendarModel& Calendar() noexcept { return calendar_; }
    const CalendarModel& Calendar() const noexcept { return calendar_; }
    const HolidayCalendar& Holidays() const noexcept { return holidays_; }
    bool CalendarShown() const noexcept { return calendarShown_; }
    // The calendar button went down (around the selected to-do's start day, or today) or up.
    void ShowCalendar(bool shown);
    // Once the shown grid has been painted (its current cell knows its bar rows): the to-do that
    // was selected when the calendar opened is selected in the day list and its bar highlighted.
    void SelectShownToDoInDayList();
    // The view-mode button: month, three weeks, two weeks, one week, month again.
    void CycleCalendarMode();
    // Caption ("31", "21", "14", "7") and hint of the view-mode button for a mode.
    static const char* CalendarModeCaption(std::int32_t mode);
    static const char* CalendarModeHint(std::int32_t mode);
    // The back and forward buttons.
    void StepCalendarRange(bool forward);
    // The grid's current cell moved to (column, row): the day list follows.
    void SelectCalendarCell(int column, int row);
    // The day list of the current cell: each item is the to-do's task, "@\@" and its row.
    const std::vector<std::string>& DayListItems() const noexcept { return dayListItems_; }
    int DayListSelection() const noexcept { return dayListSelection_; }
    // A click in the day list selects that to-do in the list and highlights its bar.
    void ClickDayListItem(int index);
    // The holiday names of the current cell's day for the status bar (cp932), or empty.
    std::string CalendarStatusText() const;
    // A right click on the grid turns the bar labels on or off.
    void ToggleBarTexts();
    // A left press on a grid cell: where a drag of a start or deadline would come from.
    void PressCalendarCell(int column, int row);
    // A left click released over bar row `barRow` of a cell (-1 and below: above the first row).
    void ClickBarRow(int barRow);
    // A drag from the press cell may drop on the grid: it began on the shown to-do's start or
    // deadline day.
    bool CalendarDropAllowed() const;
    // The drop moves the selected to-do's deadline or start to the cell's day.
    void DropOnCalendar(int column, int row);
    // The current cell's day at the present time of day ("yyyy/mm/dd hh:nn"), for a date
    // button's right click; nothing while the calendar is hidden.
    std::optional<std::string> CalendarCellMoment() const;
    // A right click on a date button: the field takes the calendar's selected day.
    void SetDateFromCalendar(PanelField field);

private:
    void RebuildCalendar();
    void ShowDayTodos();
    void SelectOnlyRow(std::size_t row);
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
    int sortDescendingNext_ = 0;  // 0: the next header click sorts descending, 1: ascending
    int dragAnchorRow_ = -1;
    int clickedColumn_ = -1;
    int shownRow_ = -1;

    std::vector<std::string> categoryTabs_;
    EditPanel panel_;
    bool csvEnclosing_ = false;
    ComboHistory executors_;
    ComboHistory categories_;

    CalendarModel calendar_;
    HolidayCalendar holidays_;
    bool calendarShown_ = false;
    std::vector<std::string> dayListItems_;
    int dayListSelection_ = -1;
    std::string dragSourceDateText_;
    std::optional<std::size_t> shownToDo_;
};

}  // namespace dolvane
