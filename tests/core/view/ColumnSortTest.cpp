#include "core/view/ColumnSort.h"

#include "support/Sjis.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

namespace dolvane {
namespace {

std::vector<ToDoRecord> Rows(int column, const std::vector<std::string>& utf8Texts)
{
    std::vector<ToDoRecord> rows(utf8Texts.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].Text(static_cast<Field>(column)) = test::Sj(utf8Texts[i]);
    }
    return rows;
}

std::vector<std::string> Texts(const std::vector<ToDoRecord>& rows, int column)
{
    std::vector<std::string> texts;
    texts.reserve(rows.size());
    for (const ToDoRecord& row : rows) {
        texts.push_back(test::Utf8(row.Text(static_cast<Field>(column))));
    }
    return texts;
}

// Texts compare as texts, not numbers or moments; symbols, Latin case and kana widths follow the
// collation, not cp932 byte order (which would put "B" before "a" and half-width kana before kana).
TEST(ColumnSort, SortsByCollationBothWays)
{
    const struct {
        int column;
        std::vector<std::string> input;
        std::vector<std::string> ascending;
    } cases[] = {
        {6, {"20", "100", "", "10", "5"}, {"", "10", "100", "20", "5"}},
        {4, {"□ 未着手", "■ 完了"}, {"■ 完了", "□ 未着手"}},  // □ is 0x81A0, ■ 0x81A1
        {1,
         {"2010/04/01 09:05", "", "2009/12/31 23:59", "2010/04/01 10:00", "2010/03/31 09:05"},
         {"", "2009/12/31 23:59", "2010/03/31 09:05", "2010/04/01 09:05", "2010/04/01 10:00"}},
        // "㍊" (millibar) has a collation key far longer than its length suggests, sharing a long start with ﾐﾘﾊﾞｰﾙ.
        {3,
         {"山田", "ｻﾄｳ", "㍊㍊", "ﾐﾘﾊﾞｰﾙﾐﾘﾊﾞｰﾙ", "Yamada", "かとう", "apple", "123", "#1"},
         {"#1", "123", "apple", "Yamada", "かとう", "ｻﾄｳ", "ﾐﾘﾊﾞｰﾙﾐﾘﾊﾞｰﾙ", "㍊㍊", "山田"}},
        {10, {"B", "A", "a"}, {"a", "A", "B"}},  // the last column still sorts, and case counts
    };
    for (const auto& c : cases) {
        std::vector<ToDoRecord> rows = Rows(c.column, c.input);
        SortRowsByColumn(rows, c.column, true);
        EXPECT_EQ(Texts(rows, c.column), c.ascending) << "column " << c.column;

        SortRowsByColumn(rows, c.column, false);
        EXPECT_EQ(Texts(rows, c.column), std::vector<std::string>(c.ascending.rbegin(), c.ascending.rend()));
    }
}

// Rows with equal texts keep their present order whichever way a column sorts, so clicking a
// header twice does not shuffle them. Forty rows take the sort past its small-range stage, and the
// long text ties beyond the first bytes of its collation key.
TEST(ColumnSort, EqualTextsKeepTheirPresentOrderInBothDirections)
{
    const std::string texts[] = {"b", "", "ミリバールミリバール", "A", "a"};  // cp932 byte order puts "A" before "a"
    const int rank[] = {3, 0, 4, 2, 1};  // of each text in the collation: "", "a", "A", "b", the kana
    std::vector<ToDoRecord> rows(40);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].Text(Field::Category) = test::Sj(texts[(i * 7 + i / 5) % std::size(texts)]);
        rows[i].Executor = std::to_string(i);  // where the row stood
    }
    // Ascending, descending, descending again (nothing moves) and back.
    for (const bool ascending : {true, false, false, true}) {
        std::vector<std::string> expected;  // by rank, and within a rank where the rows stood
        for (int place = 0; place < 5; ++place) {
            for (std::size_t i = 0; i < rows.size(); ++i) {
                if (rank[(i * 7 + i / 5) % std::size(texts)] == (ascending ? place : 4 - place)) {
                    expected.push_back(std::to_string(i));
                }
            }
        }
        SortRowsByColumn(rows, static_cast<int>(Field::Category), ascending);
        EXPECT_EQ(Texts(rows, static_cast<int>(Field::Executor)), expected) << (ascending ? "ascending" : "descending");
    }
}

TEST(ColumnSort, OnlyVisibleColumnsSort)
{
    // Position 11 holds the warning hours, a real field that is no column.
    for (const int column : {-1, 11, 12}) {
        std::vector<ToDoRecord> rows = Rows(11, {"9", "1"});
        SortRowsByColumn(rows, column, true);
        EXPECT_EQ(Texts(rows, 11), (std::vector<std::string>{"9", "1"})) << column;
    }
}

}  // namespace
}  // namespace dolvane
