#include "ui/list/ToDoListModel.h"
#include "ui/list/ToDoListView.h"

#include "core/store/ToDoRecord.h"

#include "support/Sjis.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace dolvane {
namespace {

using test::Sj;

QString Qs(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

struct ListFixture : ::testing::Test {
    std::vector<ToDoRecord> rows = std::vector<ToDoRecord>(3);
    ToDoListModel model{rows};

    QString Shown(int row, int column) const { return model.data(model.index(row, column)).toString(); }
};

TEST_F(ListFixture, HeaderCaptionsInColumnOrder)
{
    QStringList captions;
    for (int column = 0; column < model.columnCount(); ++column) {
        captions << model.headerData(column, Qt::Horizontal).toString();
    }
    EXPECT_EQ(captions.join(u'|'),
              Qs("開始日時|期限（完了予定）|重要度|実行者|すべきこと|分類|進捗|残り時間|経過時間|警告|完了日時"));

    QSignalSpy headerChanged(&model, &QAbstractItemModel::headerDataChanged);
    model.SetElapsedCaption(Qs("経過率"));
    EXPECT_EQ(model.headerData(8, Qt::Horizontal).toString(), Qs("経過率"));
    EXPECT_EQ(headerChanged.count(), 1);
}

TEST_F(ListFixture, EachColumnShowsItsFieldOnlyColumnZeroHasABoxAndOnlyProgressIsRightAligned)
{
    for (int field = 0; field < kFieldCount; ++field) {
        rows[1].Text(static_cast<Field>(field)) = Sj("欄") + std::to_string(field);
    }
    model.Reset();

    for (int column = 0; column < kVisibleColumnCount; ++column) {
        EXPECT_EQ(Shown(1, column), Qs("欄") + QString::number(column));
        EXPECT_EQ(model.data(model.index(1, column), Qt::CheckStateRole).isValid(), column == 0) << column;
        const auto alignment = model.data(model.index(0, column), Qt::TextAlignmentRole).value<Qt::Alignment>();
        EXPECT_EQ(alignment.testFlag(Qt::AlignRight), column == 6) << column;
    }
    EXPECT_TRUE(model.flags(model.index(0, 0)).testFlag(Qt::ItemIsUserCheckable));
    EXPECT_FALSE(model.flags(model.index(0, 1)).testFlag(Qt::ItemIsEditable));
}

TEST_F(ListFixture, TaskLinesAreJoinedIntoOneLine)
{
    rows[0].TaskText = Sj("買い物\r\n牛乳･卵\r\n");
    rows[0].Executor = "a\\b~";  // 0x5C and 0x7E are cp932's backslash and tilde, not yen and overline
    EXPECT_EQ(Shown(0, 4), Qs("買い物 牛乳･卵 "));
    EXPECT_EQ(Shown(0, 3), Qs("a\\b~"));
}

TEST_F(ListFixture, TickingTheBoxAsksForTheChangeOnlyWhenTheStateDiffers)
{
    QSignalSpy requested(&model, &ToDoListModel::completedChangeRequested);

    EXPECT_TRUE(model.setData(model.index(2, 0), Qt::Checked, Qt::CheckStateRole));
    ASSERT_EQ(requested.count(), 1);
    EXPECT_EQ(requested[0][0].toInt(), 2);
    EXPECT_TRUE(requested[0][1].toBool());
    EXPECT_FALSE(rows[2].Completed) << "the window model changes the rows, not the list";

    rows[1].Completed = true;
    EXPECT_TRUE(model.setData(model.index(1, 0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(requested.count(), 1) << "no change, no unsaved mark";
    EXPECT_TRUE(model.setData(model.index(1, 0), Qt::Unchecked, Qt::CheckStateRole));
    ASSERT_EQ(requested.count(), 2);
    EXPECT_FALSE(requested[1][1].toBool());

    EXPECT_FALSE(model.setData(model.index(2, 1), Qt::Checked, Qt::CheckStateRole));
    EXPECT_FALSE(model.setData(model.index(2, 0), Qs("x"), Qt::EditRole));
    EXPECT_EQ(requested.count(), 2);
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

struct ViewFixture : ListFixture {
    ToDoListView view;

    void SetUp() override
    {
        view.setModel(&model);
        view.resize(900, 300);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    int Width(int column) const { return view.header()->sectionSize(column); }
    int TotalWidth() const { return view.header()->length(); }
};

TEST_F(ViewFixture, ResizedColumnsStayWithinTheirLimits)
{
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

}  // namespace
}  // namespace dolvane
