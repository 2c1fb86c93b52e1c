// The main menu's file commands and the sticky-note dialog, as the window wires them.
#include "ui/MainWindow.h"
#include "ui/dialogs/TFusenDlg.h"

#include "support/MainWindowFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QDesktopServices>
#include <QMenu>
#include <QObject>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

namespace dolvane {
namespace {

// Stands in for the desktop's handler of file URLs.
class UrlRecorder final : public QObject {
    Q_OBJECT

public:
    Q_INVOKABLE void open(const QUrl& url) { urls.push_back(url); }
    std::vector<QUrl> urls;
};

class MenuCommandsTest : public test::MainWindowFixture {};

TEST_F(MenuCommandsTest, HelpOpensThePageBesideTheProgramThroughTheDesktop)
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
TEST_F(MenuCommandsTest, TheFileAndToolMenusLookAgainEachTimeTheyOpen)
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

TEST_F(MenuCommandsTest, TheStickyNoteDialogOpensWithItsDefaultsEveryTime)
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
            QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("OKBtn")), Qt::LeftButton);
        });
        ASSERT_TRUE(fields.has_value());
        const StickyNoteFields expected =
            tickAll ? StickyNoteFields{true, true, true, true, false} : StickyNoteFields{};
        EXPECT_EQ(*fields, expected);
    }
    const auto cancelled = ChooseStickyNoteFields(nullptr, [](TFusenDlg& dialog) {
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("CancelBtn")), Qt::LeftButton);
    });
    EXPECT_FALSE(cancelled.has_value());
}

}  // namespace
}  // namespace dolvane

#include "MenuCommandsTest.moc"
