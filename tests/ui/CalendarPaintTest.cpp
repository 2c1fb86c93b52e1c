#include "ui/calendar/CalendarPainter.h"

#include "core/calendar/CalendarModel.h"
#include "core/calendar/Holidays.h"
#include "core/store/RecordLine.h"
#include "support/Sjis.h"

#include <QDir>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace dolvane {
namespace {

using test::Sj;

QImage Paint(const DrawingPlan& plan)
{
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    PaintPlan(painter, plan);
    painter.end();
    return image;
}

DrawOp Op(DrawKind kind, int x1, int y1, int x2, int y2, std::uint32_t colour)
{
    DrawOp op;
    op.kind = kind;
    op.x1 = x1;
    op.y1 = y1;
    op.x2 = x2;
    op.y2 = y2;
    op.colour = colour;
    return op;
}

TEST(CalendarPaintTest, StepsLandOnTheirPixels)
{
    const QColor red = ColourOf(0x0000FF);
    const QColor black(Qt::black);
    struct Case {
        const char* what;
        DrawOp op;
        std::vector<std::pair<QPoint, QColor>> pixels;
    };
    for (const auto& c : {
             Case{"fill keeps right and bottom outside",
                  Op(DrawKind::FillRect, 2, 3, 6, 5, 0x0000FF),
                  {{{2, 3}, red}, {{5, 4}, red}, {{6, 4}, black}, {{5, 5}, black}, {{1, 3}, black}}},
             Case{"frame lies inside the rectangle",
                  Op(DrawKind::FrameRect, 2, 2, 8, 8, 0x0000FF),
                  {{{2, 2}, red}, {{7, 7}, red}, {{8, 8}, black}, {{4, 4}, black}}},
             Case{"a line stops short of its end",
                  Op(DrawKind::Line, 3, 4, 9, 4, 0x0000FF),
                  {{{3, 4}, red}, {{8, 4}, red}, {{9, 4}, black}}},
             Case{"a line of no length draws nothing", Op(DrawKind::Line, 3, 4, 3, 4, 0x0000FF), {{{3, 4}, black}}},
             Case{"a pixel", Op(DrawKind::Pixel, 7, 1, 7, 1, 0x0000FF), {{{7, 1}, red}, {{8, 1}, black}}},
         }) {
        const QImage image = Paint({c.op});
        for (const auto& [point, colour] : c.pixels) {
            EXPECT_EQ(image.pixelColor(point), colour) << c.what << " at " << point.x() << "," << point.y();
        }
    }
}

TEST(CalendarPaintTest, OpaqueTextFillsItsBoxAndTransparentTextDoesNot)
{
    for (const bool opaque : {true, false}) {
        DrawOp text = Op(DrawKind::Text, 0, 0, 0, 0, 0xFFFFFF);
        text.text = "--";  // leaves the top row of its box untouched
        text.opaque = opaque;
        text.background = 0x00FF00;
        const QImage image = Paint({text});
        EXPECT_EQ(image.pixelColor(0, 0), opaque ? ColourOf(0x00FF00) : QColor(Qt::black));
        // Neither background has any red; the white of the (smoothed) dashes brings some.
        bool textSeen = false;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < 20; ++x) {
                textSeen = textSeen || image.pixelColor(x, y).red() > 100;
            }
        }
        EXPECT_TRUE(textSeen) << "the dashes are drawn in the font colour";
    }
}

// May 2010 with a to-do from Thursday 05/06 to Tuesday 05/11 and today 05/20; the picture is
// saved when DOLVANE_RENDER_DIR names a folder, to look at.
TEST(CalendarPaintTest, MonthGridPaintsEachCellInItsPlace)
{
    const std::vector<ToDoRecord> rows = {
        ParseRecordLine(Sj("2010/05/06 09:00&2010/05/11 18:00+=03050@\\@#@#企画書の作成と見直し")),
        ParseRecordLine(Sj("2010/05/20 10:00+=05000@\\@#@#定例会議"))};
    CalendarModel model;
    ASSERT_TRUE(model.SetCalendarReference("2010/05/20", rows));
    ASSERT_TRUE(model.SelectCalendarDate("2010/05/11"));
    model.SetShowBarTexts(true);
    model.SetHolidayNameTicks(20);
    const HolidayCalendar holidays({Sj("05/03=憲法記念日"), Sj("05/04=みどりの日"), Sj("05/05=こどもの日")});
    const CalendarGridLayout layout = LayoutCalendarGrid(CalendarMode::Month, 7 * 102, 28 + 6 * 80);
    DateCellContext context;
    context.todayText = "2010/05/20";
    context.defaultColumnWidth = layout.defaultColumnWidth;
    context.defaultRowHeight = layout.defaultRowHeight;

    QImage image(7 * (layout.defaultColumnWidth + 1), layout.headerRowHeight + 1 + 6 * (layout.defaultRowHeight + 1),
                 QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    PaintCalendarGrid(painter, model, holidays, layout, context);
    painter.end();
    if (const QByteArray folder = qgetenv("DOLVANE_RENDER_DIR"); !folder.isEmpty()) {
        image.save(QDir(QString::fromLocal8Bit(folder)).filePath(QStringLiteral("calendar-month.png")));
    }

    const int pitchX = layout.defaultColumnWidth + 1;
    const int pitchY = layout.defaultRowHeight + 1;
    // The bottom-right pixel of a cell is clear of texts and bars: it shows the cell's background.
    const auto corner = [&](int column, int row) {
        return image.pixelColor(column * pitchX + layout.defaultColumnWidth - 1,
                                layout.headerRowHeight + 1 + (row - 1) * pitchY + layout.defaultRowHeight - 1);
    };
    EXPECT_EQ(corner(4, 4), ColourOf(kTodayBackgroundColour));         // 05/20
    EXPECT_EQ(corner(3, 2), ColourOf(kOtherHolidayBackgroundColour));  // 05/05, a holiday
    EXPECT_EQ(corner(2, 3), ColourOf(kSelectedCellBackgroundColour));  // 05/11, the current cell
}

}  // namespace
}  // namespace dolvane
