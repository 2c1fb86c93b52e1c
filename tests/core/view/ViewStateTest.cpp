#include "core/view/ViewState.h"

#include "core/store/RecordLine.h"
#include "support/Sjis.h"

#include <gtest/gtest.h>

namespace dolvane {
namespace {

using test::Sj;

TEST(RowStaysInViewTest, WhichRowsLeaveAfterApplying)
{
    const ToDoRecord open = ParseRecordLine("2010/05/01 09:00+=00000@\\@#@#open");
    const ToDoRecord done = ParseRecordLine("2010/05/01 09:00+=10000@\\@#@#done");
    const ToDoRecord work = ParseRecordLine("+=00000@\\@" + Sj("仕事") + "#@#w");
    EXPECT_FALSE(RowStaysInView(done, {MainTab::Open, Sj("全て"), 0}));
    EXPECT_FALSE(RowStaysInView(open, {MainTab::Done, Sj("全て"), 0}));
    EXPECT_TRUE(RowStaysInView(done, {MainTab::Done, Sj("全て"), 0}));
    EXPECT_FALSE(RowStaysInView(work, {MainTab::Open, Sj("なし"), 1}));
    EXPECT_TRUE(RowStaysInView(open, {MainTab::Open, Sj("なし"), 1}));
    EXPECT_TRUE(RowStaysInView(work, {MainTab::Open, Sj("仕事"), 2}));
    EXPECT_FALSE(RowStaysInView(work, {MainTab::Open, Sj("家庭"), 3}));
    EXPECT_TRUE(RowStaysInView(work, {MainTab::None, "", 0})) << "only category tabs filter by category";

    std::vector<ToDoRecord> rows = {done, open, work};
    RemoveRowsLeavingView(rows, {MainTab::Open, Sj("全て"), 0});
    EXPECT_EQ(rows.size(), 2U);
    EXPECT_EQ(rows[0].TaskText + rows[1].TaskText, "openw");
}

}  // namespace
}  // namespace dolvane
