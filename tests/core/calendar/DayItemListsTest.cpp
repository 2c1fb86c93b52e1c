// The calendar's day lists keep each item once and a number per day.
#include "core/calendar/DayItemLists.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace dolvane {
namespace {

std::vector<std::uint32_t> RowsOf(const DayItemView& items)
{
    std::vector<std::uint32_t> rows;
    for (const DayItem& item : items) {
        rows.push_back(item.row);
    }
    return rows;
}

// Items of rows 7, 8 and 9; 7 spans 05/01-05/03, 8 lies on 05/02, 9 on 05/03; 05/02 is listed
// twice, and a lookup finds the first.
TEST(DayItemListsTest, DaysShareTheirItemsAndALookupFindsTheFirstDayOfADate)
{
    auto items = std::make_shared<std::vector<DayItem>>(3);
    for (std::uint32_t k = 0; k < 3; ++k) {
        (*items)[k].row = 7 + k;
    }
    DayItemLists lists;
    lists.Assign(items, {0, 0, 1, 0, 2, 2},
                 {{"2010/05/01", 0, 1}, {"2010/05/02", 1, 3}, {"2010/05/03", 3, 5}, {"2010/05/02", 5, 6}});
    struct Case {
        const char* date;
        std::vector<std::uint32_t> rows;
    };
    for (const Case& c :
         {Case{"2010/05/01", {7}}, Case{"2010/05/02", {7, 8}}, Case{"2010/05/03", {7, 9}}, Case{"2010/05/04", {}}}) {
        EXPECT_EQ(RowsOf(lists.Items(c.date)), c.rows) << c.date;
    }
    ASSERT_EQ(lists.Count(), 4U);
    EXPECT_EQ(lists.DateAt(3), "2010/05/02");
    EXPECT_EQ(RowsOf(lists.ItemsAt(3)), std::vector<std::uint32_t>{9});

    lists.Clear();
    EXPECT_TRUE(lists.Empty());
    EXPECT_TRUE(lists.Items("2010/05/01").empty());
}

}  // namespace
}  // namespace dolvane
