#include "core/app/MainWindowModel.h"

#include "core/text/Cp932Codec.h"

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
    ComputeRowTexts(rows[row], ports_.clock.Now());  // "完了" shows at once
    store_.State().UnsavedChanges = true;
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

void MainWindowModel::NotifyState()
{
    if (observer_ != nullptr) {
        observer_->StoreStateChanged();
    }
}

}  // namespace dolvane
