#include "core/view/RowColour.h"

#include "core/time/TimeTexts.h"

#include <gtest/gtest.h>

namespace dolvane {
namespace {

struct ColourCase {
    const char* what;
    const char* start;
    const char* deadline;
    const char* hours;
    const char* completion;
    bool completed;
    int keepDays;
    int secondsAfterNoon;    // now is 2010/04/10 12:00 plus this
    std::uint32_t expected;  // 0 for the normal background
};

TEST(RowColour, StateOfEachRow)
{
    const ColourCase cases[] = {
        {"open without deadline", "2010/04/01 09:00", "", "48", "", false, 7, 0, 0},
        {"deadline exactly now", "", "2010/04/10 12:00", "", "", false, 7, 0, 0},
        {"deadline 1 s ago", "", "2010/04/10 12:00", "", "", false, 7, 1, kOverdueColour},
        {"10 h left, 12 h warning", "", "2010/04/10 22:00", "12", "", false, 7, 0, kWarningColour},
        {"10 h left, 0 h warning", "", "2010/04/10 22:00", "0", "", false, 7, 0, 0},
        {"completed 8 days ago, keep 7", "", "", "", "2010/04/02 12:00", true, 7, 0, kOldCompletedColour},
        {"completed 8 days ago, keep 0", "", "", "", "2010/04/02 12:00", true, 0, 0, kCompletedColour},
        {"completed exactly 7 days ago", "", "", "", "2010/04/03 12:00", true, 7, 0, kCompletedColour},
        {"no completion, no start", "", "", "", "", true, 7, 0, kCompletedColour},
        {"no completion, old start", "2010/03/01 09:00", "", "", "", true, 7, 0, kOldCompletedColour},
        {"new completion, old start", "2010/03/01 09:00", "", "", "2010/04/09 12:00", true, 7, 0, kCompletedColour},
        {"completed, overdue deadline", "", "2010/04/01 12:00", "", "", true, 7, 0, kCompletedColour},
        {"unreadable deadline", "", "2010/02/30 12:00", "12", "", false, 7, 0, 0},
        {"bad completion, old start", "2010/03/01 09:00", "", "", "2010/04/02 24:00", true, 7, 0, kCompletedColour},
    };
    const DateTime noon = ParseDateTimeText("2010/04/10 12:00");
    for (const ColourCase& c : cases) {
        ToDoRecord row;
        row.StartText = c.start;
        row.DeadlineText = c.deadline;
        row.WarningHours = c.hours;
        row.CompletedText = c.completion;
        row.Completed = c.completed;
        const DateTime now{noon.days + c.secondsAfterNoon / 86'400.0};
        EXPECT_EQ(RowColour(row, now, c.keepDays).value_or(0), c.expected) << c.what;
    }
}

}  // namespace
}  // namespace dolvane
