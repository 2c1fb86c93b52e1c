#include "ui/dialogs/TFusenDlg.h"

#include "core/store/Settings.h"

#include <QAbstractButton>
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

// On the indicator: a radio button takes clicks only on its indicator and caption, and its
// middle lies past the caption when the group spreads its items apart.
void Choose(QButtonGroup* group, int id)
{
    QAbstractButton* button = group->button(id);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
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
        Choose(dialog.MainTabButtons(), 2);
        Choose(dialog.CategoryTabButtons(), 1);
        for (QAbstractButton* box : {dialog.CaseSensitiveBox(), dialog.WeekStepBox(), dialog.RemindersBox()}) {
            QTest::mouseClick(box, Qt::LeftButton);
        }
        Press(dialog, "OKBtn");
    });
    const Settings after{30, TabPosition::Left, TabPosition::Bottom, true, false, 0x123456, 0xABCDEF, true};
    EXPECT_EQ(edited, std::optional<Settings>(after));
}

TEST(SettingsDialogTest, CancelKeepsEverythingEvenAfterColoursWereChosen)
{
    const auto edited = EditSettings(nullptr, Settings{}, [](TFusenDlg& dialog) {
        Show(dialog);
        dialog.SetColourChooser([](QColor, const QString&) { return QColor(1, 2, 3); });
        Choose(dialog.MainTabButtons(), 3);
        QTest::mousePress(Bar(dialog), Qt::LeftButton, {}, QPoint(94, 1));
        dialog.HoverAt(BarFrame(dialog).center());
        QTest::mousePress(Bar(dialog), Qt::LeftButton, {}, QPoint(94, 8));
        EXPECT_EQ(dialog.BarFill(), QColor(1, 2, 3));
        EXPECT_EQ(dialog.BarFrame(), QColor(1, 2, 3));
        Press(dialog, "CancelBtn");
    });
    EXPECT_FALSE(edited.has_value());
}

TEST(SettingsDialogTest, BarOpensOnlyWhileThePointerIsStrictlyInsideItsFrame)
{
    EditSettings(nullptr, Settings{}, [](TFusenDlg& dialog) {
        Show(dialog);
        const QRect frame = BarFrame(dialog);
        struct Case {
            QPoint at;
            bool open;
        };
        const int middleY = frame.center().y();
        // Inside by a pixel, and on the frame's left edge (the rule itself is the colour bar's).
        for (const Case& c : {Case{frame.topLeft() + QPoint(1, 1), true}, {QPoint(frame.left(), middleY), false}}) {
            dialog.HoverAt(c.at);
            EXPECT_EQ(Bar(dialog)->height(), c.open ? 17 : 3) << c.at.x() << ',' << c.at.y();
            EXPECT_EQ(dialog.BarOutline(), c.open ? 5 : 1) << c.at.x() << ',' << c.at.y();
            EXPECT_TRUE(frame.contains(Bar(dialog)->geometry().translated(frame.topLeft())));
        }
        dialog.reject();
    });
}

TEST(SettingsDialogTest, TimerFollowsThePointerInAndOutOfTheFrame)
{
    EditSettings(nullptr, Settings{}, [](TFusenDlg& dialog) {
        Show(dialog);
        const QWidget* panel = dialog.findChild<QWidget*>(QStringLiteral("Panel1"));
        QCursor::setPos(panel->mapToGlobal(BarFrame(dialog).center()));
        EXPECT_TRUE(QTest::qWaitFor([&] { return Bar(dialog)->height() == 17; }, 2000));
        QCursor::setPos(panel->mapToGlobal(QPoint(0, 0)));
        EXPECT_TRUE(QTest::qWaitFor([&] { return Bar(dialog)->height() == 3; }, 2000));
        dialog.reject();
    });
}

TEST(SettingsDialogTest, PressOnTheBarEditsTheColourUnderThePointer)
{
    struct Case {
        bool open;
        QPoint at;  // in the bar
        Qt::MouseButton button;
        const char* hint;
        const char* title;
        QColor initial;
        Settings after;
    };
    const Settings defaults;  // fill red 0x0000FF, frame green 0x008000
    Settings newFill = defaults;
    newFill.BarFillColor = 0x563412;
    Settings newFrame = defaults;
    newFrame.BarFrameColor = 0x563412;
    const std::vector<Case> cases{
        {false, {94, 1}, Qt::LeftButton, "枠の色", "枠の色を変更", QColor(0, 128, 0), newFrame},
        {false, {94, 1}, Qt::RightButton, "枠の色", "枠の色を変更", QColor(0, 128, 0), newFrame},
        {true, {94, 8}, Qt::LeftButton, "進捗率の色", "進捗率の色を変更", QColor(255, 0, 0), newFill},
        {true, {5, 8}, Qt::MiddleButton, "枠の色", "枠の色を変更", QColor(0, 128, 0), newFrame},
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
            Press(dialog, "OKBtn");
        });
        const std::string where = std::to_string(c.at.x()) + ',' + std::to_string(c.at.y());
        EXPECT_EQ(title, QString::fromUtf8(c.title)) << where;
        EXPECT_EQ(initial, c.initial) << where;
        EXPECT_EQ(edited, std::optional<Settings>(c.after)) << where;
    }
}

}  // namespace
}  // namespace dolvane
