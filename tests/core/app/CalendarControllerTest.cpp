#include "support/WindowModelFixture.h"

namespace dolvane {
namespace {

using test::Sj;

// Row 0 runs 2010/05/10 09:00 to 05/12 18:00, row 1 has no deadline, row 2 starts in March.
const char* const kList = "2010/05/10 09:00&2010/05/12 18:00+=03050@\\@#@#span\r\n"
                          "2010/05/11 08:00+=01000@\\@#@#single\r\n"
                          "2010/03/15 10:00&2010/03/16 10:00+=02000@\\@#@#march\r\n";

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
        for (std::size_t i = 0; i < model_->Rows().size(); ++i) {
            model_->List().SetRowSelected(i, i == row);
        }
        model_->Editing().ShowSelectedRow();
    }

    std::string CurrentDay() const
    {
        const auto& calendar = model_->Calendar().Model();
        return calendar.CellText(calendar.CurrentColumn, calendar.CurrentRow);
    }

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
    EXPECT_EQ(model_->Calendar().Model().SelectedBarRow, 0);
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
        EXPECT_GT(model_->Calendar().Model().HolidayNameTicks, 0);
        clock_.now = {opened.days + seconds(step)};
        EXPECT_EQ(model_->StatusTick().repaintCalendar, !shown) << step << " s: repainted once they run out";
        EXPECT_EQ(model_->Calendar().Model().HolidayNameTicks > 0, shown) << step;
        clock_.now = opened;
        model_->Calendar().Show(false);
    }
    model_->Calendar().Show(true);
    clock_.now = {opened.days - seconds(60)};  // the clock was set back
    EXPECT_TRUE(model_->StatusTick().repaintCalendar);
    EXPECT_EQ(model_->Calendar().Model().HolidayNameTicks, 0);
}

TEST_F(CalendarControllerTest, ModeButtonCyclesThroughTheWeekViews)
{
    model_->Calendar().Show(true);
    std::vector<std::string> captions;
    for (int press = 0; press < 4; ++press) {
        model_->Calendar().CycleMode();
        captions.emplace_back(CalendarController::ModeCaption(model_->Calendar().Model().CalendarViewMode));
        EXPECT_EQ(CurrentDay(), "2010/05/05") << "the selected day stays in view";
    }
    EXPECT_EQ(captions, (std::vector<std::string>{"21", "14", "7", "31"}));
}

TEST_F(CalendarControllerTest, DayListAndBarRowsSelectToDos)
{
    model_->Calendar().Show(true);
    ASSERT_TRUE(model_->Calendar().Model().SelectCalendarDate("2010/05/11"));
    model_->Calendar().SelectCell(model_->Calendar().Model().CurrentColumn, model_->Calendar().Model().CurrentRow);
    EXPECT_EQ(model_->Calendar().DayListItems(), (std::vector<std::string>{"span@\\@0", "single@\\@1"}));
    // The rows of a cell are known as soon as it is current: span took row 0 on 05/10, single
    // the next free row on 05/11.
    EXPECT_EQ(model_->Calendar().Model().CurrentCellBarRows.Entries(),
              (std::vector<std::string>{"00=00000", "01=00001"}));
    model_->Calendar().ClickBarRow(1);
    EXPECT_TRUE(model_->Rows()[1].Selected);
    EXPECT_FALSE(model_->Rows()[0].Selected);

    // Rows with a gap between them (a to-do of the days before keeps its row): slot 0 holds row 0, slot 2 row 1, slot 1
    // is empty.
    model_->Calendar().Model().CurrentCellBarRows = NameValueList({"00=00000", "02=00001"});
    model_->Calendar().ClickBarRow(2);
    EXPECT_EQ(model_->Calendar().DayListSelection(), 1);
    EXPECT_EQ(model_->Calendar().Model().SelectedBarRow, 2);
    EXPECT_TRUE(model_->Rows()[1].Selected);
    EXPECT_EQ(model_->Editing().Panel().Text(PanelField::Task), "single");

    model_->Calendar().ClickBarRow(1);  // the empty row between them changes nothing
    EXPECT_TRUE(model_->Rows()[1].Selected);

    model_->Calendar().ClickBarRow(-1);  // the day-number line
    EXPECT_EQ(model_->Calendar().Model().SelectedBarRow, -1);
    EXPECT_EQ(model_->List().SelectedCount(), 0U);
    EXPECT_EQ(model_->Editing().Panel().Text(PanelField::Task), "");
}

TEST_F(CalendarControllerTest, DraggingMovesTheDeadlineOrTheStartWithinTheirLimits)
{
    struct Case {
        std::size_t row;
        std::string from, to;
        std::string start, deadline;
        bool moved;
    };
    for (const auto& c : {
             Case{0, "2010/05/12", "2010/05/08", "2010/05/10 09:00", "2010/05/12 18:00", false},  // before the start
             Case{0, "2010/05/12", "2010/05/14", "2010/05/10 09:00", "2010/05/14 18:00", true},
             Case{0, "2010/05/10", "2010/05/13", "2010/05/10 09:00", "2010/05/12 18:00", false},  // past the deadline
             Case{0, "2010/05/10", "2010/05/11", "2010/05/11 09:00", "2010/05/12 18:00", true},
             // Without a deadline the start cannot be dragged: the drop sets a deadline at now.
             Case{1, "2010/05/11", "2010/05/13", "2010/05/11 08:00", "2010/05/13 12:00", true},
         }) {
        model_->Reload();
        Select(c.row);
        model_->Calendar().Show(true);
        ASSERT_TRUE(model_->Calendar().Model().SelectCalendarDate(c.from));
        const auto& calendar = model_->Calendar().Model();
        model_->Calendar().PressCell(calendar.CurrentColumn, calendar.CurrentRow);
        EXPECT_TRUE(model_->Calendar().DropAllowed()) << c.from;
        ASSERT_TRUE(model_->Calendar().Model().SelectCalendarDate(c.to));
        model_->Calendar().Drop(calendar.CurrentColumn, calendar.CurrentRow);
        const ToDoRecord& row = model_->Rows()[c.row];
        EXPECT_EQ(row.StartText, c.start) << c.from << " -> " << c.to;
        EXPECT_EQ(row.DeadlineText, c.deadline) << c.from << " -> " << c.to;
        EXPECT_EQ(model_->Editing().Panel().Text(PanelField::Deadline), c.deadline);
        EXPECT_EQ(model_->State().UnsavedChanges, c.moved);
        EXPECT_FALSE(model_->Editing().Panel().ReplaceEnabled());
        model_->Calendar().Show(false);
    }
}

TEST_F(CalendarControllerTest, DropsFromOtherDaysAndWithoutSelectionDoNothing)
{
    Select(0);
    model_->Calendar().Show(true);
    ASSERT_TRUE(model_->Calendar().Model().SelectCalendarDate("2010/05/11"));  // inside the span, neither end
    const auto& calendar = model_->Calendar().Model();
    model_->Calendar().PressCell(calendar.CurrentColumn, calendar.CurrentRow);
    EXPECT_FALSE(model_->Calendar().DropAllowed());

    Select(std::size_t(-1));
    model_->Calendar().Drop(calendar.CurrentColumn, calendar.CurrentRow);
    EXPECT_FALSE(model_->State().UnsavedChanges);
}

TEST_F(CalendarControllerTest, AddAndDateButtonsTakeTheSelectedDay)
{
    model_->Calendar().SetDateFromCalendar(PanelField::Deadline);  // hidden calendar: nothing
    EXPECT_EQ(model_->Editing().Panel().Text(PanelField::Deadline), "");

    model_->Calendar().Show(true);
    ASSERT_TRUE(model_->Calendar().Model().SelectCalendarDate("2010/05/20"));
    model_->Calendar().SetDateFromCalendar(PanelField::Deadline);
    EXPECT_EQ(model_->Editing().Panel().Text(PanelField::Deadline), "2010/05/20 12:00");

    model_->Editing().SetText(PanelField::Task, Sj("新しい"));
    model_->AddFromPanel();
    ASSERT_EQ(model_->Rows().size(), 4U);
    EXPECT_EQ(model_->Rows()[3].StartText, "2010/05/20 12:00");
    // The calendar follows the rows at once: the new to-do is in the day's list.
    model_->Calendar().SelectCell(model_->Calendar().Model().CurrentColumn, model_->Calendar().Model().CurrentRow);
    EXPECT_EQ(model_->Calendar().DayListItems(), std::vector<std::string>{Sj("新しい") + "@\\@3"});
}

}  // namespace
}  // namespace dolvane
