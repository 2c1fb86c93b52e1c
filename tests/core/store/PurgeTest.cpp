#include "core/store/Purge.h"

#include "core/time/TimeTexts.h"

#include "support/Sjis.h"

#include <gtest/gtest.h>

namespace dolvane {
namespace {

using test::Sj;

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
    const struct {
        const char* name;
        ToDoRecord row;
        bool found;
    } cases[] = {
        {"completed eight days ago", Row(true, "2010/05/12 09:05"), true},
        {"completed six days ago", Row(true, "2010/05/14 09:05"), false},
        {"exactly at the limit", Row(true, "2010/05/13 09:05"), false},
        {"one minute before the limit", Row(true, "2010/05/13 09:04"), true},
        {"not completed", Row(false, "2010/05/01 09:00", "2010/05/01 09:00"), false},
        {"no completion time, deadline ten days ago", Row(true, "", "2010/05/10 09:05"), true},
        {"completion time wins over an old deadline", Row(true, "2010/05/19 09:00", "2010/05/01 09:00"), false},
        {"neither text", Row(true, ""), false},
        {"unreadable completion time", Row(true, "2010/02/30 09:00", "2010/05/01 09:00"), false},
        {"unreadable deadline", Row(true, "", Sj("来週")), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindPurgeRows({c.row}, now, 7).size(), c.found ? 1U : 0U) << c.name;
    }
}

TEST(PurgeTest, IndicesComeHighestFirstAndRemoveOnlyThoseRows)
{
    const DateTime now = ParseDateTimeText("2010/05/20 12:00");
    std::vector<ToDoRecord> rows = {
        Row(true, "2010/05/01 12:00"), Row(false, ""),   Row(true, "2010/05/19 12:00"),
        Row(true, "2010/05/12 12:00"), Row(true, "bad"),
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].TaskText = std::to_string(i);
    }
    rows[1].Selected = true;
    const std::vector<std::size_t> found = FindPurgeRows(rows, now, 7);
    EXPECT_EQ(found, (std::vector<std::size_t>{3, 0}));

    SelectRows(rows, found);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].Selected, i == 0 || i == 1 || i == 3) << "row " << i;
    }

    RemoveRows(rows, found);
    ASSERT_EQ(rows.size(), 3U);
    EXPECT_EQ(rows[0].TaskText + rows[1].TaskText + rows[2].TaskText, "124");
}

TEST(PurgeTest, QuestionAndCaptionTexts)
{
    EXPECT_EQ(PurgeQuestionText(7, 3), Sj("保持日数の 7日に該当するToDoが 3件見つかりました。削除しますか？"));
    EXPECT_EQ(PurgeCaption(), Sj("完了したToDoの削除確認"));
}

}  // namespace
}  // namespace dolvane
