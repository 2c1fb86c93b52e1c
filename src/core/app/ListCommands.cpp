#include "core/app/ListCommands.h"

#include "core/store/Csv.h"
#include "core/text/Numbers.h"
#include "core/view/ColumnSort.h"
#include "core/view/DragSelection.h"
#include "core/view/RowColour.h"

namespace dolvane {
namespace {

constexpr std::string_view kDeleteCaption = "削除確認";
constexpr std::string_view kDeleteQuestion = "個のToDoを削除します。よろしいですか？";

}  // namespace

ListCommands::ListCommands(ToDoDocument& document, const SettingsSession& settings, Prompts& prompts, FileSystem& files)
    : document_(document),
      prompts_(prompts),
      fileSystem_(files),
      settings_(settings)
{
}

void ListCommands::SetRowCompleted(std::size_t row, bool completed)
{
    auto& rows = document_.Rows();
    if (row >= rows.size()) {
        return;
    }
    rows[row].Completed = completed;
    // The same texts the status refresh would write at its next visit, shown at once.
    document_.RefreshRow(rows[row]);
    document_.MarkChanged(false);
    document_.Notify(&MainWindowObserver::StoreStateChanged);
}

void ListCommands::PressCheckBox(std::size_t row)
{
    auto& rows = document_.Rows();
    if (row >= rows.size()) {
        return;
    }
    const bool completed = !rows[row].Completed;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i == row || (rows[row].Selected && rows[i].Selected)) {
            rows[i].Completed = completed;
            document_.RefreshRow(rows[i]);
        }
    }
    document_.MarkChanged(false);
    document_.Notify(&MainWindowObserver::RowsChanged);
    document_.Notify(&MainWindowObserver::StoreStateChanged);
}

void ListCommands::RecordPress(int row, int column) noexcept
{
    dragAnchorRow_ = row;
    clickedColumn_ = column;
}

void ListCommands::DragOver(int row)
{
    if (dragAnchorRow_ < 0 || row < 0) {
        return;
    }
    SelectRowRange(document_.Rows(), dragAnchorRow_, row);
}

void ListCommands::SetRowSelected(std::size_t row, bool selected)
{
    if (row < document_.Rows().size()) {
        document_.Rows()[row].Selected = selected;
    }
}

void ListCommands::SelectAll()
{
    for (auto& row : document_.Rows()) {
        row.Selected = true;
    }
    document_.Notify(&MainWindowObserver::SelectionChanged);
}

void ListCommands::DeleteSelected()
{
    const std::size_t count = document_.SelectedCount();
    if (count == 0 || !prompts_.AskYesNo(kDeleteCaption, std::to_string(count) + std::string(kDeleteQuestion))) {
        return;
    }
    auto& rows = document_.Rows();
    auto& deleted = document_.State().DeletedFileLines;
    const bool filtered = document_.Filtered();
    for (std::size_t i = rows.size(); i-- > 0;) {
        if (!rows[i].Selected) {
            continue;
        }
        // In a filtered view the file keeps every line the view does not show, so the line of
        // a deleted row must be removed by number when saving.
        if (filtered) {
            if (const auto line = ParseInt32(rows[i].FileLine); line && *line >= 0) {
                deleted.push_back(std::to_string(*line));
            }
        }
        rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(i));
    }
    document_.MarkChanged(true);
    document_.Notify(&MainWindowObserver::RowsReset);
    document_.Notify(&MainWindowObserver::StoreStateChanged);
}

void ListCommands::SortByColumn(int column)
{
    if (column < 0 || column >= kVisibleColumnCount) {
        return;
    }
    SortRowsByColumn(document_.Rows(), column, sortDescendingNext_ == 1);
    sortDescendingNext_ ^= 1;
    if (!document_.Filtered()) {
        document_.State().OrderChanged = true;
    }
    document_.Notify(&MainWindowObserver::RowsReset);
    document_.Notify(&MainWindowObserver::StoreStateChanged);
}

ListCommands::PopupMenuState ListCommands::PopupMenuOpening() const
{
    PopupMenuState state;
    state.sortSave = !document_.Filtered() && document_.State().OrderChanged;
    state.deleteRow = document_.SelectedCount() > 0;
    state.enclose = csvEnclosing_;
    return state;
}

bool ListCommands::ExportCsv()
{
    const auto chosen = prompts_.ChooseFileToSave("csv", "CSVファイル(*.csv)|*.csv");
    return chosen && ExportCsvTo(*chosen);
}

bool ListCommands::ExportCsvTo(const std::filesystem::path& path)
{
    FileError error;
    if (WriteCsvFile(fileSystem_, path, document_.Rows(), csvEnclosing_, document_.Refresh().ElapsedRate(), error)) {
        return true;
    }
    prompts_.ShowError(error.message);
    return false;
}

std::optional<std::uint32_t> ListCommands::RowColourOf(std::size_t row) const
{
    if (row >= document_.Rows().size()) {
        return std::nullopt;
    }
    return RowColour(document_.Rows()[row], document_.Now(), settings_.Values().KeepDays);
}

}  // namespace dolvane
