#pragma once

#include "core/app/Ports.h"
#include "core/app/ProgramPaths.h"
#include "core/store/ListStore.h"
#include "core/store/Settings.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace dolvane {

// What the window repaints when the model changes.
class MainWindowObserver {
public:
    virtual ~MainWindowObserver() = default;
    // The rows were replaced or rows were removed: rebuild the list.
    virtual void RowsReset() = 0;
    // Unsaved changes or undo availability changed: enable or disable "適用" and "元に戻す".
    virtual void StoreStateChanged() = 0;
};

// The outside world the main window talks to.
struct MainWindowPorts {
    Clock& clock;
    Prompts& prompts;
    SiblingPort& sibling;
    // The sibling's own settings store, used instead of "data.ini" when the program lives in
    // the sibling's folder; may be absent.
    SettingsStore* siblingSettings = nullptr;
    // Loads the optional conversion library; gives nothing when it is absent.
    std::function<std::unique_ptr<ConversionLibrary>()> loadConversionLibrary;
};

// The main window's state and commands, without widgets. The window forwards what the user
// does and shows what this holds.
class MainWindowModel final {
public:
    // Builds the state the window starts with and loads the list file.
    MainWindowModel(ProgramPaths paths, MainWindowPorts ports);
    MainWindowModel(const MainWindowModel&) = delete;
    MainWindowModel& operator=(const MainWindowModel&) = delete;

    void SetObserver(MainWindowObserver* observer) noexcept { observer_ = observer; }

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

    // Reloads the list file into the current view, dropping every unsaved change (undo).
    void Reload();
    // Saves the rows (the apply command); true when the list file was written.
    bool Apply();
    // A row's check box was toggled by the user.
    void SetRowCompleted(std::size_t row, bool completed);

    const std::vector<ToDoRecord>& Rows() const noexcept { return store_.Rows(); }
    const StoreState& State() const noexcept { return store_.State(); }
    const ProgramPaths& Paths() const noexcept { return paths_; }
    const Settings& CurrentSettings() const noexcept { return settings_; }
    Settings& CurrentSettings() noexcept { return settings_; }
    const std::vector<std::string>& HolidayList() const noexcept { return holidayList_; }
    bool HasConversionLibrary() const noexcept { return conversionLibrary_ != nullptr; }

    int MainTab() const noexcept { return mainTab_; }
    const std::string& CategoryTabText() const noexcept { return categoryTabText_; }
    const std::string& PrevCategoryTabText() const noexcept { return prevCategoryTabText_; }
    const std::string& SearchText() const noexcept { return searchText_; }
    bool PurgePending() const noexcept { return purgePending_; }

private:
    ViewState View() const;
    std::filesystem::path DataIniPath() const;
    void NotifyRows();
    void NotifyState();

    ProgramPaths paths_;
    MainWindowPorts ports_;
    MainWindowObserver* observer_ = nullptr;

    ListStore store_;
    Settings settings_;
    std::vector<std::string> holidayList_;
    std::unique_ptr<ConversionLibrary> conversionLibrary_;

    int mainTab_ = 0;           // 0 "全て", 1 "なし", 2 "検索", 3 "未完了", 4 "完了"
    int categoryTabIndex_ = 0;  // 0 "全て", 1 "なし", 2.. the categories
    std::string categoryTabText_;
    std::string prevCategoryTabText_;
    std::string searchText_;
    bool purgePending_ = true;
};

}  // namespace dolvane
