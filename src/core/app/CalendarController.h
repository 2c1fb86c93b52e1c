#pragma once

#include "core/app/PanelCommands.h"
#include "core/app/SettingsSession.h"
#include "core/app/ToDoDocument.h"
#include "core/calendar/CalendarModel.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace dolvane {

// The calendar shown in place of the list: showing and hiding it, its view modes and steps, the
// day list of the selected day, clicks on bar rows and dragging a to-do's start or deadline to
// another day. It listens to the document: whatever changes the rows rebuilds its day lists,
// which hold row indices.
class CalendarController final : private MainWindowObserver {
public:
    CalendarController(ToDoDocument& document, const SettingsSession& settings, PanelCommands& panel);
    ~CalendarController() override;
    CalendarController(const CalendarController&) = delete;
    CalendarController& operator=(const CalendarController&) = delete;

    // The grid's state, which painting only reads.
    const CalendarModel& Model() const noexcept { return calendar_; }
    const HolidayCalendar& Holidays() const noexcept { return settings_.Holidays(); }
    const Settings& CurrentSettings() const noexcept { return settings_.Values(); }
    DateTime Now() const { return document_.Now(); }
    bool Shown() const noexcept { return shown_; }

    // The calendar button went down (around the selected to-do's start day, or today) or up.
    // Opening on a selected to-do selects it in the day list and highlights its bar.
    void Show(bool shown);
    // The view-mode button: month, three weeks, two weeks, one week, month again.
    void CycleMode();
    // Caption ("31", "21", "14", "7") and hint of the view-mode button for a mode.
    static const char* ModeCaption(CalendarMode mode);
    static const char* ModeHint(CalendarMode mode);
    // The back and forward buttons.
    void Step(bool forward);
    // The grid's current cell moved to (column, row): the day list follows.
    void SelectCell(int column, int row);
    // The day list of the current cell: each item is the to-do's task, "@\@" and its row.
    const std::vector<std::string>& DayListItems() const noexcept { return dayListItems_; }
    // Changes whenever DayListItems does, and only then: a view shows the items it was last
    // given while this stays the same.
    std::uint64_t DayListRevision() const noexcept { return dayListRevision_; }
    int DayListSelection() const noexcept { return dayListSelection_; }
    // A click in the day list selects that to-do in the list and highlights its bar.
    void ClickDayListItem(int index);
    // The holiday names of the current cell's day for the status bar (cp932), or empty.
    std::string StatusText() const;
    // A right click on the grid turns the bar labels on or off.
    void ToggleBarTexts();
    // A left press on a grid cell: where a drag of a start or deadline would come from.
    void PressCell(int column, int row);
    // A left click released over bar row `barRow` of a cell (-1 and below: above the first row).
    void ClickBarRow(int barRow);
    // A drag from the press cell may drop on the grid: it began on the shown to-do's start or
    // deadline day.
    bool DropAllowed() const;
    // The drop moves the selected to-do's deadline or start to the cell's day.
    void Drop(int column, int row);
    // The current cell's day at the present time of day ("yyyy/mm/dd hh:nn"), for a date
    // button's right click and for Add; nothing while the calendar is hidden.
    std::optional<std::string> CellMoment() const;
    // A right click on a date button: the field takes the calendar's selected day.
    void SetDateFromCalendar(PanelField field);

    // A tick of the status timer: true when the holiday names have just run out (repaint). They
    // show for two seconds after the shown range changed, however fast the timer ticks.
    bool CountDownHolidayNames();
    // A new view was loaded: no bar stays highlighted.
    void ViewApplied() noexcept { calendar_.SetSelectedToDo(std::nullopt); }

private:
    void RowsReset() override;
    void RowsChanged() override;
    // A selection changes no day list: only the highlight may lose its to-do.
    void SelectionChanged() override;
    void ForgetUnselectedHighlight();
    void Rebuild();
    void StartHolidayNames();
    void ShowDayTodos();

    ToDoDocument& document_;
    const SettingsSession& settings_;
    PanelCommands& panel_;
    CalendarModel calendar_;
    bool shown_ = false;
    std::vector<std::string> dayListItems_;
    std::uint64_t dayListRevision_ = 0;
    int dayListSelection_ = -1;
    std::string dragSourceDateText_;
    DateTime holidayNamesSince_;
};

}  // namespace dolvane
