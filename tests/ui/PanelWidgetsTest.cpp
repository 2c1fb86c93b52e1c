#include "ui/MainWindow.h"
#include "ui/widgets/ButtonGlyph.h"

#include "support/FakePorts.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QStyle>
#include <QTest>

#include <gtest/gtest.h>

namespace dolvane {
namespace {

TEST(ButtonGlyphTest, SixteenSquarePixelsOnTheBackground)
{
    const QColor face(10, 20, 30);
    const QImage empty = MakeButtonGlyph(QApplication::style(), 99, face).toImage();
    ASSERT_EQ(empty.size(), QSize(16, 16));
    for (const QPoint corner : {QPoint(0, 0), QPoint(15, 15), QPoint(8, 8)}) {
        EXPECT_EQ(empty.pixelColor(corner), face) << "no picture for index 99: only the background";
    }
    const QImage undo = MakeButtonGlyph(QApplication::style(), 1, face).toImage();
    bool drawn = false;
    for (int y = 0; y < 16 && !drawn; ++y) {
        for (int x = 0; x < 16 && !drawn; ++x) {
            drawn = undo.pixelColor(x, y) != face;
        }
    }
    EXPECT_TRUE(drawn) << "image 1 is drawn over the background";
}

// Enter confirms a kana conversion; in the drop-downs it must neither add an entry nor run Add.
TEST(PanelKeysTest, EnterInADropDownAddsNothing)
{
    test::TempFolder folder;
    test::FixedClock clock;
    test::FakeSibling sibling;
    TVelkDolvane window(
        MainWindowServices{DeriveProgramPaths(folder.Path(), "aki", folder.Path()), clock, sibling, nullptr, {}});
    window.show();
    auto* executor = window.findChild<QComboBox*>(QStringLiteral("ComboBox2"));
    ASSERT_NE(executor, nullptr);
    executor->lineEdit()->setFocus();
    QTest::keyClicks(executor->lineEdit(), QStringLiteral("Sato"));
    QTest::keyClick(executor->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(executor->count(), 0);
    EXPECT_TRUE(window.Model().Rows().empty());
    EXPECT_EQ(executor->currentText(), QStringLiteral("Sato"));
}

}  // namespace
}  // namespace dolvane
