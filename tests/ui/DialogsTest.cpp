// The program's dialogs on the offscreen platform, each driven through the hook that stands in for
// its exec(): the cell editor, and the three layouts of TFusenDlg (settings, date picker, sticky
// note).
#include "ui/dialogs/TFusenDlg.h"
#include "ui/dialogs/TInputDlg.h"

#include "core/store/Settings.h"
#include "core/time/TimeTexts.h"

#include "support/Sjis.h"
#include "support/TypedInput.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace dolvane {
namespace {

using test::Commit;
using test::Sj;

void Press(QDialog& dialog, const char* button)
{
    QTest::mouseClick(dialog.findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
}

CellEditRequest Request(CellEditorKind kind, std::string value)
{
    CellEditRequest request;
    request.kind = kind;
    request.label = Sj(" 警告");
    request.value = std::move(value);
    return request;
}

// The warning editor: the hours of the cell with their preview, a preset replaces both, OK gives
// the hours as a decimal text.
TEST(InputDialogTest, WarningPresetSetsTheHoursAndThePreview)
{
    QString before;
    QString after;
    const auto text = EditCell(nullptr, Request(CellEditorKind::Warning, "48"), [&](TInputDlg& dialog) {
        before = dialog.findChild<QLabel*>(QStringLiteral("StaticText1"))->text();
        auto* presets = dialog.findChild<QComboBox*>(QStringLiteral("ComboBox2"));
        presets->setCurrentIndex(1);
        Q_EMIT presets->activated(1);  // "1週間", as a user's choice sends it
        after = dialog.findChild<QLabel*>(QStringLiteral("StaticText1"))->text();
        Press(dialog, "OKBtn");
    });
    EXPECT_EQ(before, QStringLiteral(" 2日"));
    EXPECT_EQ(after, QStringLiteral(" 7日"));
    EXPECT_EQ(text, std::optional<std::string>("168"));
}

// Values the editors cannot show as numbers start at 0; Cancel gives nothing; an untouched text
// comes back as its own bytes, even when they are no valid cp932; a typed task's line breaks are
// written as the record holds them; full-width digits an input method commits count as a number.
TEST(InputDialogTest, EditorsStartFromTheCellAndGiveWhatTheyHold)
{
    struct Case {
        const char* what;
        CellEditorKind kind;
        std::string value;
        const char* typed;  // into the task editor, or committed into the number's; nullptr for none
        const char* button;
        std::optional<std::string> result;
    };
    const Case cases[] = {
        {"progress not a number", CellEditorKind::Progress, "abc", nullptr, "OKBtn", "0"},
        {"warning not a number", CellEditorKind::Warning, "", nullptr, "OKBtn", "0"},
        {"cancel", CellEditorKind::Choice, "3", nullptr, "CancelBtn", std::nullopt},
        {"an untouched broken task", CellEditorKind::Task, "a\x81", nullptr, "OKBtn", "a\x81"},
        {"an untouched two-line task", CellEditorKind::Task, Sj("一\r\n二"), nullptr, "OKBtn", Sj("一\r\n二")},
        {"a typed two-line task", CellEditorKind::Task, "x", "一\n二", "OKBtn", Sj("一\r\n二")},
        {"full-width progress", CellEditorKind::Progress, "10", "５０", "OKBtn", "50"},
        {"full-width warning", CellEditorKind::Warning, "10", "５０", "OKBtn", "50"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(EditCell(nullptr, Request(c.kind, c.value),
                           [&](TInputDlg& dialog) {
                               auto* spin = dialog.findChild<QSpinBox*>();
                               if (c.typed != nullptr && spin != nullptr) {
                                   EXPECT_TRUE(spin->inputMethodHints() & Qt::ImhDigitsOnly);
                                   spin->findChild<QLineEdit*>()->clear();
                                   Commit(spin, QString::fromUtf8(c.typed));
                               } else if (c.typed != nullptr) {
                                   dialog.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))
                                       ->setPlainText(QString::fromUtf8(c.typed));
                               }
                               Press(dialog, c.button);
                           }),
                  c.result);
    }
}

// What an input method commits: cp932's readings of the wave dash. OK refuses a character the
// list cannot store, naming it; the text and the cursor stay.
TEST(InputDialogTest, CommittedTextIsKeptUntilItCanBeStored)
{
    test::MessageBoxes boxes;
    QStringList refusals;
    QString kept;
    int cursor = -1;
    const auto task = EditCell(nullptr, Request(CellEditorKind::Task, "x"), [&](TInputDlg& dialog) {
        auto* memo = dialog.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
        memo->selectAll();
        Commit(memo, QStringLiteral("から〜"));
        Commit(memo, QStringLiteral("😀を"));
        Press(dialog, "OKBtn");
        refusals = boxes.Take();
        kept = memo->toPlainText();
        cursor = memo->textCursor().position();
        memo->setPlainText(QStringLiteral("から〜を"));
        Press(dialog, "OKBtn");
    });
    EXPECT_EQ(refusals, QStringList{QStringLiteral("「😀」はこの一覧に保存できない文字です")});
    EXPECT_EQ(boxes.Take(), QStringList());
    EXPECT_EQ(kept, QStringLiteral("から〜😀を"));
    EXPECT_EQ(cursor, 6);
    EXPECT_EQ(task, std::optional<std::string>(Sj("から～を")));
}

QWidget* Bar(TFusenDlg& dialog)
{
    return dialog.findChild<QWidget*>(QStringLiteral("Shape1"));
}

QRect BarFrame(TFusenDlg& dialog)
{
    return dialog.findChild<QFrame*>(QStringLiteral("Bevel2"))->geometry();
}

// Shown, so that the layout has placed Bevel2 and the radio buttons take clicks where they are.
void Show(TFusenDlg& dialog)
{
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
}

// The dialog opens on the settings it is given (the colours as the bar shows them) and gives
// back what was clicked, passing the rest through.
TEST(SettingsDialogTest, OkGivesTheEditedValuesAndPassesTheRestThrough)
{
    const Settings before{30, TabPosition::Right, TabPosition::Top, false, true, 0x123456, 0xABCDEF, false};
    const auto edited = EditSettings(nullptr, before, [](TFusenDlg& dialog) {
        Show(dialog);
        EXPECT_EQ(dialog.height(), 297);
        EXPECT_FALSE(dialog.RemindersBox()->isChecked());
        EXPECT_EQ(dialog.MainTabButtons()->checkedId(), static_cast<int>(TabPosition::Right));
        EXPECT_EQ(dialog.CategoryTabButtons()->checkedId(), static_cast<int>(TabPosition::Top));
        EXPECT_EQ(dialog.BarFill(), QColor(0x56, 0x34, 0x12));
        EXPECT_EQ(dialog.BarFrame(), QColor(0xEF, 0xCD, 0xAB));
        QTest::mouseClick(dialog.WeekStepBox(), Qt::LeftButton);
        Press(dialog, "OKBtn");
    });
    const Settings after{30, TabPosition::Right, TabPosition::Top, false, false, 0x123456, 0xABCDEF, false};
    EXPECT_EQ(edited, std::optional<Settings>(after));
}

// The hover timer reads the pointer: inside the frame by a pixel the bar opens, on the frame's
// left edge it closes again (the rule itself is the colour bar's).
TEST(SettingsDialogTest, TheBarOpensWhileThePointerIsStrictlyInsideItsFrame)
{
    EditSettings(nullptr, Settings{}, [](TFusenDlg& dialog) {
        Show(dialog);
        const QWidget* panel = dialog.findChild<QWidget*>(QStringLiteral("Panel1"));
        const QRect frame = BarFrame(dialog);
        struct Case {
            QPoint at;
            int height;
            int outline;
        };
        for (const Case& c :
             {Case{frame.topLeft() + QPoint(1, 1), 17, 5}, {QPoint(frame.left(), frame.center().y()), 3, 1}}) {
            QCursor::setPos(panel->mapToGlobal(c.at));
            EXPECT_TRUE(QTest::qWaitFor([&] { return Bar(dialog)->height() == c.height; }, 2000)) << c.height;
            EXPECT_EQ(dialog.BarOutline(), c.outline);
            EXPECT_TRUE(frame.contains(Bar(dialog)->geometry().translated(frame.topLeft())));
        }
        dialog.reject();
    });
}

// Any button edits the colour under the pointer (the left one, the chooser's captions, the tab
// positions and the other boxes are driven on a real X server, tests/e2e/menu_dialogs.sh); Cancel
// keeps everything even after a colour was chosen.
TEST(SettingsDialogTest, PressOnTheBarEditsTheColourUnderThePointer)
{
    struct Case {
        bool open;
        QPoint at;  // in the bar
        Qt::MouseButton button;
        const char* hint;
        QColor initial;
        std::optional<Settings> after;  // nothing: closed with Cancel
    };
    const Settings defaults;  // fill red 0x0000FF, frame green 0x008000
    Settings newFill = defaults;
    newFill.BarFillColor = 0x563412;
    Settings newFrame = defaults;
    newFrame.BarFrameColor = 0x563412;
    const std::vector<Case> cases{
        {false, {94, 1}, Qt::RightButton, "枠の色", QColor(0, 128, 0), newFrame},
        {true, {94, 8}, Qt::MiddleButton, "進捗率の色", QColor(255, 0, 0), newFill},
        {true, {94, 8}, Qt::RightButton, "進捗率の色", QColor(255, 0, 0), std::nullopt},
    };
    for (const Case& c : cases) {
        QColor initial;
        const auto edited = EditSettings(nullptr, defaults, [&](TFusenDlg& dialog) {
            Show(dialog);
            dialog.SetColourChooser([&](QColor start, const QString& /*caption*/) {
                initial = start;
                return QColor(0x12, 0x34, 0x56);
            });
            dialog.HoverAt(c.open ? BarFrame(dialog).center() : QPoint(0, 0));
            QTest::mouseMove(Bar(dialog), c.at);
            EXPECT_EQ(Bar(dialog)->toolTip(), QString::fromUtf8(c.hint));
            QTest::mousePress(Bar(dialog), c.button, {}, c.at);
            Press(dialog, c.after ? "OKBtn" : "CancelBtn");
        });
        const std::string where = std::to_string(c.at.x()) + ',' + std::to_string(c.at.y());
        EXPECT_EQ(initial, c.initial) << where;
        EXPECT_EQ(edited, c.after) << where;
    }
}

TEST(PickerTest, ButtonsAndClearBoxDecideTheFieldText)
{
    struct Case {
        const char* caption;
        bool tick;  // of the clear box
        const char* button;
        const char* result;
        bool clearShown;
    };
    const std::vector<Case> cases{
        {"期限日時の設定", false, "OKBtn", "2010/05/03 14:30", true},
        {"完了日時の設定", true, "OKBtn", "", true},
        {"期限日時の設定", true, "CancelBtn", "2010/05/03 14:30", true},
        {"開始日時の設定", false, "OKBtn", "2010/05/03 14:30", false},
    };
    for (const Case& c : cases) {
        bool clearShown = false;
        const auto pressed = [&](TFusenDlg& dialog) {
            auto* clearBox = dialog.findChild<QCheckBox*>(QStringLiteral("CheckBox6"));
            clearShown = !clearBox->isHidden();
            clearBox->setChecked(c.tick);
            Press(dialog, c.button);
        };
        const auto text = PickDateTime(nullptr, "2010/05/03 14:30", QString::fromUtf8(c.caption),
                                       ParseDateTimeText("2011/01/02 03:04"), pressed);
        EXPECT_EQ(text, std::optional<std::string>(c.result)) << c.caption << ' ' << c.button;
        EXPECT_EQ(clearShown, c.clearShown) << c.caption;
    }
}

TEST(StickyNoteDialogTest, OpensWithItsDefaultsEveryTime)
{
    for (const bool tickAll : {true, false}) {
        const auto fields = ChooseStickyNoteFields(nullptr, [tickAll](TFusenDlg& dialog) {
            EXPECT_EQ(dialog.windowTitle(), QStringLiteral("付箋の作成"));
            for (int box = 1; box <= 5; ++box) {
                ASSERT_NE(dialog.StickyNoteBox(box), nullptr);
                EXPECT_EQ(dialog.StickyNoteBox(box)->isChecked(), box == 5) << box;
                if (tickAll) {
                    dialog.StickyNoteBox(box)->setChecked(box != 5);
                }
            }
            Press(dialog, "OKBtn");
        });
        ASSERT_TRUE(fields.has_value());
        const StickyNoteFields expected =
            tickAll ? StickyNoteFields{true, true, true, true, false} : StickyNoteFields{};
        EXPECT_EQ(*fields, expected);
    }
    const auto cancelled = ChooseStickyNoteFields(nullptr, [](TFusenDlg& dialog) { Press(dialog, "CancelBtn"); });
    EXPECT_FALSE(cancelled.has_value());
}

}  // namespace
}  // namespace dolvane
