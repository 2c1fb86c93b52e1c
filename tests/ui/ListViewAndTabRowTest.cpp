// The list's model and view and the tab rows above them, on the offscreen platform: what each
// column shows, the column widths, the auto-scroll's steps, the grid lines, and how the tabs wrap.
// The mouse on them (which presses reach the check boxes, what a release leaves selected, which
// clicks ask for a tab) is driven on a real X server: tests/e2e/list_drag_*.sh and
// check_boxes_and_tabs.sh.
#include "ui/list/ToDoListModel.h"
#include "ui/list/ToDoListView.h"
#include "ui/widgets/JapaneseFont.h"
#include "ui/widgets/TabRow.h"

#include "core/store/ToDoRecord.h"

#include "support/Sjis.h"

#include <QHeaderView>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace dolvane {
namespace {

using test::Sj;

struct ListFixture : ::testing::Test {
    std::vector<ToDoRecord> rows = std::vector<ToDoRecord>(3);
    ToDoListModel model{rows};

    QString Shown(int row, int column) const { return model.data(model.index(row, column)).toString(); }
};

// The captions themselves are the core's column table; the header follows the elapsed switch.
TEST_F(ListFixture, TheElapsedRateSwitchRenamesColumnEight)
{
    QSignalSpy headerChanged(&model, &QAbstractItemModel::headerDataChanged);
    EXPECT_EQ(model.headerData(8, Qt::Horizontal).toString(), QStringLiteral("経過時間"));
    model.SetElapsedRate(true);
    EXPECT_EQ(model.headerData(8, Qt::Horizontal).toString(), QStringLiteral("経過率"));
    EXPECT_EQ(headerChanged.count(), 1);
}

// A row is one line high: line breaks show as spaces. 0x5C and 0x7E are cp932's backslash and
// tilde, not yen and overline.
TEST_F(ListFixture, EachColumnShowsItsFieldOnOneLineOnlyColumnZeroHasABoxAndOnlyProgressIsRightAligned)
{
    for (int field = 0; field < kFieldCount; ++field) {
        rows[1].Text(static_cast<Field>(field)) = Sj("欄\r\n牛乳･\r\\~\n") + std::to_string(field);
    }
    model.Reset();

    for (int column = 0; column < kVisibleColumnCount; ++column) {
        EXPECT_EQ(Shown(1, column), QStringLiteral("欄 牛乳･ \\~ ") + QString::number(column));
        EXPECT_EQ(model.data(model.index(1, column), Qt::CheckStateRole).isValid(), column == 0) << column;
        const auto alignment = model.data(model.index(0, column), Qt::TextAlignmentRole).value<Qt::Alignment>();
        EXPECT_EQ(alignment.testFlag(Qt::AlignRight), column == 6) << column;
    }
    EXPECT_TRUE(model.flags(model.index(0, 0)).testFlag(Qt::ItemIsUserCheckable));
    EXPECT_FALSE(model.flags(model.index(0, 1)).testFlag(Qt::ItemIsEditable));
}

// Space ticks a box through setData (tests/e2e/edit_paths.sh); the window model changes the row.
TEST_F(ListFixture, TickingTheBoxAsksForTheChangeOnlyWhenTheStateDiffers)
{
    QSignalSpy requested(&model, &ToDoListModel::completedChangeRequested);
    rows[1].Completed = true;
    EXPECT_TRUE(model.setData(model.index(1, 0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(requested.count(), 0) << "no change, no unsaved mark";
    EXPECT_TRUE(model.setData(model.index(1, 0), Qt::Unchecked, Qt::CheckStateRole));
    ASSERT_EQ(requested.count(), 1);
    EXPECT_EQ(requested[0][0].toInt(), 1);
    EXPECT_FALSE(requested[0][1].toBool());
    EXPECT_TRUE(rows[1].Completed) << "the window model changes the rows, not the list";

    EXPECT_FALSE(model.setData(model.index(2, 1), Qt::Checked, Qt::CheckStateRole));
    EXPECT_FALSE(model.setData(model.index(2, 0), QStringLiteral("x"), Qt::EditRole));
    EXPECT_EQ(requested.count(), 1);
}

TEST_F(ListFixture, RowsChangedRepaintsWholeRows)
{
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.RowsChanged(1, 2);
    model.RowsChanged(2, 3);  // past the end: nothing to repaint
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].toModelIndex(), model.index(1, 0));
    EXPECT_EQ(changed[0][1].toModelIndex(), model.index(2, kVisibleColumnCount - 1));
}

// The view on the model, shown with `rowCount` empty rows.
struct ViewFixture : ListFixture {
    ToDoListView view;

    void Open(int rowCount = 3)
    {
        rows.resize(static_cast<std::size_t>(rowCount));
        model.Reset();
        view.setModel(&model);
        view.resize(900, 300);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    int Width(int column) const { return view.header()->sectionSize(column); }
    int TotalWidth() const { return view.header()->length(); }
    QWidget* Viewport() const { return view.viewport(); }
    int RowY(int row) const { return view.visualRect(model.index(row, 0)).center().y(); }
};

TEST_F(ViewFixture, ResizedColumnsStayWithinTheirLimits)
{
    Open();
    // Column, width asked for, width kept.
    const int cases[][3] = {
        {0, 300, 200}, {0, 10, 50},   {1, 151, 150}, {2, 61, 60},    {2, 54, 55},   {3, 49, 50},
        {5, 0, 0},     {5, 700, 700}, {6, 46, 45},   {6, 24, 25},    {7, 101, 100}, {8, 4, 5},
        {9, 29, 30},   {9, 500, 500}, {10, 19, 20},  {10, 151, 150}, {6, 30, 30},
    };
    for (const auto& [column, requested, kept] : cases) {
        view.header()->resizeSection(column, requested);
        EXPECT_EQ(Width(column), kept) << "column " << column << " asked " << requested;
    }
}

TEST_F(ViewFixture, TaskColumnTakesTheRestButNeverLessThan100)
{
    Open();
    // The date columns start at their table width or wider, as the font needs for a full date;
    // the task column (4) takes what the others leave.
    EXPECT_GE(Width(0), 130);
    EXPECT_GE(Width(1), std::max(120, view.fontMetrics().horizontalAdvance(QStringLiteral("2010/05/01 09:00"))));
    EXPECT_EQ(TotalWidth(), view.viewport()->width());

    view.header()->resizeSection(0, 180);
    EXPECT_EQ(TotalWidth(), view.viewport()->width()) << "widening a column narrows the task column";

    view.resize(500, 300);
    QCoreApplication::processEvents();
    EXPECT_EQ(Width(4), 100);
    EXPECT_GT(TotalWidth(), view.viewport()->width());
}

TEST_F(ViewFixture, ColumnAtCountsCurrentWidthsFromTheLeft)
{
    Open();
    view.header()->resizeSection(0, 130);
    view.header()->resizeSection(1, 120);
    ASSERT_EQ(Width(0), 130);
    // On the check box and on an edge between two columns there is no column.
    const std::pair<int, int> cases[] = {{0, -1},   {16, -1}, {17, 0},   {129, 0},
                                         {130, -1}, {131, 1}, {250, -1}, {251, 2}};
    for (const auto& [x, column] : cases) {
        EXPECT_EQ(view.ColumnAt(x), column) << x;
    }

    const int total = TotalWidth();
    EXPECT_EQ(view.ColumnAt(total - 1), 10);
    EXPECT_EQ(view.ColumnAt(total), -1);

    view.header()->resizeSection(0, 150);
    EXPECT_EQ(view.ColumnAt(140), 0);
    EXPECT_EQ(view.ColumnAt(150), -1);
}

TEST_F(ViewFixture, EachAutoScrollStepMovesOneRowAndGivesTheRowAtThatEdge)
{
    Open(40);
    QScrollBar* bar = view.verticalScrollBar();
    bar->setValue(10);
    EXPECT_EQ(view.ScrollForDrag(0), -1);
    EXPECT_EQ(bar->value(), 10);

    const int down = view.ScrollForDrag(1);
    EXPECT_EQ(bar->value(), 11);
    EXPECT_EQ(down, view.indexAt(QPoint(0, Viewport()->height() - 6)).row());
    EXPECT_GT(down, 11);
    EXPECT_EQ(view.ScrollForDrag(-1), 10) << "the first row shown";
    EXPECT_EQ(bar->value(), 10);
}

// Scrolled to the end, the last row can end above the bottom strip the first probe looks at; the
// second looks a horizontal scroll bar's height higher up.
TEST_F(ViewFixture, BelowTheLastRowTheStepFallsBackByTheHeightOfAScrollBar)
{
    Open(40);
    const int rowHeight = view.visualRect(model.index(0, 0)).height();
    const int extent = view.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view.horizontalScrollBar());
    ASSERT_GT(extent, 5);
    const int gap = 6 + extent / 2;  // below the first probe, above the second
    view.resize(900, view.height() + 10 * rowHeight + gap - Viewport()->height());
    QCoreApplication::processEvents();
    ASSERT_EQ(Viewport()->height(), 10 * rowHeight + gap);
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    ASSERT_EQ(view.indexAt(QPoint(0, Viewport()->height() - 6)).row(), -1) << "the gap is where the first probe looks";
    EXPECT_EQ(view.ScrollForDrag(1), 39);
}

TEST_F(ViewFixture, GridLinesRunDownThroughTheEmptyPartOfTheList)
{
    Open(3);
    QStyleOptionViewItem option;
    option.initFrom(&view);
    const QRgb grid =
        QColor::fromRgba(static_cast<QRgb>(view.style()->styleHint(QStyle::SH_Table_GridLineColor, &option, &view)))
            .rgb();
    const QImage image = Viewport()->grab().toImage();
    const int lineX = view.header()->sectionViewportPosition(1) - 1;  // the last pixel of column 0
    const QRect lastRow = view.visualRect(model.index(2, 1));
    const int emptyY = lastRow.bottom() + 3 * lastRow.height();  // three "rows" below the last one
    ASSERT_LT(emptyY, image.height());
    struct Case {
        QPoint point;
        bool line;
    };
    const Case cases[] = {
        {{lineX, RowY(1)}, true},        {{lineX, emptyY - 4}, true}, {{lineX - 3, emptyY - 4}, false},
        {{300, lastRow.bottom()}, true}, {{300, emptyY}, true},       {{300, emptyY - 4}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(image.pixelColor(c.point).rgb() == grid, c.line) << c.point.x() << ", " << c.point.y();
    }
}

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
