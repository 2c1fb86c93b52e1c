// The window's wiring: each widget and menu command reaches its part of the window model and shows
// its notices. The rules are pinned on the model (tests/core/app), the mouse and keyboard paths
// under a real X server (tests/e2e).
#include "ui/MainWindow.h"
#include "ui/widgets/TabRow.h"

#include "support/MainWindowFixture.h"
#include "support/TypedInput.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QUrl>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace dolvane {
namespace {

using test::Commit;
using test::Sj;
using test::WriteBytes;

class MainWindowTest : public test::MainWindowFixture {};

// Column captions and the text of each column are checked on the list model; here the wiring.
TEST_F(MainWindowTest, ShowsTheListFileTheClickedRowAndTheClickedTab)
{
    const auto window = OpenShown();
    auto* list = Find<QTreeView>(*window, "ListView1");
    const QAbstractItemModel* model = list->model();
    ASSERT_EQ(model->rowCount(), 2);
    EXPECT_EQ(model->index(0, 7).data().toString(), QStringLiteral("5日6時間")) << "the clock's now";
    EXPECT_EQ(model->index(1, 0).data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
    EXPECT_TRUE(Find<QTimer>(*window, "Timer1")->isActive()) << "showing starts the status timer";

    // While a press selects rows the auto-scroll timer runs instead; the release hands back.
    const QPoint cell = list->visualRect(model->index(0, 3)).center();
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, cell);
    EXPECT_FALSE(Find<QTimer>(*window, "Timer1")->isActive());
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, cell);
    EXPECT_TRUE(Find<QTimer>(*window, "Timer1")->isActive());
    EXPECT_FALSE(Find<QTimer>(*window, "Timer2")->isActive());
    EXPECT_EQ(Find<QLineEdit>(*window, "Edit3")->text(), QStringLiteral("2010/05/01 09:00"));
    EXPECT_EQ(Find<QPlainTextEdit>(*window, "Memo1")->toPlainText(), QStringLiteral("報告書を書く\n提出する"));

    // Without unsaved changes a tab switches at once (what a refused change leaves is the model's).
    auto* tabs = Find<TabRow>(*window, "TabControl1");
    auto* captionBar = Find<QLabel>(*window, "Panel7");
    EXPECT_EQ(tabs->tabText(4), QStringLiteral("完了"));
    EXPECT_TRUE(captionBar->isHidden());
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->TabArea(4).center());
    EXPECT_EQ(tabs->currentIndex(), 4);
    EXPECT_EQ(model->rowCount(), 1);
    EXPECT_FALSE(captionBar->isHidden()) << "the category tabs are below: the caption bar names the view";
}

TEST_F(MainWindowTest, TabRowsAndTheKeepingPeriodComeFromTheSettings)
{
    WriteBytes(paths_.ProgramFolder / "data.ini",
               "[tabalm]\r\nValue=3\r\n[tabsub]\r\nValue=0\r\n[tododel]\r\nValue=30\r\n");
    const auto window = Open();
    EXPECT_EQ(Find<QTabBar>(*window, "TabControl1")->shape(), QTabBar::RoundedEast);
    EXPECT_EQ(Find<QTabBar>(*window, "TabControl2")->shape(), QTabBar::RoundedNorth);
    auto* keepDays = Find<QSpinBox>(*window, "NumberEdit1");
    EXPECT_EQ(keepDays->value(), 30);
    EXPECT_EQ(keepDays->maximum(), 60);
    window->show();
    keepDays->stepUp();
    EXPECT_EQ(window->Model().CurrentSettings().KeepDays, 31) << "one step from the stored value, not from 7";
}

TEST_F(MainWindowTest, ReplaceChangesTheSelectedRowAndUndoReloadsTheListFile)
{
    const auto window = OpenShown();
    auto* list = Find<QTreeView>(*window, "ListView1");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(0, 3)).center());
    Find<QComboBox>(*window, "ComboBox1")->setEditText(QStringLiteral("4"));
    QTest::mouseClick(Find<QPushButton>(*window, "Button2"), Qt::LeftButton);
    ASSERT_EQ(window->Model().Rows()[0].Importance, "4");
    QTest::mouseClick(Find<QToolButton>(*window, "SpeedButton1"), Qt::LeftButton);
    EXPECT_EQ(window->Model().Rows()[0].Importance, "3");
    EXPECT_FALSE(window->Model().State().UnsavedChanges);
}

// A character cp932 lacks, committed by an input method, stays where it was typed with the cursor
// after it, and the status bar names it (Add's refusal is the panel model's).
TEST_F(MainWindowTest, AnUnstorableCharacterStaysInThePanelAndIsNamed)
{
    const auto window = OpenShown();
    auto* task = Find<QPlainTextEdit>(*window, "Memo1");
    task->clear();
    Commit(task, QStringLiteral("から😀を"));
    EXPECT_EQ(task->toPlainText(), QStringLiteral("から😀を"));
    EXPECT_EQ(task->textCursor().position(), 5) << "after を (😀 is two UTF-16 units)";
    EXPECT_EQ(window->statusBar()->currentMessage(), QStringLiteral("「😀」はこの一覧に保存できない文字です"));
    EXPECT_EQ(window->Model().Editing().Panel().Unstorable(PanelField::Task), "😀");
}

// The search dialog keeps a text it cannot store, naming the character, until it is changed.
TEST_F(MainWindowTest, TheSearchDialogKeepsATextItCannotStore)
{
    const auto window = OpenShown();
    test::MessageBoxes boxes;
    QStringList refusals;
    QString kept;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->setTextValue(QStringLiteral("から〜😀を"));
        dialog->accept();
        refusals = boxes.Take();
        kept = dialog->isVisible() ? dialog->textValue() : QString();
        dialog->setTextValue(QStringLiteral("から〜"));
        dialog->accept();
        if (dialog->isVisible()) {
            dialog->reject();  // the second text was refused as well
        }
    });
    Find<QAction>(*window, "Find1")->trigger();
    EXPECT_EQ(refusals, QStringList{QStringLiteral("「😀」はこの一覧に保存できない文字です")});
    EXPECT_EQ(kept, QStringLiteral("から〜😀を")) << "the dialog stays open with the text";
    EXPECT_EQ(window->Model().Tabs().SearchText(), Sj("から～"));
}

// A row's "abc" stays as it is when the drop-down's list holds "ABC" and the user only passes
// through the field: nothing ticks its box either.
TEST_F(MainWindowTest, ADropDownKeepsItsTextAsTypedAndEnterAddsNothing)
{
    WriteBytes(paths_.ListFilePath,
               Sj("2010/05/01 09:00+=03000ABC@\\@#@#一\r\n2010/05/02 09:00+=03000abc@\\@#@#二\r\n"));
    const auto window = OpenShown();
    QApplication::setActiveWindow(window.get());
    auto* list = Find<QTreeView>(*window, "ListView1");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(1, 3)).center());
    auto* executor = Find<QComboBox>(*window, "ComboBox2");
    ASSERT_EQ(executor->currentText(), QStringLiteral("abc"));
    executor->lineEdit()->setFocus();
    executor->showPopup();
    executor->hidePopup();
    list->setFocus();
    executor->lineEdit()->setFocus();
    QTest::keyClick(executor->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(executor->currentText(), QStringLiteral("abc"));
    EXPECT_FALSE(Find<QCheckBox>(*window, "CheckBox4")->isChecked());
    EXPECT_EQ(window->Model().Editing().Panel().Text(PanelField::Executor), "abc");

    // Enter confirms a kana conversion: in a drop-down it neither adds an entry nor runs Add.
    executor->lineEdit()->clear();
    QTest::keyClicks(executor->lineEdit(), QStringLiteral("Sato"));
    QTest::keyClick(executor->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(executor->findText(QStringLiteral("Sato")), -1);
    EXPECT_EQ(executor->currentText(), QStringLiteral("Sato"));
    EXPECT_EQ(window->Model().Rows().size(), 2U);
}

// Another writer holds the list's lock for a while: the save waits under a busy cursor with the
// window's timers still served, and goes ahead once the lock is free.
TEST_F(MainWindowTest, ASaveWaitingForTheLockOfTheListKeepsTheWindowServed)
{
    const auto window = OpenShown();
    QAbstractItemModel* rows = Find<QTreeView>(*window, "ListView1")->model();
    rows->setData(rows->index(0, 0), Qt::Checked, Qt::CheckStateRole);  // as Space ticks a box
    ASSERT_TRUE(window->Model().State().UnsavedChanges);

    std::filesystem::path lockFile = paths_.ListFilePath;
    lockFile += ".lock";
    const int held = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    QTimer::singleShot(400, [held] { ::close(held); });

    int ticks = 0;
    bool busyCursor = false;
    bool boxShown = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &timer, [&] {
        ++ticks;
        busyCursor |= QGuiApplication::overrideCursor() != nullptr &&
                      QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
        if (QWidget* box = QApplication::activeModalWidget()) {
            boxShown = true;  // a save that gave up; closed so that the test ends
            box->close();
        }
    });
    timer.start(20);
    QTest::mouseClick(Find<QPushButton>(*window, "Button3"), Qt::LeftButton);
    timer.stop();

    EXPECT_GE(ticks, 10) << "the timer ran while the save waited";
    EXPECT_TRUE(busyCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the cursor is back after the wait";
    EXPECT_FALSE(boxShown);
    EXPECT_FALSE(window->Model().State().UnsavedChanges) << "saved once the lock was free";
}

// The calendar button puts the calendar in the list's place around today (2010/05/05); a click
// on the 1st shows that day's to-dos in the day list, a right click turns the bar labels off,
// and the step button moves to June.
TEST_F(MainWindowTest, TheCalendarTakesThePlaceOfTheListAndFollowsClicks)
{
    const auto window = Open();
    window->resize(900, 700);
    window->show();
    auto* calendarButton = Find<QToolButton>(*window, "SpeedButton5");
    auto* modeButton = Find<QToolButton>(*window, "SpeedButton6");
    EXPECT_FALSE(modeButton->isEnabled());
    calendarButton->click();
    auto* list = Find<QTreeView>(*window, "ListView1");
    auto* calendar = Find<QWidget>(*window, "Panel8");
    EXPECT_FALSE(list->isVisible());
    EXPECT_TRUE(modeButton->isEnabled());
    EXPECT_EQ(Find<QLabel>(*window, "Panel10")->text(), QStringLiteral("2010/05"));

    // May 2010 begins on a Saturday: the 1st is the last cell of the first week.
    auto* grid = Find<QWidget>(*window, "StringGrid1");
    const int cellWidth = grid->width() / 7;
    const QPoint first(6 * cellWidth + cellWidth / 2, 18 + 8);
    QTest::mouseClick(grid, Qt::LeftButton, {}, first);
    auto* dayList = Find<QListView>(*window, "ListBox1");
    ASSERT_EQ(dayList->model()->rowCount(), 1);
    const QModelIndex item = dayList->model()->index(0, 0);
    EXPECT_EQ(item.data().toString(), QStringLiteral("報告書を書く\n提出する"));
    // A click on the item selects its to-do; the list keeps its item while it is clicked.
    QTest::mouseClick(dayList->viewport(), Qt::LeftButton, {}, dayList->visualRect(item).center());
    EXPECT_TRUE(window->Model().Rows()[0].Selected);
    ASSERT_EQ(dayList->model()->rowCount(), 1);
    EXPECT_EQ(dayList->currentIndex().row(), 0);
    QTest::mouseClick(grid, Qt::RightButton, {}, first);
    EXPECT_FALSE(window->Model().Calendar().Model().ShowBarTexts());

    Find<QToolButton>(*window, "SpeedButton8")->click();
    EXPECT_EQ(Find<QLabel>(*window, "Panel10")->text(), QStringLiteral("2010/06"));

    calendarButton->click();
    EXPECT_FALSE(calendar->isVisible());
    EXPECT_TRUE(list->isVisible());
}

// Stands in for the desktop's handler of file URLs.
class UrlRecorder final : public QObject {
    Q_OBJECT

public:
    Q_INVOKABLE void open(const QUrl& url) { urls.push_back(url); }
    std::vector<QUrl> urls;
};

TEST_F(MainWindowTest, HelpOpensThePageBesideTheProgramThroughTheDesktop)
{
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "open");
    const auto window = Open();
    Find<QAction>(*window, "Help2")->trigger();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    ASSERT_EQ(recorder.urls.size(), 1U);
    EXPECT_EQ(recorder.urls[0].toLocalFile().toStdString(), (paths_.ProgramFolder / "Help" / "Dolvane.htm").string());
}

// Each menu asks the model as it opens: Save needs rows, the merge the sibling's folder.
TEST_F(MainWindowTest, TheFileAndToolMenusLookAgainEachTimeTheyOpen)
{
    test::WriteBytes(paths_.ListFilePath, "");
    const auto window = Open();
    auto* file = Find<QMenu>(*window, "File1");
    auto* tools = Find<QMenu>(*window, "Tool1");
    ASSERT_TRUE(file != nullptr && tools != nullptr);
    Q_EMIT file->aboutToShow();
    EXPECT_FALSE(Find<QAction>(*window, "Save1")->isEnabled());
    Q_EMIT tools->aboutToShow();
    EXPECT_FALSE(Find<QAction>(*window, "PimaloMenu")->isVisible());
    std::filesystem::create_directories(paths_.SiblingFolder);
    Q_EMIT tools->aboutToShow();
    EXPECT_TRUE(Find<QAction>(*window, "PimaloMenu")->isVisible());
}

// Holds the pass until the test lets it go.
class HeldSync final : public SyncService {
public:
    bool Configured() const override { return true; }
    SyncReport Run(const std::filesystem::path& /*listFile*/) override
    {
        std::unique_lock lock(mutex_);
        going_.wait_for(lock, std::chrono::seconds(20), [this] { return released_; });
        return {true, "同期しました"};
    }
    void Release()
    {
        const std::lock_guard lock(mutex_);
        released_ = true;
        going_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable going_;
    bool released_ = false;
};

// ツール > 同期: the pass on a thread of its own, the item and the status bar while it runs, the
// outcome afterwards (what the pass decides is tested on the model).
TEST_F(MainWindowTest, TheSyncPassRunsBesideTheWindowWhichClosesAfterIt)
{
    EXPECT_FALSE(Find<QAction>(*Open(), "Sync1")->isEnabled()) << "no service, no sync";

    HeldSync service;
    TVelkDolvane window(
        MainWindowServices{paths_, clock_, sibling_, test::DiskFiles(), nullptr, {}, nullptr, &service});
    window.show();
    test::MessageBoxes boxes;
    auto* sync = Find<QAction>(window, "Sync1");
    ASSERT_TRUE(sync->isEnabled());
    sync->trigger();
    EXPECT_FALSE(sync->isEnabled());
    auto* running = Find<QLabel>(window, "SyncRunning");
    ASSERT_NE(running, nullptr);
    EXPECT_TRUE(running->isVisible());
    window.close();
    QTest::qWait(50);
    EXPECT_TRUE(window.isVisible()) << "a close waits for the pass that writes the list";

    service.Release();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isVisible(); }, 10000));
    EXPECT_EQ(boxes.Take(), QStringList{QStringLiteral("同期しました")});
}

}  // namespace
}  // namespace dolvane

#include "MainWindowTest.moc"
