// A tab change with unsaved changes, through the real window and a real question box: the tab row
// shows the old tab while the question is open, and only Yes moves it.
#include "ui/MainWindow.h"
#include "ui/widgets/TabRow.h"

#include "support/DiskFiles.h"
#include "support/FakePorts.h"
#include "support/Sjis.h"
#include "support/TempFolder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

namespace dolvane {
namespace {

using test::Sj;
using test::WriteBytes;

class TabChangeTest : public testing::Test {
protected:
    TabChangeTest()
    {
        paths_ = DeriveProgramPaths(folder_.Path() / "program", "aki", folder_.Path() / "opt");
        std::filesystem::create_directories(paths_.ListFilePath.parent_path());
        WriteBytes(paths_.ListFilePath, Sj("+=00000@\\@仕事#@#a\r\n+=10000@\\@#@#b\r\n+=00000@\\@家庭#@#c\r\n"));
        sibling_.running = false;
        window_ = std::make_unique<TVelkDolvane>(
            MainWindowServices{paths_, clock_, sibling_, test::DiskFiles(), nullptr, {}});
        window_->show();
        tabs_ = window_->findChild<TabRow*>(QStringLiteral("TabControl1"));
        list_ = window_->findChild<QTreeView*>(QStringLiteral("ListView1"));
    }

    // Ticks the first row's box: an unsaved change.
    void Tick()
    {
        const int middle = list_->visualRect(list_->model()->index(0, 0)).center().y();
        QTest::mouseClick(list_->viewport(), Qt::LeftButton, {}, QPoint(8, middle));
        ASSERT_TRUE(window_->Model().State().UnsavedChanges);
    }

    // Clicks main tab `tab`; the question that follows is answered with `button` after the tab
    // row's current index has been noted as it stands while the question is open.
    int ClickTabAnswering(int tab, QMessageBox::StandardButton button)
    {
        int indexWhileAsked = -2;
        QTimer::singleShot(0, [this, button, &indexWhileAsked] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            QCoreApplication::processEvents();
            indexWhileAsked = tabs_->currentIndex();
            box->button(button)->click();
        });
        QTest::mouseClick(tabs_, Qt::LeftButton, {}, tabs_->TabArea(tab).center());
        return indexWhileAsked;
    }

    test::TempFolder folder_;
    ProgramPaths paths_;
    test::FixedClock clock_;
    test::FakeSibling sibling_;
    std::unique_ptr<TVelkDolvane> window_;
    TabRow* tabs_ = nullptr;
    QTreeView* list_ = nullptr;
};

TEST_F(TabChangeTest, NoLeavesTheTabRowTheRowsAndTheChangesAsTheyWere)
{
    ASSERT_NE(tabs_, nullptr);
    Tick();
    QSignalSpy changed(tabs_, &QTabBar::currentChanged);

    EXPECT_EQ(ClickTabAnswering(3, QMessageBox::No), 0) << "the question comes before the tab row moves";
    EXPECT_EQ(changed.count(), 0) << "nothing to put back";
    EXPECT_EQ(tabs_->currentIndex(), 0);
    EXPECT_EQ(window_->Model().Tabs().CurrentTab(), MainTab::All);
    ASSERT_EQ(window_->Model().Rows().size(), 3U);
    EXPECT_TRUE(window_->Model().Rows()[0].Completed);
    EXPECT_TRUE(window_->Model().State().UnsavedChanges);

    EXPECT_EQ(ClickTabAnswering(3, QMessageBox::Yes), 0);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(tabs_->currentIndex(), 3);
    EXPECT_EQ(window_->Model().Rows().size(), 2U) << "the open rows of the file; the tick is gone";
    EXPECT_FALSE(window_->Model().State().UnsavedChanges);
}

TEST_F(TabChangeTest, WithoutChangesATabSwitchesAtOnce)
{
    ASSERT_NE(tabs_, nullptr);
    QSignalSpy changed(tabs_, &QTabBar::currentChanged);
    QTest::mouseClick(tabs_, Qt::LeftButton, {}, tabs_->TabArea(4).center());
    EXPECT_EQ(tabs_->currentIndex(), 4);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(window_->Model().Rows().size(), 1U);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace dolvane
