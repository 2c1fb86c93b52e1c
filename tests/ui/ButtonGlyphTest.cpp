#include "ui/widgets/ButtonGlyph.h"

#include <QApplication>
#include <QImage>
#include <QStyle>

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

}  // namespace
}  // namespace dolvane
