#include "ui/dialogs/TFusenDlg.h"

#include "core/store/Settings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCursor>
#include <QFrame>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace dolvane {
namespace {

void Press(TFusenDlg& dialog, const char* button)
{
    QTest::mouseClick(dialog.findChild<QPushButton*>(QString::fromUtf8(button)), Qt::LeftButton);
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
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("設定"));
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

// Any button edits the colour under the pointer (the left one is driven on a real X server,
// tests/e2e/menu_dialogs.sh, as are the tab positions and the other boxes); Cancel keeps
// everything even after a colour was chosen.
TEST(SettingsDialogTest, PressOnTheBarEditsTheColourUnderThePointer)
{
    struct Case {
        bool open;
        QPoint at;  // in the bar
        Qt::MouseButton button;
        const char* hint;
        const char* title;
        QColor initial;
        std::optional<Settings> after;  // nothing: closed with Cancel
    };
    const Settings defaults;  // fill red 0x0000FF, frame green 0x008000
    Settings newFill = defaults;
    newFill.BarFillColor = 0x563412;
    Settings newFrame = defaults;
    newFrame.BarFrameColor = 0x563412;
    const std::vector<Case> cases{
        {false, {94, 1}, Qt::RightButton, "枠の色", "枠の色を変更", QColor(0, 128, 0), newFrame},
        {true, {94, 8}, Qt::MiddleButton, "進捗率の色", "進捗率の色を変更", QColor(255, 0, 0), newFill},
        {true, {94, 8}, Qt::RightButton, "進捗率の色", "進捗率の色を変更", QColor(255, 0, 0), std::nullopt},
    };
    for (const Case& c : cases) {
        QColor initial;
        QString title;
        const auto edited = EditSettings(nullptr, defaults, [&](TFusenDlg& dialog) {
            Show(dialog);
            dialog.SetColourChooser([&](QColor start, const QString& caption) {
                initial = start;
                title = caption;
                return QColor(0x12, 0x34, 0x56);
            });
            dialog.HoverAt(c.open ? BarFrame(dialog).center() : QPoint(0, 0));
            QTest::mouseMove(Bar(dialog), c.at);
            EXPECT_EQ(Bar(dialog)->toolTip(), QString::fromUtf8(c.hint));
            QTest::mousePress(Bar(dialog), c.button, {}, c.at);
            Press(dialog, c.after ? "OKBtn" : "CancelBtn");
        });
        const std::string where = std::to_string(c.at.x()) + ',' + std::to_string(c.at.y());
        EXPECT_EQ(title, QString::fromUtf8(c.title)) << where;
        EXPECT_EQ(initial, c.initial) << where;
        EXPECT_EQ(edited, c.after) << where;
    }
}

}  // namespace
}  // namespace dolvane
