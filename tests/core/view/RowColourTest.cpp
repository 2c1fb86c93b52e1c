#include "core/view/RowColour.h"

#include "core/store/RecordLine.h"
#include "core/time/TimeTexts.h"

#include <gtest/gtest.h>

namespace dolvane {
namespace {

// Each row as the name part of its record line ("start&deadline|completion+hours") and whether it
// is completed; now is 2010/04/10 12:00 plus some seconds; 0 is the normal background.
TEST(RowColour, StateOfEachRow)
{
    const struct {
        const char* what;
        const char* name;
        bool completed;
        int keepDays;
        int secondsAfterNoon;
        std::uint32_t expected;
    } cases[] = {
        {"open without deadline", "2010/04/01 09:00+48", false, 7, 0, 0},
        {"deadline exactly now", "&2010/04/10 12:00+", false, 7, 0, 0},
        {"deadline 1 s ago", "&2010/04/10 12:00+", false, 7, 1, kOverdueColour},
        {"10 h left, 12 h warning", "&2010/04/10 22:00+12", false, 7, 0, kWarningColour},
        {"10 h left, 0 h warning", "&2010/04/10 22:00+0", false, 7, 0, 0},
        {"completed 8 days ago, keep 7", "|2010/04/02 12:00+", true, 7, 0, kOldCompletedColour},
        {"completed 8 days ago, keep 0", "|2010/04/02 12:00+", true, 0, 0, kCompletedColour},
        {"completed exactly 7 days ago", "|2010/04/03 12:00+", true, 7, 0, kCompletedColour},
        {"no completion, no start", "+", true, 7, 0, kCompletedColour},
        {"no completion, old start", "2010/03/01 09:00+", true, 7, 0, kOldCompletedColour},
        {"new completion, old start", "2010/03/01 09:00|2010/04/09 12:00+", true, 7, 0, kCompletedColour},
        {"completed, overdue deadline", "&2010/04/01 12:00+", true, 7, 0, kCompletedColour},
        {"unreadable deadline", "&2010/02/30 12:00+12", false, 7, 0, 0},
        {"bad completion, old start", "2010/03/01 09:00|2010/04/02 24:00+", true, 7, 0, kCompletedColour},
    };
    const DateTime noon = ParseDateTimeText("2010/04/10 12:00");
    for (const auto& c : cases) {
        const ToDoRecord row = ParseRecordLine(std::string(c.name) + (c.completed ? "=1" : "=0"));
        const DateTime now{noon.days + c.secondsAfterNoon / 86'400.0};
        EXPECT_EQ(RowColour(row, now, c.keepDays).value_or(0), c.expected) << c.what;
    }
}

}  // namespace
}  // namespace dolvane
