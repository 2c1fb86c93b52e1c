// The calendar's day lists keep each item's text once and a number per day; what they give back
// must be what joined texts per day would give.
#include "core/calendar/DayItemLists.h"

#include "core/calendar/CalendarModel.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace dolvane {
namespace {

using Views = std::vector<std::string_view>;

// Items a, b and c; a spans 05/01-05/03, b lies on 05/02, c on 05/03; 05/02 is listed twice (the
// first wins), and a day is added by hand after the fill.
DayItemLists Filled()
{
    auto texts = std::make_shared<DayItemTexts>();
    for (const char* item : {"a-item", "b-item", "c-item"}) {
        EXPECT_TRUE(texts->Append(item));
    }
    DayItemLists lists;
    lists.Assign(texts, {0, 0, 1, 0, 2, 2},
                 {{"2010/05/01", 0, 1}, {"2010/05/02", 1, 3}, {"2010/05/03", 3, 5}, {"2010/05/02", 5, 6}});
    lists.Add("2010/05/04", std::string("x") + std::string(kDayItemSeparator) + "y");
    return lists;
}

TEST(DayItemListsTest, DaysGiveTheirItemsAsJoinedTextsWould)
{
    const DayItemLists lists = Filled();
    const std::string sep(kDayItemSeparator);
    struct Case {
        const char* date;
        Views items;
        std::string value;
    };
    const Case cases[] = {
        {"2010/05/01", {"a-item"}, "a-item"},
        {"2010/05/02", {"a-item", "b-item"}, "a-item" + sep + "b-item"},  // the first 05/02
        {"2010/05/03", {"a-item", "c-item"}, "a-item" + sep + "c-item"},
        {"2010/05/04", {"x", "y"}, "x" + sep + "y"},
        {"2010/05/05", {}, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(lists.Items(c.date), c.items) << c.date;
        EXPECT_EQ(lists.Value(c.date), c.value) << c.date;
    }
    EXPECT_EQ(lists.Count(), 5U);
    EXPECT_EQ(lists.Entries(), (std::vector<std::string>{"2010/05/01=a-item", "2010/05/02=a-item" + sep + "b-item",
                                                         "2010/05/03=a-item" + sep + "c-item", "2010/05/02=c-item",
                                                         "2010/05/04=x" + sep + "y"}));
}

TEST(DayItemListsTest, EveryChangeGivesANewRevisionAndEqualityFollowsTheContent)
{
    DayItemLists lists = Filled();
    const DayItemLists same = Filled();
    EXPECT_EQ(lists, same);
    EXPECT_NE(lists.Revision(), same.Revision()) << "two fills are two contents as far as an index knows";
    const auto before = lists.Revision();
    lists.Add("2010/05/06", "z");
    EXPECT_NE(lists.Revision(), before);
    EXPECT_FALSE(lists == same);
    const auto added = lists.Revision();
    lists.Clear();
    EXPECT_NE(lists.Revision(), added);
    EXPECT_TRUE(lists.Empty());
    EXPECT_TRUE(lists.Items("2010/05/01").empty());
    EXPECT_EQ(DayItemLists().Revision(), 0U);
}

}  // namespace
}  // namespace dolvane
