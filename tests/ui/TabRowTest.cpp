#include "ui/widgets/TabRow.h"
#include "ui/widgets/JapaneseFont.h"

#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace dolvane {
namespace {

// The main tabs with a long search caption, as the Find command leaves them.
void AddMainTabs(TabRow& row)
{
    row.setFont(JapaneseFont(13, true));
    for (const char* caption :
         {"全て", "なし", "検索 > [ 報告書を書く 総務 会議の準備と議事録の提出 ]", "未完了", "完了"}) {
        row.addTab(QString::fromUtf8(caption));
    }
}

// Pixels clearly darker than the tab's face inside a rectangle: a drawn caption.
int InkIn(const QImage& image, const QRect& area)
{
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            ink += qGray(image.pixel(x, y)) < 100 || qBlue(image.pixel(x, y)) - qRed(image.pixel(x, y)) > 100 ? 1 : 0;
        }
    }
    return ink;
}

// Each tab whole and apart from the others, on as many lines as the row needs, and every caption
// drawn: the style draws the selected tab reaching out towards the page, which must not hide the
// caption of another line's tab beside it.
TEST(TabRowTest, TabsWrapOntoAsManyLinesAsTheRowNeedsEachWholeApartAndDrawn)
{
    // The row's length: a number of pixels, or (when negative) that much less than one line of
    // all tabs needs.
    struct Case {
        QTabBar::Shape shape;
        int length;
        int lines;
    };
    const Case cases[] = {
        {QTabBar::RoundedNorth, 0, 1},  {QTabBar::RoundedNorth, -1, 2}, {QTabBar::RoundedNorth, 300, 3},
        {QTabBar::RoundedSouth, -1, 2}, {QTabBar::RoundedWest, 0, 1},   {QTabBar::RoundedWest, -1, 2},
        {QTabBar::RoundedEast, 300, 3},
    };
    for (const Case& c : cases) {
        TabRow row;
        AddMainTabs(row);
        row.setShape(c.shape);
        const bool vertical = row.Vertical();
        const QSize oneLine = row.sizeHint();
        const int length = c.length > 0 ? c.length : (vertical ? oneLine.height() : oneLine.width()) + c.length;
        row.resize(vertical ? QSize(40, length) : QSize(length, 40));
        row.resize(vertical ? QSize(row.sizeHint().width(), length) : QSize(length, row.heightForWidth(length)));
        EXPECT_EQ(row.LineCount(), c.lines) << c.shape << " " << length;
        if (!vertical) {
            EXPECT_EQ(row.heightForWidth(length), c.lines * row.TabArea(0).height()) << length;
        }
        const QImage image = row.grab().toImage();
        for (int index = 0; index < row.count(); ++index) {
            const QRect area = row.TabArea(index);
            // Only a tab longer than the row itself may reach past its end.
            if ((vertical ? area.height() : area.width()) <= length) {
                EXPECT_LE(vertical ? area.bottom() : area.right(), length - 1) << c.shape << " tab " << index;
            }
            for (int other = index + 1; other < row.count(); ++other) {
                EXPECT_FALSE(area.intersects(row.TabArea(other))) << c.shape << " tabs " << index << ", " << other;
            }
            EXPECT_EQ(row.TabAreaAt(area.center()), index);
            EXPECT_GT(InkIn(image, area.intersected(image.rect()).adjusted(2, 2, -2, -2)), 10)
                << c.shape << " " << length << " tab " << index;
        }
    }
}

// The row never switches by itself: whoever owns the view decides and then sets the index. The
// mouse on it is driven on a real X server (tests/e2e/check_boxes_and_tabs.sh).
TEST(TabRowTest, ArrowKeysAskForTheNeighbourWithoutSwitching)
{
    TabRow row;
    AddMainTabs(row);
    QSignalSpy requested(&row, &TabRow::tabRequested);
    QTest::keyClick(&row, Qt::Key_Left);  // nothing before the first tab
    QTest::keyClick(&row, Qt::Key_Right);
    ASSERT_EQ(requested.count(), 1);
    EXPECT_EQ(requested.at(0).at(0).toInt(), 1);
    EXPECT_EQ(row.currentIndex(), 0);
}

// A row without tabs (the category row on 全て) is no stop for Tab.
TEST(TabRowTest, OnlyARowWithTabsTakesTheFocus)
{
    TabRow row;
    EXPECT_EQ(row.focusPolicy(), Qt::NoFocus);
    row.addTab(QStringLiteral("a"));
    EXPECT_EQ(row.focusPolicy(), Qt::TabFocus);
    row.removeTab(0);
    EXPECT_EQ(row.focusPolicy(), Qt::NoFocus);
}

}  // namespace
}  // namespace dolvane
