#include "core/app/MainWindowModel.h"

#include "core/store/Csv.h"
#include "core/store/FieldValidation.h"
#include "core/store/Purge.h"
#include "core/text/Cp932Codec.h"
#include "core/text/Numbers.h"
#include "core/time/TimeTexts.h"
#include "core/view/ColumnSort.h"
#include "core/view/DragSelection.h"
#include "core/view/RowColour.h"
#include "core/view/Search.h"
#include "core/view/ViewFilter.h"

#include <algorithm>
#include <memory>

namespace dolvane {
namespace {

constexpr std::string_view kSaveCaption = "ToDo";
constexpr std::string_view kSaveQuestion = "ToDoリストが変更されています。保存しますか？";
constexpr std::string_view kOverwriteCaption = "確認";
constexpr std::string_view kDeleteCaption = "削除確認";
constexpr std::string_view kDeleteQuestion = "個のToDoを削除します。よろしいですか？";
constexpr std::string_view kOverwriteQuestion =
    "ToDoリストは読み込んだ後に他のプログラムで変更されています。\n上書きして保存しますか？";

constexpr std::string_view kTabChangeQuestion =
    "このままタブを切り換えると変更内容が取り消されます。\nよろしいですか？";

// Main tab captions (UTF-8), by index.
constexpr std::string_view kMainTabCaptions[] = {"全て", "なし", "検索", "未完了", "完了"};

}  // namespace

MainWindowModel::MainWindowModel(ProgramPaths paths, MainWindowPorts ports)
    : paths_(std::move(paths)),
      ports_(std::move(ports)),
      categoryTabText_(Utf8ToCp932("全て")),
      prevCategoryTabText_(categoryTabText_)
{
    Reload();
}

void MainWindowModel::FormCreate()
{
    if (ports_.loadConversionLibrary) {
        conversionLibrary_ = ports_.loadConversionLibrary();
    }
    if (paths_.InsideSiblingFolder) {
        holidayList_ = LoadHolidayLines(paths_.SiblingFolder / "data" / "NationalHoliday.txt");
        holidays_ = HolidayCalendar(holidayList_);
        if (ports_.siblingSettings != nullptr) {
            settings_ = ReadSettings(*ports_.siblingSettings, settings_);
        }
        return;
    }
    // A data.ini that cannot be read leaves the defaults; writing it back is refused later, so
    // its content is not lost either.
    FileError ignored;
    settings_ = ReadDataIni(DataIniPath(), ignored);
}

bool MainWindowModel::CloseQuery()
{
    if (paths_.InsideSiblingFolder) {
        if (ports_.siblingSettings != nullptr) {
            WriteSettings(*ports_.siblingSettings, settings_);
        }
    } else {
        FileError ignored;
        WriteDataIni(DataIniPath(), settings_, ignored);
    }
    if (!store_.State().UnsavedChanges) {
        return true;
    }
    if (!ports_.prompts.AskYesNo(kSaveCaption, kSaveQuestion)) {
        return true;
    }
    return Apply();
}

void MainWindowModel::FormDestroy()
{
    conversionLibrary_.reset();
}

bool MainWindowModel::SiblingHasGone() const
{
    return paths_.InsideSiblingFolder && !ports_.sibling.Running();
}

void MainWindowModel::Reload()
{
    FileError error;
    const bool loaded = store_.LoadList(paths_.ListFilePath, ViewFilter(), ports_.clock.Now(), error);
    RememberFromRows();
    Notify(&MainWindowObserver::RowsReset);
    Notify(&MainWindowObserver::StoreStateChanged);
    if (!loaded) {
        ports_.prompts.ShowError(error.message);
    }
}

bool MainWindowModel::Apply()
{
    ListStore::SaveOptions options;
    options.sibling = &ports_.sibling;
    FileError error;
    SaveStatus status = ApplyChanges(store_, paths_.ListFilePath, View(), error, options);
    if (status == SaveStatus::ChangedOnDisk && ports_.prompts.AskYesNo(kOverwriteCaption, kOverwriteQuestion)) {
        options.overwriteChanged = true;
        status = ApplyChanges(store_, paths_.ListFilePath, View(), error, options);
    }
    if (status != SaveStatus::Saved) {
        if (status != SaveStatus::ChangedOnDisk) {
            ports_.prompts.ShowError(error.message);
        }
        return false;
    }
    Notify(&MainWindowObserver::RowsReset);
    Notify(&MainWindowObserver::StoreStateChanged);
    return true;
}

void MainWindowModel::SetRowCompleted(std::size_t row, bool completed)
{
    auto& rows = store_.Rows();
    if (row >= rows.size()) {
        return;
    }
    rows[row].Completed = completed;
    // The same texts the status refresh would write at its next visit, shown at once.
    RefreshRowStatus(rows[row], ports_.clock.Now(), refresh_.ElapsedRate());
    store_.State().UnsavedChanges = true;
    Notify(&MainWindowObserver::StoreStateChanged);
}

void MainWindowModel::PressCheckBox(std::size_t row)
{
    auto& rows = store_.Rows();
    if (row >= rows.size()) {
        return;
    }
    const bool completed = !rows[row].Completed;
    const DateTime now = ports_.clock.Now();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i == row || (rows[row].Selected && rows[i].Selected)) {
            rows[i].Completed = completed;
            RefreshRowStatus(rows[i], now, refresh_.ElapsedRate());
        }
    }
    store_.State().UnsavedChanges = true;
    Notify(&MainWindowObserver::RowsChanged);
    Notify(&MainWindowObserver::StoreStateChanged);
}

void MainWindowModel::RecordPress(int row, int column) noexcept
{
    dragAnchorRow_ = row;
    clickedColumn_ = column;
}

void MainWindowModel::DragOver(int row)
{
    if (dragAnchorRow_ < 0 || row < 0) {
        return;
    }
    SelectRowRange(store_.Rows(), dragAnchorRow_, row);
}

void MainWindowModel::SetRowSelected(std::size_t row, bool selected)
{
    if (row < store_.Rows().size()) {
        store_.Rows()[row].Selected = selected;
    }
}

void MainWindowModel::ShowSelectedRow()
{
    const auto& rows = store_.Rows();
    const auto found = std::find_if(rows.begin(), rows.end(), [](const ToDoRecord& row) { return row.Selected; });
    shownRow_ = found == rows.end() ? -1 : static_cast<int>(found - rows.begin());
    panel_.ShowRow(found == rows.end() ? nullptr : &*found, SelectedCount());
    Notify(&MainWindowObserver::PanelChanged);
}

MainWindowModel::PopupMenuState MainWindowModel::PopupMenuOpening() const
{
    PopupMenuState state;
    state.sortSave = mainTab_ == 0 && store_.State().OrderChanged;
    state.stickyNote = ports_.sibling.Running();
    state.deleteRow = SelectedCount() > 0;
    state.enclose = csvEnclosing_;
    return state;
}

bool MainWindowModel::ExportCsv(const std::filesystem::path& path)
{
    FileError error;
    if (WriteCsvFile(path, store_.Rows(), csvEnclosing_, error)) {
        return true;
    }
    ports_.prompts.ShowError(error.message);
    return false;
}

void MainWindowModel::SelectAll()
{
    for (auto& row : store_.Rows()) {
        row.Selected = true;
    }
    Notify(&MainWindowObserver::RowsChanged);
}

std::size_t MainWindowModel::SelectedCount() const
{
    const auto& rows = store_.Rows();
    return static_cast<std::size_t>(
        std::count_if(rows.begin(), rows.end(), [](const ToDoRecord& row) { return row.Selected; }));
}

void MainWindowModel::SetPanelText(PanelField field, std::string text)
{
    panel_.SetText(field, std::move(text), SelectedCount());
    Notify(&MainWindowObserver::PanelChanged);
}

LineFilter MainWindowModel::ViewFilter() const
{
    // One matcher per reload: the search text's conversions are made once, not once per line.
    std::function<bool(std::string_view)> searchMatches;
    if (mainTab_ == kTabSearch) {
        auto matcher =
            std::make_shared<SearchMatcher>(searchText_, settings_.CaseSensitiveSearch, conversionLibrary_.get());
        searchMatches = [matcher](std::string_view value) { return matcher->Matches(value); };
    }
    return [tab = mainTab_, filter = categoryTabText_, searchMatches](const LineFacts& facts) {
        return RowPassesView(tab, filter, facts, searchMatches);
    };
}

void MainWindowModel::SetSearchText(std::string text)
{
    searchText_ = std::move(text);
    Reload();
    Notify(&MainWindowObserver::ViewChanged);
}

std::string MainWindowModel::MainTabCaption(int tab) const
{
    if (tab < kTabAll || tab > kTabDone) {
        return {};
    }
    std::string caption = Utf8ToCp932(kMainTabCaptions[tab]);
    if (tab == kTabSearch && !searchText_.empty()) {
        caption += " > [ " + searchText_ + " ]";
    }
    return caption;
}

bool MainWindowModel::ConfirmLeavingChanges()
{
    return !store_.State().UnsavedChanges || ports_.prompts.AskYesNo(kOverwriteCaption, kTabChangeQuestion);
}

bool MainWindowModel::ChangeMainTab(int tab)
{
    if (tab == mainTab_ || tab < kTabAll || tab > kTabDone || !ConfirmLeavingChanges()) {
        return tab == mainTab_;
    }
    mainTab_ = tab;
    if (tab <= kTabSearch) {
        categoryTabText_ = Utf8ToCp932(kMainTabCaptions[tab]);
        categoryTabs_.clear();
        categoryTabIndex_ = 0;
    } else {
        categoryTabText_ = prevCategoryTabText_;
        if (categoryTabs_.empty()) {
            categoryTabs_ = {Utf8ToCp932("全て"), Utf8ToCp932("なし")};
            categoryTabs_.insert(categoryTabs_.end(), categories_.Items().begin(), categories_.Items().end());
            const auto found = std::find(categoryTabs_.begin(), categoryTabs_.end(), prevCategoryTabText_);
            categoryTabIndex_ = found == categoryTabs_.end() ? -1 : static_cast<int>(found - categoryTabs_.begin());
        }
    }
    ApplyView();
    return true;
}

bool MainWindowModel::ChangeCategoryTab(int index)
{
    if (index < 0 || index >= static_cast<int>(categoryTabs_.size()) || index == categoryTabIndex_ ||
        !ConfirmLeavingChanges()) {
        return index == categoryTabIndex_;
    }
    categoryTabIndex_ = index;
    categoryTabText_ = categoryTabs_[static_cast<std::size_t>(index)];
    prevCategoryTabText_ = categoryTabText_;
    ApplyView();
    return true;
}

void MainWindowModel::ApplyView()
{
    Reload();
    const std::size_t selected = SelectedCount();
    for (const PanelField field : {PanelField::Importance, PanelField::Executor, PanelField::Category, PanelField::Task,
                                   PanelField::Progress, PanelField::Completed}) {
        panel_.SetText(field, {}, selected);
    }
    panel_.SetIncluded(PanelField::Task, false);
    panel_.SetIncluded(PanelField::Progress, false);
    calendar_.SelectedBarRow = -1;
    refresh_.Restart();
    Notify(&MainWindowObserver::PanelChanged);
    Notify(&MainWindowObserver::ViewChanged);
}

bool MainWindowModel::CaptionBarVisible() const
{
    return mainTab_ >= kTabOpen &&
           (settings_.MainTabPosition != TabPosition::Top || settings_.CategoryTabPosition == TabPosition::Bottom);
}

std::string MainWindowModel::CaptionBarText() const
{
    return Utf8ToCp932(std::string("  ") + std::string(kMainTabCaptions[mainTab_]) + "  [ ") + categoryTabText_ + " ]";
}

void MainWindowModel::EnsureCategoryTab(const std::string& name)
{
    if (mainTab_ < kTabOpen || name.empty()) {
        return;
    }
    ComboHistory known;
    for (const auto& tab : categoryTabs_) {
        known.Remember(tab);
    }
    if (known.Remember(name)) {
        categoryTabs_.push_back(name);
        Notify(&MainWindowObserver::ViewChanged);
    }
}

void MainWindowModel::RememberPanelCombos()
{
    if (panel_.Included(PanelField::Executor)) {
        executors_.Remember(panel_.Text(PanelField::Executor));
    }
    if (panel_.Included(PanelField::Category)) {
        categories_.Remember(panel_.Text(PanelField::Category));
        EnsureCategoryTab(panel_.Text(PanelField::Category));
    }
}

void MainWindowModel::RememberFromRows()
{
    for (const auto& row : store_.Rows()) {
        executors_.Remember(row.Executor);
        categories_.Remember(row.Category);
    }
}

bool MainWindowModel::PanelFieldsValid()
{
    // The ticked fields go into the one-line file format: a marker or a line break in them would
    // split the line differently when it is read back.
    static constexpr std::pair<PanelField, Field> kChecked[] = {
        {PanelField::Start, Field::Start},
        {PanelField::Deadline, Field::Deadline},
        {PanelField::Importance, Field::Importance},
        {PanelField::Executor, Field::Executor},
        {PanelField::Category, Field::Category},
        {PanelField::Progress, Field::Progress},
        {PanelField::WarningHours, Field::WarningHours},
        {PanelField::Completed, Field::Completed},
    };
    std::optional<std::string> problem;
    const auto valid = [this, &problem](const std::pair<PanelField, Field>& entry) {
        const std::string& text = panel_.Text(entry.first);
        // An empty importance is taken as "0".
        if (!panel_.Included(entry.first) || (entry.first == PanelField::Importance && text.empty())) {
            return true;
        }
        problem = FieldError(entry.second, text);
        return !problem.has_value();
    };
    if (std::all_of(std::begin(kChecked), std::end(kChecked), valid)) {
        return true;
    }
    ports_.prompts.ShowError(*problem);
    return false;
}

void MainWindowModel::AddFromPanel(std::optional<DateTime> start)
{
    if (!PanelFieldsValid()) {
        return;
    }
    auto& rows = store_.Rows();
    for (auto& row : rows) {
        row.Selected = false;
    }
    const DateTime now = ports_.clock.Now();
    // With the calendar shown, a new to-do starts on the selected day at the present time.
    if (!start && calendarShown_) {
        if (const auto moment = CalendarCellMoment()) {
            start = ParseDateTimeText(*moment);
        }
    }
    // A row added while a real category tab is shown belongs to that category.
    const std::string categoryTab = mainTab_ >= 2 && categoryTabIndex_ >= 2 ? categoryTabText_ : std::string();
    ToDoRecord row = panel_.NewRow(now, start.value_or(now), categoryTab);
    RememberPanelCombos();
    row.Selected = true;
    rows.push_back(std::move(row));
    store_.State().UnsavedChanges = true;
    Notify(&MainWindowObserver::RowsReset);
    Notify(&MainWindowObserver::StoreStateChanged);
    ShowSelectedRow();
}

void MainWindowModel::ReplaceSelected()
{
    auto& rows = store_.Rows();
    if (SelectedCount() == 0 || !PanelFieldsValid()) {
        return;
    }
    const DateTime now = ports_.clock.Now();
    for (auto& row : rows) {
        if (row.Selected) {
            panel_.ReplaceInto(row, now);
        }
    }
    RememberPanelCombos();
    ShowSelectedRow();
    store_.State().UnsavedChanges = true;
    store_.State().UndoAvailable = true;
    Notify(&MainWindowObserver::RowsChanged);
    Notify(&MainWindowObserver::StoreStateChanged);
}

void MainWindowModel::DeleteSelected()
{
    const std::size_t count = SelectedCount();
    if (count == 0 || !ports_.prompts.AskYesNo(kDeleteCaption, std::to_string(count) + std::string(kDeleteQuestion))) {
        return;
    }
    auto& rows = store_.Rows();
    auto& deleted = store_.State().DeletedFileLines;
    for (std::size_t i = rows.size(); i-- > 0;) {
        if (!rows[i].Selected) {
            continue;
        }
        // In a filtered view the file keeps every line the view does not show, so the line of
        // a deleted row must be removed by number when saving.
        if (mainTab_ != 0) {
            if (const auto line = ParseInt32(rows[i].FileLine); line && *line >= 0) {
                deleted.push_back(std::to_string(*line));
            }
        }
        rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(i));
    }
    store_.State().UnsavedChanges = true;
    store_.State().UndoAvailable = true;
    Notify(&MainWindowObserver::RowsReset);
    Notify(&MainWindowObserver::StoreStateChanged);
}

void MainWindowModel::SortByColumn(int column)
{
    if (column < 0 || column >= kVisibleColumnCount) {
        return;
    }
    SortRowsByColumn(store_.Rows(), column, sortDescendingNext_ == 1);
    sortDescendingNext_ ^= 1;
    if (mainTab_ == 0) {
        store_.State().OrderChanged = true;
    }
    Notify(&MainWindowObserver::RowsReset);
    Notify(&MainWindowObserver::StoreStateChanged);
}

std::optional<std::uint32_t> MainWindowModel::RowColourOf(std::size_t row) const
{
    if (row >= store_.Rows().size()) {
        return std::nullopt;
    }
    return RowColour(store_.Rows()[row], ports_.clock.Now(), settings_.KeepDays);
}

MainWindowModel::StatusTickResult MainWindowModel::StatusTick()
{
    StatusTickResult result;
    if (calendar_.HolidayNameTicks > 0 && --calendar_.HolidayNameTicks == 0) {
        result.repaintCalendar = true;
    }
    if (SiblingHasGone()) {
        result.closeWindow = true;
        return result;
    }
    if (purgePending_ && settings_.KeepDays > 0) {
        purgePending_ = false;
        PurgeCompleted();
    }
    const auto tick = refresh_.Tick(store_.Rows(), ports_.clock.Now());
    result.changedRow = tick.changedRow;
    result.repaintAll = tick.repaintAll;
    result.intervalMs = refresh_.IntervalMs();
    return result;
}

void MainWindowModel::SetElapsedRate(bool on)
{
    refresh_.SetElapsedRate(on);
    refresh_.Restart();
}

void MainWindowModel::SetKeepDays(int days)
{
    settings_.KeepDays = std::clamp(days, 0, 60);
    Notify(&MainWindowObserver::RowsChanged);  // the colours of completed rows depend on it
}

void MainWindowModel::PurgeCompleted()
{
    auto& rows = store_.Rows();
    const auto found = FindPurgeRows(rows, ports_.clock.Now(), settings_.KeepDays);
    if (found.empty()) {
        return;
    }
    SelectRows(rows, found);
    Notify(&MainWindowObserver::RowsChanged);
    if (!ports_.prompts.AskYesNo(Cp932ToUtf8(PurgeCaption()),
                                 Cp932ToUtf8(PurgeQuestionText(settings_.KeepDays, found.size())))) {
        return;
    }
    // In a filtered view the rows' lines must go from the file too, as when deleting them.
    if (mainTab_ != 0) {
        for (const std::size_t index : found) {
            if (!rows[index].FileLine.empty()) {
                store_.State().DeletedFileLines.push_back(rows[index].FileLine);
            }
        }
    }
    RemoveRows(rows, found);
    ListStore::SaveOptions options;
    options.sibling = &ports_.sibling;
    FileError error;
    const SaveMode mode = mainTab_ == 0 ? SaveMode::Full : SaveMode::Merge;
    if (store_.SaveList(paths_.ListFilePath, mode, error, options) != SaveStatus::Saved) {
        // The rows are gone from the list but not from the file: keep that as an unsaved change.
        store_.State().UnsavedChanges = true;
        ports_.prompts.ShowError(error.message);
    }
    Notify(&MainWindowObserver::RowsReset);
    Notify(&MainWindowObserver::StoreStateChanged);
}

ViewState MainWindowModel::View() const
{
    return ViewState{mainTab_, categoryTabText_, categoryTabIndex_};
}

std::filesystem::path MainWindowModel::DataIniPath() const
{
    return paths_.ProgramFolder / "data.ini";
}

void MainWindowModel::Notify(void (MainWindowObserver::*change)())
{
    // The calendar's day lists hold row indices and dates: whatever changes the rows rebuilds it.
    const bool rowsChanged = change == &MainWindowObserver::RowsReset || change == &MainWindowObserver::RowsChanged;
    if (rowsChanged && calendarShown_) {
        RebuildCalendar();
    }
    if (observer_ != nullptr) {
        (observer_->*change)();
        if (rowsChanged && calendarShown_) {
            observer_->CalendarChanged();
        }
    }
}

}  // namespace dolvane
