#include "ui/MainWindow.h"
#include "ui/calendar/CalendarPainter.h"
#include "ui/dialogs/TFusenDlg.h"
#include "ui/widgets/TabRow.h"

#include "support/DiskFiles.h"
#include "support/FakePorts.h"
#include "support/MainWindowFixture.h"
#include "support/Sjis.h"
#include "support/TempFolder.h"
#include "support/TypedInput.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QGuiApplication>
#include <QInputDialog>
#include <QInputMethodEvent>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace dolvane {
namespace {

using test::Commit;
using test::ReadBytes;
using test::Sj;
using test::WriteBytes;

QString Text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

class MainWindowTest : public test::MainWindowFixture {};

template <typename T> T* Find(const TVelkDolvane& window, const char* name)
{
    auto* widget = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

// Column captions and the text of each column are checked on the list model; here the wiring.
TEST_F(MainWindowTest, ShowsTheListFileAndTheClickedRowInThePanel)
{
    const auto window = Open();
    window->show();
    auto* list = Find<QTreeView>(*window, "ListView1");
    const QAbstractItemModel* model = list->model();
    ASSERT_EQ(model->rowCount(), 2);
    EXPECT_EQ(model->index(0, 4).data().toString(), Text("報告書を書く 提出する"));
    EXPECT_EQ(model->index(0, 7).data().toString(), Text("5日6時間")) << "the clock's now";
    EXPECT_EQ(model->index(1, 0).data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
    EXPECT_EQ(Find<QTabBar>(*window, "TabControl1")->tabText(3), Text("未完了"));
    EXPECT_TRUE(Find<QTimer>(*window, "Timer1")->isActive()) << "showing starts the status timer";

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(model->index(0, 3)).center());
    EXPECT_EQ(Find<QLineEdit>(*window, "Edit3")->text(), Text("2010/05/01 09:00"));
    EXPECT_EQ(Find<QPlainTextEdit>(*window, "Memo1")->toPlainText(), Text("報告書を書く\n提出する"));
}

TEST_F(MainWindowTest, TabRowsTakeTheirSidesFromTheSettingsAndClosingWritesThem)
{
    WriteBytes(paths_.ProgramFolder / "data.ini",
               "[tabalm]\r\nValue=3\r\n[tabsub]\r\nValue=0\r\n[tododel]\r\nValue=30\r\n");
    const auto window = Open();
    EXPECT_EQ(Find<QTabBar>(*window, "TabControl1")->shape(), QTabBar::RoundedEast);
    EXPECT_EQ(Find<QTabBar>(*window, "TabControl2")->shape(), QTabBar::RoundedNorth);
    auto* keepDays = Find<QSpinBox>(*window, "NumberEdit1");
    EXPECT_EQ(keepDays->value(), 30) << "the spinner shows the stored keeping period";
    EXPECT_EQ(keepDays->maximum(), 60);
    window->show();
    keepDays->stepUp();
    EXPECT_EQ(window->Model().CurrentSettings().KeepDays, 31) << "one step from the stored value, not from 7";
    EXPECT_TRUE(window->close()) << "no unsaved changes: no question";
    EXPECT_NE(ReadBytes(paths_.ProgramFolder / "data.ini").find("[tododel]\r\nValue=31\r\n"), std::string::npos);
}

// The dialog runs modally from the menu; the answer is given once it is up.
TEST_F(MainWindowTest, SettingsDialogOkMovesTheTabRowsAndChangesTheSearchAtOnce)
{
    const auto window = Open();
    window->show();
    auto* captionBar = Find<QLabel>(*window, "Panel7");
    auto* mainTabs = Find<TabRow>(*window, "TabControl1");
    QTest::mouseClick(mainTabs, Qt::LeftButton, {}, mainTabs->TabArea(3).center());
    ASSERT_EQ(mainTabs->currentIndex(), 3) << "未完了, category tabs below: the caption bar names the view";
    ASSERT_FALSE(captionBar->isHidden());

    const auto answer = [](bool ok) {
        QTimer::singleShot(0, [ok] {
            auto* dialog = qobject_cast<TFusenDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), Text("設定"));
            for (QButtonGroup* group : {dialog->MainTabButtons(), dialog->CategoryTabButtons()}) {
                group->button(group == dialog->MainTabButtons() ? 2 : 0)->click();  // 左, 上
            }
            dialog->CaseSensitiveBox()->setChecked(false);
            QTest::mouseClick(
                dialog->findChild<QPushButton*>(ok ? QStringLiteral("OKBtn") : QStringLiteral("CancelBtn")),
                Qt::LeftButton);
        });
        return ok;
    };
    auto* settings = window->findChild<QAction*>(QStringLiteral("N5"));
    ASSERT_NE(settings, nullptr);
    ASSERT_TRUE(settings->isEnabled());
    answer(false);
    settings->trigger();
    EXPECT_EQ(mainTabs->shape(), QTabBar::RoundedNorth) << "Cancel changes nothing";
    EXPECT_TRUE(window->Model().CurrentSettings().CaseSensitiveSearch);

    answer(true);
    settings->trigger();
    EXPECT_EQ(mainTabs->shape(), QTabBar::RoundedWest);
    EXPECT_EQ(Find<QTabBar>(*window, "TabControl2")->shape(), QTabBar::RoundedNorth);
    EXPECT_FALSE(captionBar->isHidden()) << "main tabs on the left do not name the category";
    EXPECT_FALSE(window->Model().CurrentSettings().CaseSensitiveSearch);
    EXPECT_TRUE(window->close());
    EXPECT_NE(ReadBytes(paths_.ProgramFolder / "data.ini").find("[tabalm]\r\nValue=2\r\n"), std::string::npos);
}

TEST_F(MainWindowTest, CheckBoxOfOneOfThreeSelectedRowsTicksAllAndTextPressStartsADrag)
{
    WriteBytes(paths_.ListFilePath, "+=00000@\\@#@#a\r\n+=00000@\\@#@#b\r\n+=00000@\\@#@#c\r\n+=00000@\\@#@#d\r\n");
    const auto window = Open();
    window->show();
    auto* list = Find<QTreeView>(*window, "ListView1");
    auto* model = list->model();
    list->selectionModel()->select(QItemSelection(model->index(0, 0), model->index(2, 10)),
                                   QItemSelectionModel::ClearAndSelect);
    const int rowMiddle = list->visualRect(model->index(1, 0)).center().y();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(8, rowMiddle));
    const auto& rows = window->Model().Rows();
    EXPECT_TRUE(rows[0].Completed && rows[1].Completed && rows[2].Completed);
    EXPECT_FALSE(rows[3].Completed);
    EXPECT_TRUE(window->Model().State().UnsavedChanges);
    EXPECT_EQ(model->index(2, 0).data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);

    auto* statusTimer = Find<QTimer>(*window, "Timer1");
    auto* scrollTimer = Find<QTimer>(*window, "Timer2");
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, QPoint(16, rowMiddle));
    EXPECT_EQ(window->Model().List().ClickedColumn(), -1);
    EXPECT_EQ(window->Model().List().DragAnchorRow(), 1);
    EXPECT_TRUE(scrollTimer->isActive());
    EXPECT_FALSE(statusTimer->isActive()) << "the status refresh waits while the pointer selects";
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, QPoint(16, rowMiddle));
    EXPECT_FALSE(scrollTimer->isActive());
    EXPECT_TRUE(statusTimer->isActive());
}

TEST_F(MainWindowTest, PanelAddReplaceApplyAndUndoReachTheListFile)
{
    WriteBytes(paths_.ListFilePath, "");
    const auto window = Open();
    window->show();
    Commit(Find<QPlainTextEdit>(*window, "Memo1"), Text("報告書を書く"));
    Commit(Find<QComboBox>(*window, "ComboBox2")->lineEdit(), Text("総務"));
    EXPECT_TRUE(Find<QCheckBox>(*window, "CheckBox4")->isChecked()) << "typing ticks the include box";

    auto* apply = Find<QPushButton>(*window, "Button3");
    QTest::mouseClick(Find<QPushButton>(*window, "Button1"), Qt::LeftButton);
    ASSERT_EQ(window->Model().Rows().size(), 1U);
    EXPECT_TRUE(apply->isEnabled());
    EXPECT_FALSE(Find<QCheckBox>(*window, "CheckBox4")->isChecked()) << "the panel shows the new row, boxes cleared";

    QTest::mouseClick(apply, Qt::LeftButton);
    const std::string saved = ReadBytes(paths_.ListFilePath);
    EXPECT_NE(saved.find(Sj("=00000総務@\\@#@#報告書を書く\r\n")), std::string::npos) << test::Utf8(saved);
    EXPECT_FALSE(apply->isEnabled());

    auto* importance = Find<QComboBox>(*window, "ComboBox1");
    importance->setEditText(QStringLiteral("4"));
    auto* replace = Find<QPushButton>(*window, "Button2");
    ASSERT_TRUE(replace->isEnabled());
    QTest::mouseClick(replace, Qt::LeftButton);
    EXPECT_EQ(window->Model().Rows()[0].Importance, "4");
    auto* undo = Find<QToolButton>(*window, "SpeedButton1");
    ASSERT_TRUE(undo->isEnabled());
    QTest::mouseClick(undo, Qt::LeftButton);
    EXPECT_EQ(window->Model().Rows()[0].Importance, "0") << "undo reloads the list file";
    EXPECT_EQ(ReadBytes(paths_.ListFilePath), saved);
}

// What an input method commits into the task field reaches the panel in cp932's readings, the
// field keeping what was typed. A character cp932 lacks stays where it was typed, the cursor
// after it, and the status bar names it (Add's refusal is the panel model's). Full-width digits
// count in 進捗.
TEST_F(MainWindowTest, CommittedTextStaysInThePanel)
{
    const auto window = Open();
    window->show();
    auto* task = Find<QPlainTextEdit>(*window, "Memo1");
    const EditPanel& panel = window->Model().Editing().Panel();
    Commit(task, Text("から〜"));
    EXPECT_EQ(panel.Text(PanelField::Task), Sj("から～"));
    Commit(task, Text("😀を"));
    EXPECT_EQ(task->toPlainText(), Text("から〜😀を"));
    EXPECT_EQ(task->textCursor().position(), 6) << "after を (😀 is two UTF-16 units)";
    EXPECT_EQ(window->statusBar()->currentMessage(), Text("「😀」はこの一覧に保存できない文字です"));
    EXPECT_EQ(panel.Unstorable(PanelField::Task), "😀");

    auto* progress = Find<QSpinBox>(*window, "ProgressEdit");
    EXPECT_TRUE(progress->inputMethodQuery(Qt::ImHints).toInt() & Qt::ImhDigitsOnly);
    progress->findChild<QLineEdit*>()->clear();
    Commit(progress, Text("５０"));
    EXPECT_EQ(progress->value(), 50);
    EXPECT_EQ(panel.Text(PanelField::Progress), "50");
}

// The search dialog keeps a text it cannot store, naming the character, until it is changed.
TEST_F(MainWindowTest, TheSearchDialogKeepsATextItCannotStore)
{
    const auto window = Open();
    window->show();
    test::MessageBoxes boxes;
    QStringList refusals;
    QString kept;
    bool stayedOpen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* edit = dialog->findChild<QLineEdit*>();
        edit->clear();
        Commit(edit, Text("から〜"));
        Commit(edit, Text("😀を"));
        dialog->accept();
        refusals = boxes.Take();
        stayedOpen = dialog->isVisible();
        kept = edit->text();
        edit->setText(Text("から〜"));
        dialog->accept();
    });
    Find<QAction>(*window, "Find1")->trigger();
    EXPECT_EQ(refusals, QStringList{Text("「😀」はこの一覧に保存できない文字です")});
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(boxes.Take(), QStringList());
    EXPECT_EQ(kept, Text("から〜😀を"));
    EXPECT_EQ(window->Model().Tabs().SearchText(), Sj("から～"));
}

// Space ticks the list's current row: after Add that is the new row, not the first one.
TEST_F(MainWindowTest, SpaceAfterAddCompletesTheNewRow)
{
    const auto window = Open();
    window->show();
    QApplication::setActiveWindow(window.get());
    Commit(Find<QPlainTextEdit>(*window, "Memo1"), Text("新しい"));
    QTest::mouseClick(Find<QPushButton>(*window, "Button1"), Qt::LeftButton);
    ASSERT_EQ(window->Model().Rows().size(), 3U);
    QTest::keyClick(Find<QTreeView>(*window, "ListView1"), Qt::Key_Space);
    EXPECT_TRUE(window->Model().Rows()[2].Completed);
    EXPECT_FALSE(window->Model().Rows()[0].Completed);
}

// A row's "abc" stays as it is when the drop-down's list holds "ABC" and the user only passes
// through the field: nothing ticks its box either.
TEST_F(MainWindowTest, ADropDownKeepsTheCaseOfItsText)
{
    WriteBytes(paths_.ListFilePath, Sj("2010/05/01 09:00+=03000ABC@\\@#@#一\r\n"
                                       "2010/05/02 09:00+=03000abc@\\@#@#二\r\n"));
    const auto window = Open();
    window->show();
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
}

// Another writer holds the list's lock for a while: the save waits under a busy cursor with the
// window's timers still served, and goes ahead once the lock is free.
TEST_F(MainWindowTest, ASaveWaitingForTheListsLockKeepsTheWindowServed)
{
    const auto window = Open();
    window->show();
    auto* list = Find<QTreeView>(*window, "ListView1");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      QPoint(8, list->visualRect(list->model()->index(0, 0)).center().y()));
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

// Enter confirms a kana conversion; in the drop-downs it must neither add an entry nor run Add.
TEST_F(MainWindowTest, EnterInADropDownAddsNothing)
{
    const auto window = Open();
    window->show();
    auto* executor = Find<QComboBox>(*window, "ComboBox2");
    executor->lineEdit()->setFocus();
    QTest::keyClicks(executor->lineEdit(), QStringLiteral("Sato"));
    QTest::keyClick(executor->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(executor->findText(QStringLiteral("Sato")), -1);
    EXPECT_EQ(window->Model().Rows().size(), 2U);
    EXPECT_EQ(executor->currentText(), QStringLiteral("Sato"));
}

// The calendar button puts the calendar in the list's place around today (2010/05/05); a click
// on the 1st shows that day's to-dos in the day list, a right click turns the bar labels off,
// and the step button moves to June.
// A tap (press and release at once, no paint between them) on a bar row of a day that was not
// the current cell selects the to-do drawn in that row.
TEST_F(MainWindowTest, ATapOnABarRowOfAnotherDaySelectsItsToDo)
{
    WriteBytes(paths_.ListFilePath, Sj("2010/05/10 09:00+=03000@\\@#@#月曜の件\r\n"
                                       "2010/05/04 09:00&2010/05/12 18:00+=03000@\\@#@#長い件\r\n"
                                       "2010/05/11 09:00+=03000@\\@#@#火曜の件\r\n"));
    const auto window = Open();
    window->resize(900, 700);
    window->show();
    Find<QToolButton>(*window, "SpeedButton5")->click();
    auto* grid = Find<QWidget>(*window, "StringGrid1");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QCoreApplication::processEvents();  // the grid shows today, 2010/05/05, as the current cell

    // 05/11 is the Tuesday of the third week (row 3); the long to-do holds row 0 there, the
    // Tuesday one row 1 (row 1 is free again after Monday's single to-do).
    const CalendarGridLayout layout = LayoutCalendarGrid(CalendarMode::Month, grid->width(), grid->height());
    const PixelRect cell = CalendarCellRect(layout, 2, 3);
    const int lineHeight = FontTextMeasure().TextHeight("H", kCalendarPointSize, true) + 2;
    for (const auto& [row, task] : {std::pair{1, "火曜の件"}, std::pair{0, "長い件"}}) {
        const QPoint tap(cell.left + 40, cell.top + lineHeight * (row + 1) + lineHeight / 2);
        QTest::mouseClick(grid, Qt::LeftButton, {}, tap);
        EXPECT_EQ(window->Model().Editing().Panel().Text(PanelField::Task), Sj(task)) << "bar row " << row;
        EXPECT_EQ(window->Model().Calendar().Model().SelectedBarRow(), row);
        // Back to another day, so that the next tap lands on a day that is not current either.
        QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(cell.left - 40, cell.top + 4));
    }
}

TEST_F(MainWindowTest, CalendarTakesTheListsPlaceAndFollowsClicks)
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
    EXPECT_TRUE(calendar->isVisible());
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
    EXPECT_EQ(item.data().toString(), Text("報告書を書く\n提出する"));
    // A click on the item selects its to-do; the list keeps its item while it is clicked.
    QTest::mouseClick(dayList->viewport(), Qt::LeftButton, {}, dayList->visualRect(item).center());
    EXPECT_TRUE(window->Model().Rows()[0].Selected);
    EXPECT_EQ(window->Model().Editing().Panel().Text(PanelField::Executor), Sj("総務"));
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

}  // namespace
}  // namespace dolvane
