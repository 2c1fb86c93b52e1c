#pragma once

#include "core/app/ToDoDocument.h"
#include "core/calendar/Holidays.h"
#include "core/store/Settings.h"

#include <string>
#include <vector>

namespace dolvane {

// The settings for one run of the window: read once when the window is created, edited by
// the keeping period's spinner and the settings dialog, written when the window closes. The seven
// shared with the sibling live in "data.ini" beside the program, or in the sibling's own store when
// the sibling hosts the program (which also brings the sibling's holiday file). The reminders
// switch and the list's column widths are the program's own: they live in its state file beside it,
// wherever it runs.
class SettingsSession final {
public:
    // `siblingStore` may be absent: hosted without it, nothing is read or written.
    SettingsSession(ToDoDocument& document, Prompts& prompts, FileSystem& files, SettingsStore* siblingStore);

    // Reads the settings and the holiday file; the window follows at once.
    void Read();
    // Writes every setting where it was read. A data.ini that cannot be read is left alone.
    void Write();
    // Writes every setting into the sibling's store, wherever they were read (the merge into
    // the sibling's folder takes them along). False without a store or when a write failed.
    bool WriteToSiblingStore();

    const Settings& Values() const noexcept { return settings_; }
    // The keeping period of completed to-dos ("完了したToDoの保持日数").
    void SetKeepDays(int days);
    // The settings dialog's OK: every value at once, each brought into its range.
    void Apply(const Settings& values);
    // "設定(&T)": the dialog edits a copy of the settings; OK applies all of them, Cancel nothing.
    void EditInDialog();

    // The list's column widths as the user left them (pixels, column order); empty before the
    // first resize by hand.
    const std::vector<int>& ColumnWidths() const noexcept { return columnWidths_; }
    void SetColumnWidths(std::vector<int> widths) { columnWidths_ = std::move(widths); }

    // Where the settings of the program's own live (ProgramState).
    static std::filesystem::path StateFilePath(const ProgramPaths& paths);

    const std::vector<std::string>& HolidayList() const noexcept { return holidayList_; }
    const HolidayCalendar& Holidays() const noexcept { return holidays_; }

private:
    ToDoDocument& document_;
    Prompts& prompts_;
    FileSystem& fileSystem_;
    SettingsStore* siblingStore_;
    Settings settings_;
    std::vector<int> columnWidths_;
    std::vector<std::string> holidayList_;
    HolidayCalendar holidays_;
};

}  // namespace dolvane
