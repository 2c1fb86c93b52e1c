#include "core/view/DragSelection.h"

#include <gtest/gtest.h>

namespace dolvane {
namespace {

std::string SelectedRows(const std::vector<ToDoRecord>& rows)
{
    std::string marks;
    for (const auto& row : rows) {
        marks += row.Selected ? 'x' : '.';
    }
    return marks;
}

TEST(DragSelectionTest, ComingBackClearsTheRowsPassedOver)
{
    std::vector<ToDoRecord> rows(30);
    SelectRowRange(rows, 10, 20);
    SelectRowRange(rows, 10, 15);
    // 10-15 selected, 16-19 cleared, 20 lies five rows after the range and keeps its state.
    EXPECT_EQ(SelectedRows(rows), "..........xxxxxx....x.........");

    rows[0].Selected = true;
    SelectRowRange(rows, 3, 1);  // upwards, near the top: the cleared margin stops at row 0
    EXPECT_EQ(SelectedRows(rows).substr(0, 10), ".xxx......");
}

TEST(DragSelectionTest, AutoScrollSpeedByDistance)
{
    // List from y 100 to 300, window from y 50, 400 high.
    struct Case {
        int y;
        int interval;
        int direction;
    };
    const Case cases[] = {
        {200, 1, 0},   {90, 100, -1}, {85, 100, -1}, {84, 30, -1}, {69, 30, -1}, {68, 1, -1}, {310, 100, 1},
        {315, 100, 1}, {316, 30, 1},  {331, 30, 1},  {332, 1, 1},  {51, 1, -1},  {450, 1, 1},
    };
    for (const auto& c : cases) {
        const AutoScrollStep step = AutoScrollStepFor(c.y, 100, 300, 50, 400);
        EXPECT_EQ(step.intervalMs, c.interval) << c.y;
        EXPECT_EQ(step.direction, c.direction) << c.y;
    }
}

}  // namespace
}  // namespace dolvane
