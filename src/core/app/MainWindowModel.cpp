#include "core/app/MainWindowModel.h"

#include "core/store/Purge.h"
#include "core/text/Cp932Codec.h"
#include "core/view/ColumnSort.h"
#include "core/view/DragSelection.h"
#include "core/view/RowColour.h"

#include <algorithm>

namespace dolvane {
namespace {

constexpr std::string_view kSaveCaption = "ToDo";
constexpr std::string_view kSaveQuestion = "ToDoリストが変更されています。保存しますか？";
constexpr std::string_view kOverwriteCaption = "確認";
constexpr std::string_view kOverwriteQuestion =
    "ToDoリストは読み込んだ後に他のプログラムで変更されています。\n上書きして保存しますか？";

// The lines the current view shows. Only the "全て" tab exists so far: every to-do line.
LineFilter ViewFilter()
{
    return [](const LineFacts&) { return true; };
}

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
    NotifyRows();
    NotifyState();
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
    NotifyRows();
    NotifyState();
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
    NotifyState();
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
    NotifyRowsChanged();
    NotifyState();
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
    NotifyRows();
    NotifyState();
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
    if (holidayNameTicks_ > 0 && --holidayNameTicks_ == 0) {
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
    NotifyRowsChanged();  // the colours of completed rows depend on it
}

void MainWindowModel::PurgeCompleted()
{
    auto& rows = store_.Rows();
    const auto found = FindPurgeRows(rows, ports_.clock.Now(), settings_.KeepDays);
    if (found.empty()) {
        return;
    }
    SelectRows(rows, found);
    NotifyRowsChanged();
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
    NotifyRows();
    NotifyState();
}

ViewState MainWindowModel::View() const
{
    return ViewState{mainTab_, categoryTabText_, categoryTabIndex_};
}

std::filesystem::path MainWindowModel::DataIniPath() const
{
    return paths_.ProgramFolder / "data.ini";
}

void MainWindowModel::NotifyRows()
{
    if (observer_ != nullptr) {
        observer_->RowsReset();
    }
}

void MainWindowModel::NotifyRowsChanged()
{
    if (observer_ != nullptr) {
        observer_->RowsChanged();
    }
}

void MainWindowModel::NotifyState()
{
    if (observer_ != nullptr) {
        observer_->StoreStateChanged();
    }
}

}  // namespace dolvane
