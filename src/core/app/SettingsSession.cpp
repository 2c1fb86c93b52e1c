#include "core/app/SettingsSession.h"

#include "core/store/ProgramState.h"

namespace dolvane {

std::filesystem::path SettingsSession::StateFilePath(const ProgramPaths& paths)
{
    return paths.ProgramFolder / kStateFileName;
}

SettingsSession::SettingsSession(ToDoDocument& document, Prompts& prompts, FileSystem& files,
                                 SettingsStore* siblingStore)
    : document_(document),
      prompts_(prompts),
      fileSystem_(files),
      siblingStore_(siblingStore)
{
}

void SettingsSession::Read()
{
    const ProgramPaths& paths = document_.Paths();
    holidayList_ = LoadHolidayLines(fileSystem_, paths.HolidayFilePath);
    holidays_ = HolidayCalendar(holidayList_);
    if (paths.InsideSiblingFolder) {
        if (siblingStore_ != nullptr) {
            settings_ = ReadSettings(*siblingStore_, settings_);
        }
    } else {
        // A data.ini that cannot be read leaves the defaults; writing it back is refused later,
        // so its content is not lost either.
        FileError ignored;
        settings_ = ReadDataIni(fileSystem_, paths.ProgramFolder / "data.ini", ignored);
    }
    // The state file's switch wins; without one, the one an earlier version kept in data.ini
    // counts until the first write moves it over.
    const ProgramState state = ReadProgramState(fileSystem_, StateFilePath(paths));
    settings_.Reminders = state.reminders.value_or(settings_.Reminders);
    columnWidths_ = state.columnWidths;
    document_.Notify(&MainWindowObserver::SettingsChanged);
}

void SettingsSession::Write()
{
    const ProgramPaths& paths = document_.Paths();
    FileError ignored;
    const bool stateWritten = WriteProgramState(
        fileSystem_, StateFilePath(paths), ProgramState{settings_.Reminders, columnWidths_, std::nullopt}, ignored);
    if (paths.InsideSiblingFolder) {
        if (siblingStore_ != nullptr) {
            WriteSettings(*siblingStore_, settings_);
        }
        return;
    }
    // data.ini loses the old reminders section only once the state file holds the switch.
    WriteDataIni(fileSystem_, paths.ProgramFolder / "data.ini", settings_, stateWritten, ignored);
}

bool SettingsSession::WriteToSiblingStore()
{
    return siblingStore_ != nullptr && WriteSettings(*siblingStore_, settings_);
}

void SettingsSession::SetKeepDays(int days)
{
    const int kept = kKeepDaysRange.Clamp(days);
    if (kept == settings_.KeepDays) {
        return;
    }
    settings_.KeepDays = kept;
    document_.Notify(&MainWindowObserver::RowsChanged);  // the colours of completed rows depend on it
}

void SettingsSession::Apply(const Settings& values)
{
    const Settings kept = ClampSettings(values);
    const bool keepDaysChanged = kept.KeepDays != settings_.KeepDays;
    settings_ = kept;
    document_.Notify(&MainWindowObserver::SettingsChanged);
    if (keepDaysChanged) {
        document_.Notify(&MainWindowObserver::RowsChanged);
    }
}

void SettingsSession::EditInDialog()
{
    if (const auto edited = prompts_.EditSettings(settings_)) {
        Apply(*edited);
    }
}

}  // namespace dolvane
