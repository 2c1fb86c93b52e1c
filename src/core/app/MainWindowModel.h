#pragma once

#include "core/app/CalendarController.h"
#include "core/app/CellEditCommand.h"
#include "core/app/FileCommands.h"
#include "core/app/ListCommands.h"
#include "core/app/PanelCommands.h"
#include "core/app/Reminders.h"
#include "core/app/RetentionPurge.h"
#include "core/app/SettingsSession.h"
#include "core/app/StickyNotes.h"
#include "core/app/SyncCommand.h"
#include "core/app/ToDoDocument.h"
#include "core/app/ViewTabs.h"
#include "core/ports/Notifier.h"

#include <functional>
#include <memory>
#include <optional>

namespace dolvane {

// The outside world the main window talks to.
struct MainWindowPorts {
    Clock& clock;
    Prompts& prompts;
    SiblingPort& sibling;
    FileSystem& files;
    // The sibling's own settings store, used instead of "data.ini" when the program lives in
    // the sibling's folder; may be absent.
    SettingsStore* siblingSettings = nullptr;
    // Loads the optional conversion library; gives nothing when it is absent.
    std::function<std::unique_ptr<ConversionLibrary>()> loadConversionLibrary;
    // The desktop's notifications for reminders; without it there are none.
    Notifier* notifier = nullptr;
    // The sync with a CalDAV server; without it the menu does not offer it.
    SyncService* sync = nullptr;
};

// The main window's state and commands, without widgets: a composition of parts, each with one
// job. The window hands each widget the part it shows; what spans parts (the window's lifecycle,
// the status timer, Add on the calendar's day) is here.
class MainWindowModel final {
public:
    // Builds the parts and loads the list file.
    MainWindowModel(ProgramPaths paths, MainWindowPorts ports);
    MainWindowModel(const MainWindowModel&) = delete;
    MainWindowModel& operator=(const MainWindowModel&) = delete;

    // The window; told after every part that listens itself (the calendar rebuilds first).
    void SetObserver(MainWindowObserver* observer);

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
    // The status timer's tick: holiday-name countdown, sibling watch, the one-time purge,
    // reminders, one row's time texts.
    StatusTickResult StatusTick();
    // Ticking or clearing "経過率" restarts the refresh from the first row in the fast phase.
    void SetElapsedRate(bool on);
    bool ElapsedRate() const noexcept { return document_.Refresh().ElapsedRate(); }

    // A reminder was clicked: its to-do becomes the only selected row and fills the panel. False
    // when the notification stands for no row (a summary, or the to-do is gone from the view).
    bool ShowNotifiedToDo(std::uint32_t notificationId);

    // Add: while the calendar is shown the new to-do starts on its selected day, at the present
    // time of day; otherwise as the panel says.
    void AddFromPanel();

    ToDoDocument& Document() noexcept { return document_; }
    const ToDoDocument& Document() const noexcept { return document_; }
    SettingsSession& Session() noexcept { return settings_; }
    const SettingsSession& Session() const noexcept { return settings_; }
    ViewTabs& Tabs() noexcept { return tabs_; }
    const ViewTabs& Tabs() const noexcept { return tabs_; }
    PanelCommands& Editing() noexcept { return panel_; }
    const PanelCommands& Editing() const noexcept { return panel_; }
    ListCommands& List() noexcept { return list_; }
    const ListCommands& List() const noexcept { return list_; }
    const RetentionPurge& Purge() const noexcept { return purge_; }
    CellEditCommand& CellEdit() noexcept { return cellEdit_; }
    CalendarController& Calendar() noexcept { return calendar_; }
    const CalendarController& Calendar() const noexcept { return calendar_; }
    FileCommands& Files() noexcept { return files_; }
    const FileCommands& Files() const noexcept { return files_; }
    StickyNotes& Notes() noexcept { return notes_; }
    Reminders& Reminding() noexcept { return reminders_; }
    const StickyNotes& Notes() const noexcept { return notes_; }
    SyncCommand& Sync() noexcept { return sync_; }
    const SyncCommand& Sync() const noexcept { return sync_; }

    // Shorthands for what nearly every caller needs.
    const std::vector<ToDoRecord>& Rows() const noexcept { return document_.Rows(); }
    const StoreState& State() const noexcept { return document_.State(); }
    const ProgramPaths& Paths() const noexcept { return document_.Paths(); }
    const Settings& CurrentSettings() const noexcept { return settings_.Values(); }
    // Reloads the list file into the current view, dropping every unsaved change (undo).
    void Reload() { document_.Reload(); }
    // Saves the rows (the apply command); true when the list file was written.
    bool Apply() { return document_.Apply(); }

private:
    std::function<std::unique_ptr<ConversionLibrary>()> loadConversionLibrary_;
    MainWindowObserver* observer_ = nullptr;
    Prompts& prompts_;
    SiblingPort& sibling_;
    // Declared in the order they are built: each part takes those before it.
    ToDoDocument document_;
    SettingsSession settings_;
    ViewTabs tabs_;
    PanelCommands panel_;
    ListCommands list_;
    CellEditCommand cellEdit_;
    RetentionPurge purge_;
    CalendarController calendar_;
    FileCommands files_;
    StickyNotes notes_;
    Reminders reminders_;
    SyncCommand sync_;
};

}  // namespace dolvane
