#pragma once

#include <QMainWindow>

// moc of Qt 6.4 cannot parse the C++20 library headers the model pulls in (<concepts>); it needs
// none of them, since no signal or slot here uses these types.
#ifndef Q_MOC_RUN
#include "core/app/MainWindowModel.h"
#include "ui/widgets/BusyLockWait.h"

#include <functional>
#include <memory>
#endif

class QCheckBox;
class QBoxLayout;
class QLabel;
class QAction;
class QThread;
class QTimer;

namespace dolvane {

class MessagePrompts;
class CalendarView;
class EditPanelWidget;
class TabRow;
class ToDoListModel;
class ToDoListView;

// What the window needs from the operating system, handed in by the program's entry.
struct MainWindowServices {
    ProgramPaths paths;
    Clock& clock;
    SiblingPort& sibling;
    FileSystem& files;
    SettingsStore* siblingSettings = nullptr;
    std::function<std::unique_ptr<ConversionLibrary>()> loadConversionLibrary;
    // The desktop's notifications for reminders; may be absent.
    Notifier* notifier = nullptr;
    // The sync with a CalDAV server; without it ツール > 同期 stays disabled.
    SyncService* sync = nullptr;
};

// The main window: the tab rows, the list, the editing panel area and the status bar around a
// MainWindowModel that holds every rule.
class TVelkDolvane final : public QMainWindow, private MainWindowObserver {
    Q_OBJECT

public:
    explicit TVelkDolvane(MainWindowServices services, QWidget* parent = nullptr);
    ~TVelkDolvane() override;

    const MainWindowModel& Model() const { return *model_; }

    // A reminder was clicked: the window comes to the front with its to-do selected and shown.
    void ShowNotifiedToDo(quint32 notificationId);

Q_SIGNALS:
    // The window accepted its close: the program ends (a tool window does not end it by itself).
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void RowsReset() override;
    void RowsChanged() override;
    void StoreStateChanged() override;
    void PanelChanged() override;
    void ViewChanged() override;
    void CalendarChanged() override;
    void SettingsChanged() override;

    void createMenus();
    void createCentralArea();
    void createTimers();
    void connectList();
    void connectCellEdit();
    void connectTabs();
    // Places the tab rows on the sides the settings name.
    void ApplyTabPositions();
    void statusTimerTick();
    void autoScrollTick();
    void applySelectionFromModel();
    void copySelectionToModel();
    void showVersion();
    void showListMenu(const QPoint& position);
    void findText();
    // ツール > 同期: the pass runs on a thread of its own while the window goes on.
    void startSync();
    void finishSync(const SyncReport& report);

    std::unique_ptr<MessagePrompts> prompts_;
    FileSystem& files_;
    // While a save waits for another writer's lock, events are served inside it (see there).
    BusyLockWait lockWait_;
    std::unique_ptr<MainWindowModel> model_;
    TabRow* mainTabs_ = nullptr;
    TabRow* categoryTabs_ = nullptr;
    QBoxLayout* mainRowLayout_ = nullptr;
    QBoxLayout* categoryRowLayout_ = nullptr;
    QLabel* captionBar_ = nullptr;
    ToDoListModel* listModel_ = nullptr;
    ToDoListView* listView_ = nullptr;
    EditPanelWidget* editPanel_ = nullptr;
    CalendarView* calendarView_ = nullptr;
    QCheckBox* elapsedRateBox_ = nullptr;
    QTimer* statusTimer_ = nullptr;
    QTimer* scrollTimer_ = nullptr;
    bool applyingSelection_ = false;  // set while the model's selection is copied to the list
    bool closeAfterWait_ = false;     // a close came while a save waited for the list's lock
    QAction* syncAction_ = nullptr;
    QLabel* syncRunning_ = nullptr;  // in the status bar while a pass runs
    QThread* syncWorker_ = nullptr;
    bool closeAfterSync_ = false;  // a close came while a pass ran: the window closes after it
};

}  // namespace dolvane
