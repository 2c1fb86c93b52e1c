#include "core/app/MainWindowModel.h"

#include "support/FakePorts.h"
#include "support/Sjis.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace dolvane {
namespace {

using test::Sj;

// Row 0 runs 2010/05/10 09:00 to 05/12 18:00, row 1 has no deadline, row 2 starts in March.
const char* const kList = "2010/05/10 09:00&2010/05/12 18:00+=03050@\\@#@#span\r\n"
                          "2010/05/11 08:00+=01000@\\@#@#single\r\n"
                          "2010/03/15 10:00&2010/03/16 10:00+=02000@\\@#@#march\r\n";

class MainWindowCalendarTest : public testing::Test {
protected:
    MainWindowCalendarTest()
    {
        const ProgramPaths paths = DeriveProgramPaths(folder_.Path() / "program", "aki", folder_.Path() / "opt");
        std::filesystem::create_directories(paths.ListFilePath.parent_path());
        test::WriteBytes(paths.ListFilePath, kList);
        model_ = std::make_unique<MainWindowModel>(paths, MainWindowPorts{clock_, prompts_, sibling_, nullptr, {}});
    }

    // Selects one row as a click in the list does.
    void Select(std::size_t row)
    {
        for (std::size_t i = 0; i < model_->Rows().size(); ++i) {
            model_->SetRowSelected(i, i == row);
        }
        model_->ShowSelectedRow();
    }

    std::string CurrentDay() const
    {
        const auto& calendar = model_->Calendar();
        return calendar.CellText(calendar.CurrentColumn, calendar.CurrentRow);
    }

    test::TempFolder folder_;
    test::FixedClock clock_;  // 2010/05/05 12:00
    test::ScriptedPrompts prompts_;
    test::FakeSibling sibling_;
    std::unique_ptr<MainWindowModel> model_;
};

TEST_F(MainWindowCalendarTest, OpensOnTodayOrOnTheSelectedToDosStartDay)
{
    model_->ShowCalendar(true);
    EXPECT_EQ(model_->Calendar().CaptionText(), "2010/05");
    EXPECT_EQ(CurrentDay(), "2010/05/05");
    EXPECT_TRUE(model_->DayListItems().empty());

    model_->ShowCalendar(false);
    Select(2);
    model_->ShowCalendar(true);
    EXPECT_EQ(model_->Calendar().CaptionText(), "2010/03");
    EXPECT_EQ(CurrentDay(), "2010/03/15");
    EXPECT_EQ(model_->DayListItems(), std::vector<std::string>{"march@\\@2"});
    model_->SelectShownToDoInDayList();
    EXPECT_EQ(model_->DayListSelection(), 0);
    EXPECT_TRUE(model_->Rows()[2].Selected);
}

TEST_F(MainWindowCalendarTest, ModeButtonCyclesThroughTheWeekViews)
{
    model_->ShowCalendar(true);
    std::vector<std::string> captions;
    for (int press = 0; press < 4; ++press) {
        model_->CycleCalendarMode();
        captions.emplace_back(MainWindowModel::CalendarModeCaption(model_->Calendar().CalendarViewMode));
        EXPECT_EQ(CurrentDay(), "2010/05/05") << "the selected day stays in view";
    }
    EXPECT_EQ(captions, (std::vector<std::string>{"21", "14", "7", "31"}));
}

TEST_F(MainWindowCalendarTest, DayListAndBarRowsSelectToDos)
{
    model_->ShowCalendar(true);
    ASSERT_TRUE(model_->Calendar().SelectCalendarDate("2010/05/11"));
    model_->SelectCalendarCell(model_->Calendar().CurrentColumn, model_->Calendar().CurrentRow);
    EXPECT_EQ(model_->DayListItems(), (std::vector<std::string>{"span@\\@0", "single@\\@1"}));

    // What painting the current cell left: slot 0 holds row 0, slot 2 row 1, slot 1 is empty.
    model_->Calendar().CurrentCellBarRows = NameValueList({"00=00000", "02=00001"});
    model_->ClickBarRow(2);
    EXPECT_EQ(model_->DayListSelection(), 1);
    EXPECT_EQ(model_->Calendar().SelectedBarRow, 2);
    EXPECT_TRUE(model_->Rows()[1].Selected);
    EXPECT_EQ(model_->Panel().Text(PanelField::Task), "single");

    model_->ClickBarRow(1);  // the empty row between them changes nothing
    EXPECT_TRUE(model_->Rows()[1].Selected);

    model_->ClickBarRow(-1);  // the day-number line
    EXPECT_EQ(model_->Calendar().SelectedBarRow, -1);
    EXPECT_EQ(model_->SelectedCount(), 0U);
    EXPECT_EQ(model_->Panel().Text(PanelField::Task), "");
}

TEST_F(MainWindowCalendarTest, DraggingMovesTheDeadlineOrTheStartWithinTheirLimits)
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
        model_->ShowCalendar(true);
        ASSERT_TRUE(model_->Calendar().SelectCalendarDate(c.from));
        const auto& calendar = model_->Calendar();
        model_->PressCalendarCell(calendar.CurrentColumn, calendar.CurrentRow);
        EXPECT_TRUE(model_->CalendarDropAllowed()) << c.from;
        ASSERT_TRUE(model_->Calendar().SelectCalendarDate(c.to));
        model_->DropOnCalendar(calendar.CurrentColumn, calendar.CurrentRow);
        const ToDoRecord& row = model_->Rows()[c.row];
        EXPECT_EQ(row.StartText, c.start) << c.from << " -> " << c.to;
        EXPECT_EQ(row.DeadlineText, c.deadline) << c.from << " -> " << c.to;
        EXPECT_EQ(model_->Panel().Text(PanelField::Deadline), c.deadline);
        EXPECT_EQ(model_->State().UnsavedChanges, c.moved);
        EXPECT_FALSE(model_->Panel().ReplaceEnabled());
        model_->ShowCalendar(false);
    }
}

TEST_F(MainWindowCalendarTest, DropsFromOtherDaysAndWithoutSelectionDoNothing)
{
    Select(0);
    model_->ShowCalendar(true);
    ASSERT_TRUE(model_->Calendar().SelectCalendarDate("2010/05/11"));  // inside the span, neither end
    const auto& calendar = model_->Calendar();
    model_->PressCalendarCell(calendar.CurrentColumn, calendar.CurrentRow);
    EXPECT_FALSE(model_->CalendarDropAllowed());

    Select(std::size_t(-1));
    model_->DropOnCalendar(calendar.CurrentColumn, calendar.CurrentRow);
    EXPECT_FALSE(model_->State().UnsavedChanges);
}

TEST_F(MainWindowCalendarTest, AddAndDateButtonsTakeTheSelectedDay)
{
    model_->SetDateFromCalendar(PanelField::Deadline);  // hidden calendar: nothing
    EXPECT_EQ(model_->Panel().Text(PanelField::Deadline), "");

    model_->ShowCalendar(true);
    ASSERT_TRUE(model_->Calendar().SelectCalendarDate("2010/05/20"));
    model_->SetDateFromCalendar(PanelField::Deadline);
    EXPECT_EQ(model_->Panel().Text(PanelField::Deadline), "2010/05/20 12:00");

    model_->SetPanelText(PanelField::Task, Sj("新しい"));
    model_->AddFromPanel();
    ASSERT_EQ(model_->Rows().size(), 4U);
    EXPECT_EQ(model_->Rows()[3].StartText, "2010/05/20 12:00");
    // The calendar follows the rows at once: the new to-do is in the day's list.
    model_->SelectCalendarCell(model_->Calendar().CurrentColumn, model_->Calendar().CurrentRow);
    EXPECT_EQ(model_->DayListItems(), std::vector<std::string>{Sj("新しい") + "@\\@3"});
}

}  // namespace
}  // namespace dolvane
