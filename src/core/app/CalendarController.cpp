#include "core/app/CalendarController.h"

#include "core/edit/DatePick.h"
#include "core/text/Numbers.h"
#include "core/time/TimeTexts.h"
#include "core/view/StatusRefresh.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace dolvane {
namespace {

// Holiday names show for 20 ticks of 100 ms after every change of the shown range.
constexpr int kHolidayNameTicks = 20;
constexpr double kHolidayNameTickMs = 100.0;
constexpr double kMillisecondsPerDay = 86'400'000.0;

std::string_view FirstTen(std::string_view text)
{
    return text.substr(0, std::min<std::size_t>(10, text.size()));
}

// Characters 12-16 of a date-time text: its "hh:nn".
std::string_view TimePart(std::string_view text)
{
    return text.size() > 11 ? text.substr(11, 5) : std::string_view{};
}

std::string DayListItem(const ToDoRecord& row, std::size_t index)
{
    std::string item = row.TaskText;
    item.append(kDayItemSeparator);
    AppendNumber(item, static_cast<std::int64_t>(index));
    return item;
}

// The row a day-list item stands for: the number after its last separator (a task text may hold
// the separator itself, the number never does).
std::optional<std::size_t> RowOfDayListItem(std::string_view item, std::size_t rowCount)
{
    const auto separator = item.rfind(kDayItemSeparator);
    if (separator == std::string_view::npos) {
        return std::nullopt;
    }
    const auto index = ParseInt32(item.substr(separator + kDayItemSeparator.size()));
    if (!index || *index < 0 || static_cast<std::size_t>(*index) >= rowCount) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(*index);
}

}  // namespace

CalendarController::CalendarController(ToDoDocument& document, const SettingsSession& settings, PanelCommands& panel)
    : document_(document),
      settings_(settings),
      panel_(panel)
{
    document_.AddObserver(this);
}

CalendarController::~CalendarController()
{
    document_.RemoveObserver(this);
}

void CalendarController::RowsReset()
{
    RowsChanged();
}

void CalendarController::RowsChanged()
{
    calendar_.RowsChanged();
    if (shown_) {
        Rebuild();
        document_.Notify(&MainWindowObserver::CalendarChanged);
    }
}

void CalendarController::SelectionChanged()
{
    if (shown_) {
        ForgetUnselectedHighlight();
        document_.Notify(&MainWindowObserver::CalendarChanged);
    }
}

// The highlight stays with its to-do while that is still a selected row.
void CalendarController::ForgetUnselectedHighlight()
{
    if (const auto selected = calendar_.SelectedToDo();
        selected && (*selected >= document_.Rows().size() || !document_.Rows()[*selected].Selected)) {
        calendar_.SetSelectedToDo(std::nullopt);
    }
}

void CalendarController::StartHolidayNames()
{
    calendar_.SetHolidayNameTicks(kHolidayNameTicks);
    holidayNamesSince_ = document_.Now();
}

bool CalendarController::CountDownHolidayNames()
{
    if (calendar_.HolidayNameTicks() <= 0) {
        return false;
    }
    // Counted on the clock, not in timer ticks: the status timer slows down to 500 ms once it has
    // been round the rows. A clock set back ends the display too.
    // Whole milliseconds: a day count holds two seconds only to within a rounding error.
    const double elapsedMs = std::round((document_.Now().days - holidayNamesSince_.days) * kMillisecondsPerDay);
    const int left = kHolidayNameTicks - static_cast<int>(elapsedMs / kHolidayNameTickMs);
    calendar_.SetHolidayNameTicks(elapsedMs < 0 ? 0 : std::clamp(left, 0, kHolidayNameTicks));
    return calendar_.HolidayNameTicks() == 0;
}

const char* CalendarController::ModeCaption(CalendarMode mode)
{
    static constexpr std::array<const char*, 4> kCaptions = {"7", "14", "21", "31"};
    return kCaptions.at(static_cast<std::size_t>(std::clamp(static_cast<int>(mode), 0, 3)));
}

const char* CalendarController::ModeHint(CalendarMode mode)
{
    static constexpr std::array<const char*, 4> kHints = {"一週間", "二週間", "三週間", "一ヶ月"};
    return kHints.at(static_cast<std::size_t>(std::clamp(static_cast<int>(mode), 0, 3)));
}

void CalendarController::Show(bool shown)
{
    shown_ = shown;
    std::string reference;
    std::optional<std::size_t> shownToDo;
    for (std::size_t i = 0; i < document_.Rows().size(); ++i) {
        if (document_.Rows()[i].Selected) {
            shownToDo = i;
            reference = FirstTen(document_.Rows()[i].StartText);
            break;
        }
    }
    StartHolidayNames();
    calendar_.SetShowBarTexts(true);
    if (shown) {
        const std::string today = FormatDateText(document_.Now());
        if (reference.empty() || !calendar_.SetCalendarReference(reference, document_.Rows())) {
            calendar_.SetCalendarReference(today, document_.Rows());
            reference = today;
        }
        calendar_.SelectCalendarDate(reference);
        ShowDayTodos();
    }
    document_.Notify(&MainWindowObserver::CalendarChanged);
    if (shown && shownToDo) {
        // The to-do's own item, found by its row: another to-do's task could end in the same text.
        const std::string item = DayListItem(document_.Rows()[*shownToDo], *shownToDo);
        const auto found = std::find(dayListItems_.begin(), dayListItems_.end(), item);
        if (found != dayListItems_.end()) {
            ClickDayListItem(static_cast<int>(found - dayListItems_.begin()));
        }
    }
}

void CalendarController::CycleMode()
{
    const std::string target = calendar_.CurrentDate();
    const CalendarMode mode = calendar_.ViewMode();
    calendar_.SetViewMode(mode == CalendarMode::OneWeek ? CalendarMode::Month
                                                        : static_cast<CalendarMode>(static_cast<int>(mode) - 1));
    StartHolidayNames();
    calendar_.SetShowBarTexts(true);
    if (shown_) {
        const std::string reference = target.empty() ? FormatDateText(document_.Now()) : target;
        calendar_.SetCalendarReference(reference, document_.Rows());
        calendar_.SelectCalendarDate(reference);
        ShowDayTodos();
    }
    document_.Notify(&MainWindowObserver::CalendarChanged);
}

void CalendarController::Step(bool forward)
{
    StartHolidayNames();
    const std::string date = calendar_.StepCalendar(forward, settings_.Values().WeekStepSeven);
    if (!date.empty()) {
        calendar_.SetCalendarReference(date, document_.Rows());
    }
    ShowDayTodos();
    document_.Notify(&MainWindowObserver::CalendarChanged);
}

void CalendarController::SelectCell(int column, int row)
{
    calendar_.SetCurrentCell(column, row);
    ShowDayTodos();
    document_.Notify(&MainWindowObserver::CalendarChanged);
}

void CalendarController::ShowDayTodos()
{
    dayListSelection_ = -1;
    const DayItemView items = calendar_.DayTodoLists().Items(calendar_.CurrentDate());
    std::vector<std::string> listed;
    listed.reserve(items.size());
    for (const DayItem& item : items) {
        if (item.row < document_.Rows().size()) {
            listed.push_back(DayListItem(document_.Rows()[item.row], item.row));
        }
    }
    if (listed != dayListItems_) {
        dayListItems_ = std::move(listed);
        ++dayListRevision_;
    }
}

std::string CalendarController::StatusText() const
{
    return Holidays().HolidayTextOf(calendar_.CurrentDate());
}

void CalendarController::Rebuild()
{
    const std::string selected =
        dayListSelection_ >= 0 ? dayListItems_[static_cast<std::size_t>(dayListSelection_)] : std::string();
    const int selection = dayListSelection_;
    ForgetUnselectedHighlight();
    calendar_.SetCalendarReference(calendar_.CalendarRefDateText(), document_.Rows());
    ShowDayTodos();
    // The day list keeps its selection while the same to-do stays at the same place.
    if (selection >= 0 && static_cast<std::size_t>(selection) < dayListItems_.size() &&
        dayListItems_[static_cast<std::size_t>(selection)] == selected) {
        dayListSelection_ = selection;
    }
}

void CalendarController::ClickDayListItem(int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= dayListItems_.size()) {
        return;
    }
    const auto row = RowOfDayListItem(dayListItems_[static_cast<std::size_t>(index)], document_.Rows().size());
    if (!row) {
        return;
    }
    calendar_.SetSelectedToDo(static_cast<std::uint32_t>(*row));
    document_.SelectOnly(*row);
    dayListSelection_ = index;
    document_.Notify(&MainWindowObserver::SelectionChanged);
    panel_.ShowSelectedRow();
}

void CalendarController::ToggleBarTexts()
{
    calendar_.SetShowBarTexts(!calendar_.ShowBarTexts());
    document_.Notify(&MainWindowObserver::CalendarChanged);
}

void CalendarController::PressCell(int column, int row)
{
    dragSourceDateText_ = FirstTen(calendar_.CellText(column, row));
}

void CalendarController::ClickBarRow(int barRow)
{
    const auto& bars = calendar_.CurrentCellBars();
    if (barRow >= 0 && static_cast<std::size_t>(barRow) < bars.size()) {
        const std::int32_t index = bars[static_cast<std::size_t>(barRow)];
        dayListSelection_ = -1;
        if (index >= 0 && static_cast<std::size_t>(index) < document_.Rows().size()) {
            const auto row = static_cast<std::size_t>(index);
            const std::string item = DayListItem(document_.Rows()[row], row);
            const auto found = std::find(dayListItems_.begin(), dayListItems_.end(), item);
            if (found != dayListItems_.end()) {
                ClickDayListItem(static_cast<int>(found - dayListItems_.begin()));
                return;
            }
        }
        document_.Notify(&MainWindowObserver::CalendarChanged);
        return;
    }
    // Above the first bar row or below the last: nothing is selected any more.
    calendar_.SetSelectedToDo(std::nullopt);
    dayListSelection_ = -1;
    document_.ClearSelection();
    document_.Notify(&MainWindowObserver::SelectionChanged);
    panel_.ShowSelectedRow();
}

bool CalendarController::DropAllowed() const
{
    return !dragSourceDateText_.empty() && (dragSourceDateText_ == FirstTen(panel_.Panel().Text(PanelField::Start)) ||
                                            dragSourceDateText_ == FirstTen(panel_.Panel().Text(PanelField::Deadline)));
}

void CalendarController::Drop(int column, int row)
{
    ToDoRecord* selected = document_.FirstSelected();
    if (selected == nullptr) {
        return;
    }
    const std::string target(FirstTen(calendar_.CellText(column, row)));
    const std::string startText = panel_.Panel().Text(PanelField::Start);
    const std::string deadlineText = panel_.Panel().Text(PanelField::Deadline);
    const auto startDay = FirstTen(startText);
    const auto deadlineDay = FirstTen(deadlineText);
    const auto startTime = TimePart(startText);
    std::string deadlineTime(TimePart(deadlineText));
    const DateTime now = document_.Now();
    if (deadlineTime.empty()) {
        deadlineTime = FormatTimeText(now);
    }
    const std::string& source = dragSourceDateText_;
    if (!target.empty() && ((deadlineDay.empty() && target >= startDay) ||
                            (source == deadlineDay && target != deadlineDay && target >= startDay))) {
        const std::string moved = target + " " + deadlineTime;
        panel_.TakeDraggedDate(PanelField::Deadline, moved);
        selected->DeadlineText = moved;
        document_.MarkChanged(false);
    } else if (!target.empty() && source == startDay && target != startDay && target <= deadlineDay) {
        const std::string moved = target + " " + std::string(startTime);
        panel_.TakeDraggedDate(PanelField::Start, moved);
        selected->StartText = moved;
        document_.MarkChanged(false);
    }
    // The moved to-do's remaining and elapsed texts follow its new dates at once.
    document_.RefreshRow(*selected);
    panel_.DisableReplace();
    document_.Notify(&MainWindowObserver::RowsChanged);
    document_.Notify(&MainWindowObserver::StoreStateChanged);
    document_.Notify(&MainWindowObserver::PanelChanged);
}

std::optional<std::string> CalendarController::CellMoment() const
{
    if (!shown_) {
        return std::nullopt;
    }
    const std::string& day = calendar_.CurrentDate();
    try {
        return PickedText(ParseDateText(day), document_.Now(), false);
    } catch (const ConvertError&) {
        return std::nullopt;
    }
}

void CalendarController::SetDateFromCalendar(PanelField field)
{
    if (const auto moment = CellMoment()) {
        panel_.SetText(field, *moment);
    }
}

}  // namespace dolvane
