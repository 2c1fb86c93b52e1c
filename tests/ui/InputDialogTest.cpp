#include "ui/dialogs/TInputDlg.h"

#include "support/Sjis.h"
#include "support/TypedInput.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

namespace dolvane {
namespace {

using test::Commit;
using test::Sj;

CellEditRequest Request(CellEditorKind kind, std::string value)
{
    CellEditRequest request;
    request.kind = kind;
    request.label = Sj(" 警告");
    request.value = std::move(value);
    return request;
}

void Press(TInputDlg& dialog, const char* button)
{
    QTest::mouseClick(dialog.findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
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

}  // namespace
}  // namespace dolvane
