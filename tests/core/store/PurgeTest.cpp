#include "core/store/Purge.h"

#include "core/time/TimeTexts.h"

#include <gtest/gtest.h>

namespace dolvane {
namespace {

ToDoRecord Row(bool completed, std::string completedText, std::string deadlineText = {})
{
    ToDoRecord row;
    row.Completed = completed;
    row.CompletedText = std::move(completedText);
    row.DeadlineText = std::move(deadlineText);
    return row;
}

TEST(PurgeTest, FindsCompletedRowsOlderThanTheKeepingPeriod)
{
    const DateTime now = ParseDateTimeText("2010/05/20 09:05");
    // Completed 8 days ago, 6 days ago, exactly at the limit, one minute before it, at no time.
    std::string found;
    for (const char* text : {"2010/05/12 09:05", "2010/05/14 09:05", "2010/05/13 09:05", "2010/05/13 09:04", ""}) {
        found += FindPurgeRows({Row(true, text)}, now, 7).empty() ? '0' : '1';
    }
    EXPECT_EQ(found, "10010");
    const auto finds = [&now](const ToDoRecord& row) { return FindPurgeRows({row}, now, 7).size() == 1; };
    EXPECT_TRUE(finds(Row(true, "", "2010/05/10 09:05"))) << "no completion time, deadline ten days ago";
    EXPECT_FALSE(finds(Row(true, "2010/05/19 09:00", "2010/05/01 09:00"))) << "completion time wins";
    EXPECT_FALSE(finds(Row(true, "2010/02/30 09:00", "2010/05/01 09:00"))) << "unreadable: no deadline instead";
    EXPECT_FALSE(finds(Row(false, "2010/05/01 09:00", "2010/05/01 09:00"))) << "not completed";
}

TEST(PurgeTest, IndicesComeHighestFirstAndRemoveOnlyThoseRows)
{
    const DateTime now = ParseDateTimeText("2010/05/20 12:00");
    std::vector<ToDoRecord> rows = {
        Row(true, "2010/05/01 12:00"), Row(false, ""),   Row(true, "2010/05/19 12:00"),
        Row(true, "2010/05/12 12:00"), Row(true, "bad"),
    };
    rows[1].Selected = true;
    const std::vector<std::size_t> found = FindPurgeRows(rows, now, 7);
    EXPECT_EQ(found, (std::vector<std::size_t>{3, 0}));

    SelectRows(rows, found);
    EXPECT_TRUE(rows[0].Selected && rows[1].Selected && !rows[2].Selected && rows[3].Selected && !rows[4].Selected);

    RemoveRows(rows, found);
    ASSERT_EQ(rows.size(), 3U);
    EXPECT_EQ(rows[0].CompletedText + "|" + rows[1].CompletedText + "|" + rows[2].CompletedText,
              "|2010/05/19 12:00|bad");
}

}  // namespace
}  // namespace dolvane
