#include "core/view/StatusRefresh.h"

#include "core/time/TimeTexts.h"
#include "support/Sjis.h"

#include <gtest/gtest.h>

namespace dolvane {
namespace {

ToDoRecord Row(const char* start, const char* deadline, bool completed = false, const char* completion = "")
{
    ToDoRecord row;
    row.StartText = start;
    row.DeadlineText = deadline;
    row.Completed = completed;
    row.CompletedText = completion;
    return row;
}

TEST(StatusRefresh, PassEndsOneTickAfterTheLastRowThenSlows)
{
    std::vector<ToDoRecord> rows(30);
    StatusRefresh refresh;
    const DateTime now = ParseDateTimeText("2010/04/10 12:00");
    const auto phase = [&refresh] {
        return std::to_string(refresh.RefreshRow()) + " @" + std::to_string(refresh.IntervalMs()) + "ms";
    };
    for (std::size_t tick = 1; tick <= 30; ++tick) {
        EXPECT_EQ(refresh.Tick(rows, now).changedRow, tick - 1);  // "" -> "無期限"
        EXPECT_EQ(phase(), std::to_string(tick) + " @100ms");
    }
    EXPECT_TRUE(refresh.Tick(rows, now).repaintAll);
    EXPECT_EQ(phase(), "0 @500ms");
    // Same clock, same texts: nothing is rewritten and the pass ends without a repaint, here ended
    // early by rows removed behind RefreshRow. An empty list changes nothing.
    for (int tick = 1; tick <= 30; ++tick) {
        EXPECT_FALSE(refresh.Tick(rows, now).changedRow);
    }
    rows.clear();
    refresh.Tick(rows, now);
    EXPECT_EQ(phase(), "30 @500ms");
    rows.resize(2);
    EXPECT_FALSE(refresh.Tick(rows, now).repaintAll);
    EXPECT_EQ(phase(), "0 @500ms");
    refresh.Restart();
    EXPECT_EQ(phase(), "0 @100ms");
}

TEST(StatusRefresh, RemainingTimeAppearsOnePassAfterTheStartIsReached)
{
    std::vector<ToDoRecord> rows{Row("2010/04/10 12:00", "2010/04/20 12:00")};
    ComputeRowTexts(rows[0], ParseDateTimeText("2010/04/10 11:00"));
    StatusRefresh refresh;
    std::string seen;
    for (const char* now :
         {"2010/04/10 11:30", "2010/04/10 11:30", "2010/04/10 12:30", "2010/04/10 12:30", "2010/04/10 12:31"}) {
        refresh.Tick(rows, ParseDateTimeText(now));
        seen += test::Utf8(rows[0].ElapsedText) + "/" + test::Utf8(rows[0].RemainingText) + " ";
    }
    EXPECT_EQ(seen, "待機/ 待機/ 30分/ 30分/ 31分/9日23時間 ");
}

TEST(RefreshRowStatus, CompletedAndRateTexts)
{
    const std::pair<ToDoRecord, const char*> cases[] = {
        {Row("2010/04/01 09:00", "", true, "2010/04/03 12:30"), "完了|2日と3時間"},
        {Row("2010/04/01 09:00", "", true, "2010/04/01 09:59"), "完了|"},
        {Row("2010/04/01 09:00", "2010/04/26 09:00", true), "完了|10日"},
        {Row("2010/04/01 09:00", "2010/04/26 09:00"), "15日|40%"},
        {Row("2010/04/01 09:00", ""), "無期限|10日"},
        {Row("2010/04/01 25:00", "2010/04/26 09:00"), "15日|"},
    };
    for (auto [row, expected] : cases) {
        RefreshRowStatus(row, ParseDateTimeText("2010/04/11 09:00"), true);  // rate mode
        EXPECT_EQ(test::Utf8(row.RemainingText) + "|" + test::Utf8(row.ElapsedText), expected);
    }
}

}  // namespace
}  // namespace dolvane
