#include "core/app/ToDoDocument.h"

#include <algorithm>

namespace dolvane {
namespace {

constexpr std::string_view kOverwriteCaption = "確認";
constexpr std::string_view kOverwriteQuestion =
    "ToDoリストは読み込んだ後に他のプログラムで変更されています。\n上書きして保存しますか？";

}  // namespace

ToDoDocument::ToDoDocument(ProgramPaths paths, DocumentPorts ports)
    : paths_(std::move(paths)),
      ports_(ports),
      store_(ports.files)
{
}

void ToDoDocument::AddObserver(MainWindowObserver* observer)
{
    if (observer != nullptr && std::find(observers_.begin(), observers_.end(), observer) == observers_.end()) {
        observers_.push_back(observer);
    }
}

void ToDoDocument::RemoveObserver(MainWindowObserver* observer)
{
    std::erase(observers_, observer);
}

void ToDoDocument::Notify(void (MainWindowObserver::*change)())
{
    // An observer may notify again while being told (the calendar rebuilds and says so); the
    // list of observers itself never changes during a notice.
    for (MainWindowObserver* observer : observers_) {
        (observer->*change)();
    }
}

ViewState ToDoDocument::View() const
{
    return view_ != nullptr ? view_->View() : ViewState{};
}

bool ToDoDocument::Filtered() const
{
    return View().mainTab != MainTab::All;
}

void ToDoDocument::Reload()
{
    FileError error;
    const LineFilter filter = view_ != nullptr ? view_->Filter() : LineFilter{};
    const bool loaded = store_.LoadList(paths_.ListFilePath, filter, ports_.clock.Now(), error);
    for (const auto& row : store_.Rows()) {
        executors_.Remember(row.Executor);
        categories_.Remember(row.Category);
    }
    Notify(&MainWindowObserver::RowsReset);
    Notify(&MainWindowObserver::StoreStateChanged);
    if (!loaded) {
        ports_.prompts.ShowError(error.message);
    }
}

bool ToDoDocument::Save(bool confirmOverwrite)
{
    ListStore::SaveOptions options;
    options.sibling = &ports_.sibling;
    options.becomesLoaded = true;
    const SaveMode mode = Filtered() ? SaveMode::Merge : SaveMode::Full;
    FileError error;
    SaveStatus status = store_.SaveList(paths_.ListFilePath, mode, error, options);
    if (status == SaveStatus::ChangedOnDisk && confirmOverwrite) {
        if (!ports_.prompts.AskYesNo(kOverwriteCaption, kOverwriteQuestion, Prompts::Preselect::No)) {
            return false;
        }
        options.overwriteChanged = true;
        status = store_.SaveList(paths_.ListFilePath, mode, error, options);
    }
    if (status != SaveStatus::Saved) {
        ports_.prompts.ShowError(error.message);
        return false;
    }
    return true;
}

bool ToDoDocument::ImportFrom(const std::filesystem::path& path)
{
    FileError error;
    if (!store_.LoadList(path, {}, ports_.clock.Now(), error)) {
        // Never leave an empty list that applying would write over the list file.
        ports_.prompts.ShowError(error.message);
        Reload();
        return false;
    }
    for (const auto& row : store_.Rows()) {
        executors_.Remember(row.Executor);
        categories_.Remember(row.Category);
    }
    store_.State().UnsavedChanges = true;
    store_.State().UndoAvailable = true;
    Notify(&MainWindowObserver::RowsReset);
    Notify(&MainWindowObserver::StoreStateChanged);
    return true;
}

bool ToDoDocument::ExportTo(const std::filesystem::path& path)
{
    // An exported file is nobody's list: no other writer locks it, no lock file is left beside
    // it, and the sibling, which reads the list, is not told of it.
    ListStore::SaveOptions options;
    options.lockHeld = true;
    options.failure = "ToDoファイルを書き出せませんでした: ";
    FileError error;
    const bool saved = store_.SaveList(path, SaveMode::Full, error, options) == SaveStatus::Saved;
    Notify(&MainWindowObserver::StoreStateChanged);
    if (!saved) {
        ports_.prompts.ShowError(error.message);
    }
    return saved;
}

bool ToDoDocument::Apply()
{
    if (!Save(true)) {
        return false;
    }
    RemoveRowsLeavingView(store_.Rows(), View());
    Notify(&MainWindowObserver::RowsReset);
    Notify(&MainWindowObserver::StoreStateChanged);
    return true;
}

void ToDoDocument::MarkChanged(bool undoable)
{
    store_.State().UnsavedChanges = true;
    if (undoable) {
        store_.State().UndoAvailable = true;
    }
}

std::size_t ToDoDocument::SelectedCount() const
{
    const auto& rows = store_.Rows();
    return static_cast<std::size_t>(
        std::count_if(rows.begin(), rows.end(), [](const ToDoRecord& row) { return row.Selected; }));
}

ToDoRecord* ToDoDocument::FirstSelected()
{
    auto& rows = store_.Rows();
    const auto found = std::find_if(rows.begin(), rows.end(), [](const ToDoRecord& row) { return row.Selected; });
    return found == rows.end() ? nullptr : &*found;
}

void ToDoDocument::SelectOnly(std::size_t row)
{
    auto& rows = store_.Rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].Selected = i == row;
    }
}

void ToDoDocument::ClearSelection()
{
    for (auto& row : store_.Rows()) {
        row.Selected = false;
    }
}

void ToDoDocument::RefreshRow(ToDoRecord& row) const
{
    RefreshRowStatus(row, ports_.clock.Now(), refresh_.ElapsedRate());
}

}  // namespace dolvane
