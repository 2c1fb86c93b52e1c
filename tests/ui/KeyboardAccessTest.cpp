// What the keyboard and a screen reader reach in the main window and its dialogs.
#include "core/store/Settings.h"
#include "ui/dialogs/TFusenDlg.h"
#include "ui/dialogs/TInputDlg.h"

#include "support/MainWindowFixture.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

namespace dolvane {
namespace {

using test::ReadBytes;
using test::Sj;
using test::WriteBytes;

// What a screen reader reads out for the widget.
QString AccessibleName(QWidget* widget)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face != nullptr ? face->text(QAccessible::Name).trimmed() : QString();
}

// The line editor of a drop-down or a spin box (and a drop-down's list) is part of its owner, which
// is the stop a screen reader names.
bool PartOfAnEditor(const QWidget* widget)
{
    for (const QWidget* up = widget->parentWidget(); up != nullptr; up = up->parentWidget()) {
        if (qobject_cast<const QComboBox*>(up) != nullptr || qobject_cast<const QAbstractSpinBox*>(up) != nullptr) {
            return true;
        }
    }
    return false;
}

// Every widget under `root` that Tab can stop at and that has no name.
QStringList Unnamed(const QWidget& root)
{
    QStringList unnamed;
    for (QWidget* widget : root.findChildren<QWidget*>()) {
        if ((widget->focusPolicy() & Qt::TabFocus) != 0 && !PartOfAnEditor(widget) &&
            AccessibleName(widget).isEmpty()) {
            unnamed << QString::fromLatin1(widget->metaObject()->className()) + QLatin1Char(' ') + widget->objectName();
        }
    }
    return unnamed;
}

std::string Joined(const QStringList& list)
{
    return list.join(QStringLiteral(", ")).toStdString();
}

class KeyboardAccessTest : public test::MainWindowFixture {
protected:
    std::unique_ptr<TVelkDolvane> OpenActive()
    {
        auto window = OpenShown();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        return window;
    }
};

TEST_F(KeyboardAccessTest, EveryFocusableWidgetOfTheWindowAndItsDialogsHasAName)
{
    const auto window = OpenActive();
    EXPECT_EQ(Joined(Unnamed(*window)), "");
    struct Named {
        const char* object;
        const char* name;
    };
    const Named named[] = {
        {"ComboBox1", "重要度"},  {"Edit3", "開始日時"},         {"SpeedButton3", "開始日時を選ぶ"},
        {"Memo1", "すべきこと"},  {"ProgressEdit", "進捗"},      {"NumberEdit1", "完了したToDoの保持日数"},
        {"Button1", "追加"},      {"StringGrid1", "カレンダー"}, {"ListBox1", "選択日のToDo"},
        {"SpeedButton7", "戻る"}, {"ListView1", "ToDoリスト"},
    };
    for (const Named& n : named) {
        EXPECT_EQ(AccessibleName(Find(*window, n.object)).toStdString(), n.name) << n.object;
    }

    // The list's cells still read out their text and their check box.
    QAccessibleTableInterface* table =
        QAccessible::queryAccessibleInterface(Find(*window, "ListView1"))->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->cellAt(0, 3)->text(QAccessible::Name).toStdString(), "総務");
    EXPECT_TRUE(table->cellAt(1, 0)->state().checked) << "the completed row";

    const auto unnamedIn = [](QDialog& dialog) {
        EXPECT_EQ(Joined(Unnamed(dialog)), "") << dialog.windowTitle().toStdString();
        dialog.reject();
    };
    for (const CellEditorKind kind : {CellEditorKind::DateTime, CellEditorKind::Choice, CellEditorKind::Task,
                                      CellEditorKind::Progress, CellEditorKind::Warning}) {
        CellEditRequest request;
        request.kind = kind;
        request.label = Sj(" 開始");
        request.pickerCaption = Sj("開始日時の設定");
        EditCell(nullptr, request, unnamedIn);
    }
    PickDateTime(nullptr, "", QStringLiteral("開始日時の設定"), DateTime{40300.0}, unnamedIn);
    EditSettings(nullptr, Settings{}, unnamedIn);
    ChooseStickyNoteFields(nullptr, unnamedIn);
}

// The panel's stops read the screen row by row, the fields before the commands; include boxes
// come before their fields, and an editor inside a drop-down or a spin box is its owner's stop.
TEST_F(KeyboardAccessTest, TheTabOrderOfThePanelFollowsTheScreen)
{
    const auto window = OpenActive();
    QWidget* panel = Find(*window, "Panel1");
    QWidget* first = Find(*panel, "CheckBox1");
    QStringList order;
    QWidget* widget = first;
    do {
        if (panel->isAncestorOf(widget) && (widget->focusPolicy() & Qt::TabFocus) != 0 && !PartOfAnEditor(widget)) {
            order << widget->objectName();
        }
        widget = widget->nextInFocusChain();
    } while (widget != first && order.size() < 100);
    EXPECT_EQ(Joined(order),
              "CheckBox1, Edit3, SpeedButton3, CheckBox2, ComboBox1, CheckBox3, ComboBox2, CheckBox5, "
              "ComboBox3, SpeedButton5, SpeedButton6, SpeedButton7, SpeedButton8, SpeedButton9, CheckBox8, "
              "Edit4, SpeedButton4, CheckBox10, Edit2, SpeedButton2, CheckBox7, ProgressEdit, CheckBox6, "
              "NumberEdit2, ComboBox4, NumberEdit1, CheckBox9, CheckBox4, Memo1, Button1, Button2, Button3, "
              "SpeedButton1");
}

// 追加, 置換 and 適用 answer to Alt and a letter no menu of the menu bar uses (an item's letter
// acts only inside its open menu); Ctrl+S does nothing while 適用 is disabled (a save would
// rewrite the file, moving the line without "=" after the rows).
TEST_F(KeyboardAccessTest, ButtonMnemonicsAndCtrlS)
{
    const std::string file = "no fields here\r\n2010/05/01 09:00+=03000@\\@#@#task\r\n";
    WriteBytes(paths_.ListFilePath, file);
    const auto window = OpenActive();
    QList<QKeySequence> menuKeys;
    for (const QAction* action : window->menuBar()->actions()) {
        menuKeys << QKeySequence::mnemonic(action->text());
    }
    menuKeys.removeAll(QKeySequence());
    QList<QKeySequence> buttonKeys;
    for (const char* name : {"Button1", "Button2", "Button3"}) {
        const QKeySequence key = QKeySequence::mnemonic(Find<QPushButton>(*window, name)->text());
        EXPECT_FALSE(key.isEmpty()) << name;
        EXPECT_FALSE(menuKeys.contains(key) || buttonKeys.contains(key)) << name << " " << key.toString().toStdString();
        buttonKeys << key;
    }

    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(ReadBytes(paths_.ListFilePath), file);
}

// The list's pop-up menu is a window of its own: its hints are shown in the main window's status
// bar all the same, and go with it.
TEST_F(KeyboardAccessTest, PopUpMenuHintsReachTheStatusBar)
{
    const auto window = OpenActive();
    auto* list = Find<QTreeView>(*window, "ListView1");
    QString shown;
    QTimer::singleShot(0, [&window, &shown] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        menu->setActiveAction(menu->findChild<QAction*>(QStringLiteral("CSV1")));
        shown = window->statusBar()->currentMessage();
        menu->close();
    });
    Q_EMIT list->customContextMenuRequested(QPoint(20, 5));
    EXPECT_EQ(shown.toStdString(), "選択したリストの内容を書き出す");
    EXPECT_EQ(window->statusBar()->currentMessage().toStdString(), "");
}

}  // namespace
}  // namespace dolvane
