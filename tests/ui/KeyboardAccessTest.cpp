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
#include <QPlainTextEdit>
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
    // One open to-do: importance 3, progress 50, executor Sato, category work, task "task".
    std::unique_ptr<TVelkDolvane> OpenActive(const std::string& list = "2010/05/01 09:00&2010/05/10 18:00+24="
                                                                       "03050Sato@\\@work#@#task\r\n")
    {
        WriteBytes(paths_.ListFilePath, list);
        auto window = Open();
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        return window;
    }

    template <typename T = QWidget> static T* Find(const QWidget& root, const char* name)
    {
        auto* widget = root.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
};

TEST_F(KeyboardAccessTest, EveryFocusableWidgetOfTheWindowAndItsDialogsHasAName)
{
    const auto window = OpenActive("2010/05/01 09:00&2010/05/10 18:00+24=03050Sato@\\@work#@#task\r\n"
                                   "2010/05/02 10:00|2010/05/03 11:00+=15100@\\@#@#done\r\n");
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
    EXPECT_EQ(table->cellAt(0, 3)->text(QAccessible::Name).toStdString(), "Sato");
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

// Tab moves on from a task field (in the panel to 追加, in the cell dialog to OK) and types nothing.
TEST_F(KeyboardAccessTest, TabLeavesTheTaskFields)
{
    const auto window = OpenActive();
    auto* memo = Find<QPlainTextEdit>(*window, "Memo1");
    memo->setFocus();
    QTest::keyClicks(memo, QStringLiteral("a"));
    QTest::keyClick(memo, Qt::Key_Tab);
    EXPECT_EQ(memo->toPlainText().toStdString(), "a");
    EXPECT_EQ(window->focusWidget(), Find(*window, "Button1"));

    CellEditRequest request;
    request.kind = CellEditorKind::Task;
    request.value = "task";
    const auto result = EditCell(window.get(), request, [](TInputDlg& dialog) {
        auto* dialogMemo = Find<QPlainTextEdit>(dialog, "Memo1");
        dialogMemo->setFocus();
        QTest::keyClick(dialogMemo, Qt::Key_Tab);
        EXPECT_EQ(dialog.focusWidget(), Find(dialog, "OKBtn"));
        dialog.accept();
    });
    EXPECT_EQ(result, std::optional<std::string>("task"));
}

// The panel's stops read the screen row by row, the fields before the commands; include boxes
// come before their fields, and an editor inside a drop-down or a spin box is its owner's stop.
TEST_F(KeyboardAccessTest, ThePanelsTabOrderFollowsTheScreen)
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

// F2 and Return are the keyboard's double click: they open the cell dialog on the current column,
// which Left and Right move along the row. The computed time columns open nothing.
TEST_F(KeyboardAccessTest, F2AndReturnEditTheCurrentCell)
{
    const auto window = OpenActive();
    auto* list = Find<QTreeView>(*window, "ListView1");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(0, 3)).center());
    struct Step {
        std::vector<Qt::Key> keys;
        const char* editor;  // the dialog's editor, "" for no dialog
        const char* value;
    };
    const Step steps[] = {
        {{Qt::Key_F2}, "ComboBox1", "Sato"},
        {{Qt::Key_Left, Qt::Key_Return}, "ComboBox1", "3"},
        {{Qt::Key_Right, Qt::Key_Right, Qt::Key_Enter}, "Memo1", "task"},
        {{Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_F2}, "", ""},
        {{Qt::Key_Left, Qt::Key_Left, Qt::Key_Left, Qt::Key_F2}, "Memo1", "done"},
    };
    for (const Step& step : steps) {
        QString editor;
        QString value;
        QTimer::singleShot(0, [&editor, &value] {
            auto* dialog = qobject_cast<TInputDlg*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                return;
            }
            if (auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("ComboBox1"))) {
                editor = combo->objectName();
                value = combo->currentText();
                dialog->reject();
            } else if (auto* memo = dialog->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))) {
                editor = memo->objectName();
                value = memo->toPlainText();
                memo->setPlainText(QStringLiteral("done"));
                dialog->accept();
            }
        });
        for (const Qt::Key key : step.keys) {
            QTest::keyClick(list, key);
        }
        QCoreApplication::processEvents();
        EXPECT_EQ(editor.toStdString(), step.editor) << step.keys.size() << " keys";
        EXPECT_EQ(value.toStdString(), step.value) << step.keys.size() << " keys";
    }
    EXPECT_EQ(window->Model().Rows()[0].TaskText, "done");
    EXPECT_TRUE(window->Model().State().UnsavedChanges);
}

// 追加, 置換 and 適用 answer to Alt and a letter no menu uses; Ctrl+S saves, but only while 適用
// is enabled (a save rewrites the file, moving the line without "=" after the rows).
TEST_F(KeyboardAccessTest, ButtonMnemonicsAndCtrlS)
{
    const std::string file = "no fields here\r\n2010/05/01 09:00+=03000@\\@#@#task\r\n";
    const auto window = OpenActive(file);
    QList<QKeySequence> menuKeys;
    for (const QAction* action : window->menuBar()->actions()) {
        menuKeys << QKeySequence::mnemonic(action->text());
    }
    for (const QMenu* menu : window->findChildren<QMenu*>()) {
        for (const QAction* action : menu->actions()) {
            menuKeys << QKeySequence::mnemonic(action->text());
        }
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
    EXPECT_EQ(ReadBytes(paths_.ListFilePath), file) << "nothing to apply";
    Find<QPlainTextEdit>(*window, "Memo1")->setPlainText(QStringLiteral("new"));
    QTest::keySequence(window.get(), buttonKeys[0]);  // the button shows itself pressed first
    ASSERT_TRUE(QTest::qWaitFor([&window] { return window->Model().Rows().size() == 2; })) << "Add's mnemonic";
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_NE(ReadBytes(paths_.ListFilePath).find("#@#new\r\n"), std::string::npos) << "applied";
    EXPECT_FALSE(window->Model().State().UnsavedChanges);
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
