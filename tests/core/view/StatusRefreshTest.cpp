#include "core/view/StatusRefresh.h"

#include "core/store/RecordLine.h"
#include "core/time/TimeTexts.h"
#include "support/Sjis.h"

#include <gtest/gtest.h>

namespace dolvane {
namespace {

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
    std::vector<ToDoRecord> rows{ParseRecordLine("2010/04/10 12:00&2010/04/20 12:00+=0")};
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
    // Record lines: start & deadline | completion, "=1" for a completed row.
    const std::pair<const char*, const char*> cases[] = {{"2010/04/01 09:00|2010/04/03 12:30+=1", "完了|2日と3時間"},
                                                         {"2010/04/01 09:00|2010/04/01 09:59+=1", "完了|"},
                                                         {"2010/04/01 09:00&2010/04/26 09:00+=1", "完了|10日"},
                                                         {"2010/04/01 09:00&2010/04/26 09:00+=0", "15日|40%"},
                                                         {"2010/04/01 09:00+=0", "無期限|10日"},
                                                         {"2010/04/01 25:00&2010/04/26 09:00+=0", "15日|"}};
    for (const auto& [line, expected] : cases) {
        ToDoRecord row = ParseRecordLine(line);
        RefreshRowStatus(row, ParseDateTimeText("2010/04/11 09:00"), true);  // rate mode
        EXPECT_EQ(test::Utf8(row.RemainingText) + "|" + test::Utf8(row.ElapsedText), expected);
    }
}

// The companion lists rows in one pass; it must show what the window shows after a load and one
// refresh, for every kind of row.
TEST(ComputeSettledRowTexts, GivesWhatALoadAndOneRefreshGive)
{
    const char* const lines[] = {
        "2010/05/01 09:00&2010/05/20 18:00+24=03050@\\@#@#open, deadline ahead",
        "2010/05/01 09:00&2010/05/02 18:00+48=03050@\\@#@#overdue",
        "2010/06/01 09:00&2010/06/20 18:00+=03000@\\@#@#not started yet",
        "2010/05/01 09:00+=03000@\\@#@#no deadline",
        "+=03000@\\@#@#no start",
        "2010/05/01 09:00|2010/05/03 15:00+=13100@\\@#@#completed",
        "2010/05/01 09:00+=13100@\\@#@#completed without a time",
        "2010/13/45 09:00&2010/05/20 18:00+24=03000@\\@#@#start unreadable",
        "2010/05/01 09:00&20xx/05/20+24=03000@\\@#@#deadline unreadable",
        "2010/05/01 09:00|bad+=13100@\\@#@#completion unreadable",
        "2010/05/01 09:00&2010/05/20 18:00+9999=03000@\\@#@#long warning",
    };
    const DateTime now = ParseDateTimeText("2010/05/10 12:00");
    for (const char* line : lines) {
        ToDoRecord twoSteps = ParseRecordLine(line);
        ComputeRowTexts(twoSteps, now);
        RefreshRowStatus(twoSteps, now, false);
        ToDoRecord settled = ParseRecordLine(line);
        ComputeSettledRowTexts(settled, now);
        EXPECT_EQ(settled.RemainingText, twoSteps.RemainingText) << line;
        EXPECT_EQ(settled.ElapsedText, twoSteps.ElapsedText) << line;
        EXPECT_EQ(settled.WarningText, twoSteps.WarningText) << line;
    }
}

}  // namespace
}  // namespace dolvane
