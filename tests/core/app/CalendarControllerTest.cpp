#include "support/WindowModelFixture.h"

#include <functional>

namespace dolvane {
namespace {

using test::Sj;

// Row 0 runs 2010/05/10 09:00 to 05/12 18:00, row 1 has no deadline, row 2 starts in March, row 3
// runs 05/11 to 05/13, row 4 lies on 06/15.
const char* const kList = "2010/05/10 09:00&2010/05/12 18:00+=03050@\\@#@#span\r\n"
                          "2010/05/11 08:00+=01000@\\@#@#single\r\n"
                          "2010/03/15 10:00&2010/03/16 10:00+=02000@\\@#@#march\r\n"
                          "2010/05/11 09:00&2010/05/13 18:00+=03000@\\@#@#later\r\n"
                          "2010/06/15 09:00+=01000@\\@#@#june\r\n";

class CalendarControllerTest : public test::WindowModelTest {
protected:
    CalendarControllerTest()
    {
        test::WriteBytes(paths_.ListFilePath, kList);
        model_ = Make();
    }

    // Selects one row as a click in the list does.
    void Select(std::size_t row)
    {
        model_->Document().SelectOnly(row);
        model_->Editing().ShowSelectedRow();
    }

    // Makes the cell of `date` current, as a click on it does.
    void SelectDay(std::string_view date)
    {
        CalendarModel shown = model_->Calendar().Model();
        ASSERT_TRUE(shown.SelectCalendarDate(date)) << date << " is not shown";
        model_->Calendar().SelectCell(shown.CurrentColumn(), shown.CurrentRow());
    }

    std::string CurrentDay() const { return model_->Calendar().Model().CurrentDate(); }

    std::unique_ptr<MainWindowModel> model_;  // at 2010/05/05 12:00
};

TEST_F(CalendarControllerTest, OpensOnTodayOrOnTheSelectedToDosStartDay)
{
    model_->Calendar().Show(true);
    EXPECT_EQ(model_->Calendar().Model().CaptionText(), "2010/05");
    EXPECT_EQ(CurrentDay(), "2010/05/05");
    EXPECT_TRUE(model_->Calendar().DayListItems().empty());

    model_->Calendar().Show(false);
    Select(2);
    model_->Calendar().Show(true);
    EXPECT_EQ(model_->Calendar().Model().CaptionText(), "2010/03");
    EXPECT_EQ(CurrentDay(), "2010/03/15");
    EXPECT_EQ(model_->Calendar().DayListItems(), std::vector<std::string>{"march@\\@2"});
    EXPECT_EQ(model_->Calendar().DayListSelection(), 0) << "selected at once, before any painting";
    EXPECT_EQ(model_->Calendar().Model().SelectedBarRow(), 0);
    EXPECT_TRUE(model_->Rows()[2].Selected);
}

TEST_F(CalendarControllerTest, HolidayNamesShowForTwoSecondsHoweverFastTheTimerTicks)
{
    const auto seconds = [](double s) { return s / 86400.0; };
    const DateTime opened = clock_.now;
    for (const auto& [step, shown] : {std::pair{1.9, true}, std::pair{2.0, false}, std::pair{2.5, false}}) {
        model_->Calendar().Show(true);
        clock_.now = {opened.days + seconds(0.5)};  // one slow (500 ms) tick
        EXPECT_FALSE(model_->StatusTick().repaintCalendar);
        EXPECT_GT(model_->Calendar().Model().HolidayNameTicks(), 0);
        clock_.now = {opened.days + seconds(step)};
        EXPECT_EQ(model_->StatusTick().repaintCalendar, !shown) << step << " s: repainted once they run out";
        EXPECT_EQ(model_->Calendar().Model().HolidayNameTicks() > 0, shown) << step;
        clock_.now = opened;
        model_->Calendar().Show(false);
    }
    model_->Calendar().Show(true);
    clock_.now = {opened.days - seconds(60)};  // the clock was set back
    EXPECT_TRUE(model_->StatusTick().repaintCalendar);
    EXPECT_EQ(model_->Calendar().Model().HolidayNameTicks(), 0);
}

TEST_F(CalendarControllerTest, ModeButtonCyclesThroughTheWeekViews)
{
    model_->Calendar().Show(true);
    std::vector<std::string> captions;
    for (int press = 0; press < 4; ++press) {
        model_->Calendar().CycleMode();
        captions.emplace_back(CalendarController::ModeCaption(model_->Calendar().Model().ViewMode()));
        EXPECT_EQ(CurrentDay(), "2010/05/05") << "the selected day stays in view";
    }
    EXPECT_EQ(captions, (std::vector<std::string>{"21", "14", "7", "31"}));
}

TEST_F(CalendarControllerTest, DayListAndBarRowsSelectToDos)
{
    CalendarController& calendar = model_->Calendar();
    calendar.Show(true);
    SelectDay("2010/05/11");
    const DayItem* items = &calendar.Model().DayTodoLists().Items("2010/05/11")[0];
    EXPECT_EQ(calendar.DayListItems(), (std::vector<std::string>{"span@\\@0", "later@\\@3", "single@\\@1"}));
    // Bar row 2 holds single: span took row 0 on 05/10, later and single the next free rows.
    calendar.ClickBarRow(2);
    // Selecting changes no row: the day lists (and the items they share) stay as they are.
    EXPECT_EQ(&calendar.Model().DayTodoLists().Items("2010/05/11")[0], items);
    EXPECT_TRUE(model_->Rows()[1].Selected);
    EXPECT_FALSE(model_->Rows()[0].Selected);
    EXPECT_EQ(calendar.DayListSelection(), 2);
    EXPECT_EQ(calendar.Model().SelectedBarRow(), 2);
    EXPECT_EQ(model_->Editing().Panel().Text(PanelField::Task), "single");

    // On 05/13 later keeps its row 1 and row 0 is empty: a click there changes nothing.
    SelectDay("2010/05/13");
    calendar.ClickBarRow(0);
    EXPECT_TRUE(model_->Rows()[1].Selected);
    calendar.ClickBarRow(1);
    EXPECT_TRUE(model_->Rows()[3].Selected);
    EXPECT_EQ(calendar.DayListSelection(), 0);

    calendar.ClickBarRow(-1);  // the day-number line
    EXPECT_EQ(calendar.Model().SelectedBarRow(), -1);
    EXPECT_EQ(model_->List().SelectedCount(), 0U);
    EXPECT_EQ(model_->Editing().Panel().Text(PanelField::Task), "");
    EXPECT_EQ(&calendar.Model().DayTodoLists().Items("2010/05/11")[0], items);
}

// The highlight marks the to-do the panel shows wherever the current cell goes: on another day of
// its bar, on no bar where it is absent, never on another to-do's bar.
TEST_F(CalendarControllerTest, TheHighlightFollowsTheSelectedToDo)
{
    CalendarController& calendar = model_->Calendar();
    calendar.Show(true);
    SelectDay("2010/05/11");
    calendar.ClickBarRow(0);
    ASSERT_TRUE(model_->Rows()[0].Selected);
    const auto highlighted = [&calendar]() -> std::int32_t {
        const int slot = calendar.Model().SelectedBarRow();
        return slot < 0 ? -1 : calendar.Model().CurrentCellBars()[static_cast<std::size_t>(slot)];
    };
    struct Case {
        const char* what;
        std::function<void()> move;
        std::string day;
        std::int32_t highlighted;
    };
    for (const auto& c : {
             Case{"step to June", [&] { calendar.Step(true); }, "2010/06/15", -1},  // june lies on row 0 there
             Case{"step back", [&] { calendar.Step(false); }, "2010/05/11", 0},
             Case{"arrow right", [&] { calendar.SelectCell(3, 3); }, "2010/05/12", 0},
             Case{"arrow right", [&] { calendar.SelectCell(4, 3); }, "2010/05/13", -1},  // later on row 1 alone
             Case{"three weeks", [&] { calendar.CycleMode(); }, "2010/05/13", -1},
             Case{"arrow left", [&] { calendar.SelectCell(2, 1); }, "2010/05/11", 0},
         }) {
        c.move();
        EXPECT_EQ(CurrentDay(), c.day) << c.what;
        EXPECT_EQ(highlighted(), c.highlighted) << c.what;
    }
}

TEST_F(CalendarControllerTest, DraggingMovesTheDeadlineOrTheStartWithinTheirLimits)
{
    struct Case {
        std::size_t row;
        std::string from, to;
        std::string start, deadline;
        bool allowed, moved;
    };
    // The deadline before the start, and later; the start past the deadline, and earlier; neither
    // end. Without a deadline the start cannot be dragged: the drop sets a deadline at now.
    for (const auto& c : {
             Case{0, "2010/05/12", "2010/05/08", "2010/05/10 09:00", "2010/05/12 18:00", true, false},
             Case{0, "2010/05/12", "2010/05/14", "2010/05/10 09:00", "2010/05/14 18:00", true, true},
             Case{0, "2010/05/10", "2010/05/13", "2010/05/10 09:00", "2010/05/12 18:00", true, false},
             Case{0, "2010/05/10", "2010/05/11", "2010/05/11 09:00", "2010/05/12 18:00", true, true},
             Case{0, "2010/05/11", "2010/05/13", "2010/05/10 09:00", "2010/05/12 18:00", false, false},
             Case{1, "2010/05/11", "2010/05/13", "2010/05/11 08:00", "2010/05/13 12:00", true, true},
         }) {
        model_->Reload();
        Select(c.row);
        model_->Calendar().Show(true);
        SelectDay(c.from);
        const auto& calendar = model_->Calendar().Model();
        model_->Calendar().PressCell(calendar.CurrentColumn(), calendar.CurrentRow());
        EXPECT_EQ(model_->Calendar().DropAllowed(), c.allowed) << c.from;
        SelectDay(c.to);
        model_->Calendar().Drop(calendar.CurrentColumn(), calendar.CurrentRow());
        const ToDoRecord& row = model_->Rows()[c.row];
        EXPECT_EQ(row.StartText, c.start) << c.from << " -> " << c.to;
        EXPECT_EQ(row.DeadlineText, c.deadline) << c.from << " -> " << c.to;
        EXPECT_EQ(model_->Editing().Panel().Text(PanelField::Deadline), c.deadline);
        EXPECT_EQ(model_->State().UnsavedChanges, c.moved);
        EXPECT_FALSE(model_->Editing().Panel().ReplaceEnabled());
        model_->Calendar().Show(false);
    }
}

// With no to-do selected a drop moves nothing, and the day goes to a date button or a new to-do.
TEST_F(CalendarControllerTest, AddAndDateButtonsTakeTheSelectedDay)
{
    model_->Calendar().SetDateFromCalendar(PanelField::Deadline);  // hidden calendar: nothing
    EXPECT_EQ(model_->Editing().Panel().Text(PanelField::Deadline), "");

    model_->Calendar().Show(true);
    SelectDay("2010/05/20");
    model_->Calendar().Drop(model_->Calendar().Model().CurrentColumn(), model_->Calendar().Model().CurrentRow());
    EXPECT_FALSE(model_->State().UnsavedChanges);
    model_->Calendar().SetDateFromCalendar(PanelField::Deadline);
    EXPECT_EQ(model_->Editing().Panel().Text(PanelField::Deadline), "2010/05/20 12:00");

    model_->Editing().SetText(PanelField::Task, Sj("新しい"));
    model_->AddFromPanel();
    ASSERT_EQ(model_->Rows().size(), 6U);
    EXPECT_EQ(model_->Rows()[5].StartText, "2010/05/20 12:00");
    // The calendar follows the rows at once: the new to-do is in the day's list.
    EXPECT_EQ(model_->Calendar().DayListItems(), std::vector<std::string>{Sj("新しい") + "@\\@5"});
}

}  // namespace
}  // namespace dolvane
