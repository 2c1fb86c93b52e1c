// The window under a desktop that is not the one it was drawn on: a dark palette, a larger font,
// column widths that last from one run to the next, and the buttons' pictures.
#include "ui/MainWindow.h"
#include "ui/widgets/ButtonGlyph.h"
#include "ui/widgets/Colours.h"
#include "ui/widgets/JapaneseFont.h"

#include "core/app/SettingsSession.h"

#include "support/MainWindowFixture.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPalette>
#include <QToolButton>
#include <QTreeView>

#include <gtest/gtest.h>

namespace dolvane {
namespace {

using test::WriteBytes;

double Contrast(const QColor& text, const QColor& background)
{
    return ContrastRatio(BgrOf(text), BgrOf(background));
}

// A test may play another desktop: the application's palette and font come back after it.
class LookTest : public test::MainWindowFixture {
protected:
    ~LookTest() override
    {
        QApplication::setPalette(palette_);
        QApplication::setFont(font_);
    }

    const QPalette palette_ = QApplication::palette();
    const QFont font_ = QApplication::font();
};

TEST_F(LookTest, UnderADarkPaletteEveryFixedFillKeepsItsTextReadable)
{
    QPalette dark;
    for (const auto role : {QPalette::Window, QPalette::Base, QPalette::Button}) {
        dark.setColor(role, QColor(0x35, 0x35, 0x35));
    }
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        dark.setColor(role, QColor(0xF0, 0xF0, 0xF0));
    }
    QApplication::setPalette(dark);
    const auto window = Open();

    for (const char* name : {"Panel7", "StaticText1", "Panel10"}) {
        const auto* label = Find<QLabel>(*window, name);
        EXPECT_GE(Contrast(label->palette().color(QPalette::WindowText), label->palette().color(QPalette::Window)), 4.5)
            << name;
    }
    const auto* mode = Find<QToolButton>(*window, "SpeedButton6");
    EXPECT_GE(Contrast(mode->palette().color(QPalette::ButtonText), mode->palette().color(QPalette::Button)), 3.0);

    const auto* list = Find<QTreeView>(*window, "ListView1");
    const QAbstractItemModel* rows = list->model();
    const QModelIndex completed = rows->index(1, 4);
    ASSERT_TRUE(rows->data(completed, Qt::BackgroundRole).isValid());
    // Without a colour of its own the row is written in the list's text colour.
    const QVariant text = rows->data(completed, Qt::ForegroundRole);
    EXPECT_GE(Contrast(text.isValid() ? text.value<QColor>() : list->palette().color(QPalette::Text),
                       rows->data(completed, Qt::BackgroundRole).value<QColor>()),
              4.5);
    EXPECT_FALSE(rows->data(rows->index(0, 4), Qt::ForegroundRole).isValid()) << "a plain row keeps the palette's text";

    EXPECT_FALSE(Find<QAction>(*window, "N5")->icon().isNull()) << "設定(&T) has its picture";
}

TEST_F(LookTest, FontsGrowWithTheDesktopFont)
{
    QFont desktop = QApplication::font();
    desktop.setPointSizeF(9);
    QApplication::setFont(desktop);
    const QFont usual = JapaneseFont(13);
    EXPECT_DOUBLE_EQ(usual.pointSizeF(), 9.75) << "13 pixels at 96 dots per inch";
    desktop.setPointSizeF(18);
    QApplication::setFont(desktop);
    EXPECT_DOUBLE_EQ(JapaneseFont(13).pointSizeF(), 19.5);
}

TEST_F(LookTest, ColumnWidthsSetByHandComeBackNextRunWithinTheirLimits)
{
    constexpr int kRemaining = 7;
    constexpr int kElapsed = 8;
    auto window = Open();
    QHeaderView* header = Find<QTreeView>(*window, "ListView1")->header();
    // The usual texts of the time columns show whole from the start.
    const QFontMetrics metrics(header->parentWidget()->font());
    for (const int column : {kRemaining, kElapsed}) {
        EXPECT_GE(header->sectionSize(column), metrics.horizontalAdvance(QString::fromUtf8("99日23時間")) + 6)
            << column;
    }

    header->resizeSection(kRemaining, 90);
    header->resizeSection(2, 58);
    window->close();
    window.reset();

    // A width beyond its column's limit in the file is brought back into it.
    const auto stateFile = SettingsSession::StateFilePath(paths_);
    const std::string state = test::ReadBytes(stateFile);
    ASSERT_NE(state.find("[columns]"), std::string::npos) << state;
    WriteBytes(stateFile, "[columns]\r\nValue=130,120,58,500,100,50,40,90,80,60,20\r\n");
    window = Open();
    header = Find<QTreeView>(*window, "ListView1")->header();
    EXPECT_EQ(header->sectionSize(kRemaining), 90);
    EXPECT_EQ(header->sectionSize(2), 58);
    EXPECT_EQ(header->sectionSize(3), 100) << "実行者 is at most 100 pixels wide";
    EXPECT_EQ(header->sectionSize(kElapsed), 80);
}

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
