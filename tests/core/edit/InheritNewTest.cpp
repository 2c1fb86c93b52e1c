#include "core/edit/InheritNew.h"

#include "core/time/TimeTexts.h"

#include <gtest/gtest.h>

#include <string>

namespace dolvane {
namespace {

// The dates of a source to-do, as each case gives them.
struct Dates {
    const char* what;
    const char* start;
    const char* deadline;
    const char* completed;
    const char* newStart;
    const char* result;  // the new deadline, or "error: " and the text the error names

    ToDoRecord Source() const
    {
        ToDoRecord source;
        source.StartText = start;
        source.DeadlineText = deadline;
        source.CompletedText = completed;
        return source;
    }
};

// The new deadline lies as many whole hours after the new start as the source's end lay after
// its start; the hour step is 0.041667 day and the result is shown to the minute. A text that is
// not a date and time stops the rule with the reader's error, naming that text; the source's
// start is read even when the source has no end.
TEST(InheritNewTest, TheDeadlineKeepsTheSpanInWholeHoursOrNamesAnUnreadableText)
{
    const Dates cases[] = {
        {"54 hours", "2010/04/01 09:00", "2010/04/03 15:30", "", "2010/05/10 10:00", "2010/05/12 16:00"},
        {"the completion wins over the deadline", "2010/04/01 09:00", "2010/04/03 15:30", "2010/04/01 12:10",
         "2010/05/10 10:00", "2010/05/10 13:00"},
        {"59 minutes are no hour", "2010/04/01 09:00", "2010/04/01 09:59", "", "2010/05/10 10:00", "2010/05/10 10:00"},
        {"an end before the start", "2010/04/02 09:00", "2010/04/01 09:00", "", "2010/05/10 10:00", "2010/05/10 10:00"},
        {"no end: no deadline", "2010/04/01 09:00", "", "", "2010/05/10 10:00", ""},
        {"23 hours cross midnight", "2010/04/01 09:00", "2010/04/02 08:00", "", "2010/05/10 10:00", "2010/05/11 09:00"},
        {"a day exactly", "2010/04/01 09:00", "2010/04/02 09:00", "", "2010/12/31 23:30", "2011/01/01 23:30"},
        {"23 steps of 0.041667 day stay in the minute", "2010/04/01 00:00", "2010/04/01 23:59", "", "2010/05/10 00:59",
         "2010/05/10 23:59"},
        {"a year of hours", "2010/01/01 00:00", "2011/01/01 00:00", "", "2012/02/28 06:00", "2013/02/27 06:00"},
        {"an empty source start", "", "2010/04/03 15:30", "", "2010/05/10 10:00", "error: "},
        {"an empty start without an end", "", "", "", "2010/05/10 10:00", "error: "},
        {"a broken deadline", "2010/04/01 09:00", "2010/04/31 15:30", "", "2010/05/10 10:00",
         "error: 2010/04/31 15:30"},
        {"a broken completion", "2010/04/01 09:00", "2010/04/03 15:30", "2010/4/1 9:00", "2010/05/10 10:00",
         "error: 2010/4/1 9:00"},
        {"a broken new start", "2010/04/01 09:00", "2010/04/03 15:30", "", "x", "error: x"},
    };
    for (const Dates& c : cases) {
        SCOPED_TRACE(c.what);
        std::string result;
        try {
            result = InheritedDeadline(c.Source(), c.newStart);
        } catch (const ConvertError& error) {
            result = "error: " + error.Text();
        }
        EXPECT_EQ(result, c.result);
    }
}

}  // namespace
}  // namespace dolvane
