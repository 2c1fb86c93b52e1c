#include "support/WindowModelFixture.h"

#include <algorithm>

namespace dolvane {
namespace {

using test::ReadBytes;
using test::Sj;
using test::WriteBytes;

class ListCommandsTest : public test::WindowModelTest {
protected:
    // Three open rows and one completed 8 days before now (2010/05/05 12:00).
    ListCommandsTest()
    {
        WriteBytes(paths_.ListFilePath, "2010/05/01 09:00+=03020@\\@#@#b\r\n"
                                        "2010/05/01 09:00+=03100@\\@#@#c\r\n"
                                        "2010/05/01 09:00+=03010@\\@#@#a\r\n"
                                        "2010/04/20 09:00|2010/04/27 09:00+=13050@\\@#@#old\r\n");
    }
};

TEST_F(ListCommandsTest, ACheckBoxOfASelectedRowTicksEverySelectedRow)
{
    const auto model = Make();
    for (const std::size_t row : {0U, 1U, 2U}) {
        model->List().SetRowSelected(row, row != 2);
    }
    model->List().PressCheckBox(0);
    EXPECT_TRUE(model->Rows()[0].Completed && model->Rows()[1].Completed);
    EXPECT_FALSE(model->Rows()[2].Completed);
    EXPECT_TRUE(model->State().UnsavedChanges);
    model->List().PressCheckBox(2);  // not selected: only this row
    EXPECT_TRUE(model->Rows()[2].Completed && model->Rows()[0].Completed);
}

TEST_F(ListCommandsTest, HeaderClicksAlternateDirectionAcrossColumns)
{
    const auto model = Make();
    const auto column = [&model](Field field) {
        std::string texts;
        for (const auto& row : model->Rows()) {
            texts += row.Text(field) + " ";
        }
        return texts;
    };
    model->List().SortByColumn(6);  // the first click ever sorts descending, as text: 50 > 20 > 100 > 10
    EXPECT_EQ(column(Field::Progress), "50 20 100 10 ");
    model->List().SortByColumn(4);  // the next, on another column, ascending
    EXPECT_EQ(column(Field::Task), "a b c old ");
    EXPECT_TRUE(model->State().OrderChanged);
    model->List().SortByColumn(11);  // not a column: nothing, and the direction stays
    model->List().SortByColumn(4);
    EXPECT_EQ(column(Field::Task), "old c b a ");
    ASSERT_TRUE(model->Apply());
    EXPECT_FALSE(model->State().OrderChanged);
}

TEST_F(ListCommandsTest, DragAndKeyboardHooks)
{
    const auto model = Make();
    model->List().RecordPress(1, -1);
    model->List().DragOver(3);
    EXPECT_EQ(model->List().DragAnchorRow(), 1);
    EXPECT_EQ(model->List().ClickedColumn(), -1);
    EXPECT_TRUE(!model->Rows()[0].Selected && model->Rows()[1].Selected && model->Rows()[3].Selected);
    model->Editing().ShowSelectedRow();
    EXPECT_EQ(model->Editing().ShownRow(), 1);
}

TEST_F(ListCommandsTest, DeleteAsksAndUndoBringsTheRowsBack)
{
    const auto model = Make();
    for (const std::size_t row : {0U, 1U, 3U}) {
        model->List().SetRowSelected(row, true);
    }
    prompts_.answer = false;
    model->List().DeleteSelected();
    EXPECT_EQ(prompts_.questions, std::vector<std::string>{"削除確認|3個のToDoを削除します。よろしいですか？"});
    EXPECT_EQ(model->Rows().size(), 4U);
    EXPECT_FALSE(model->State().UnsavedChanges);

    prompts_.answer = true;
    model->List().DeleteSelected();
    ASSERT_EQ(model->Rows().size(), 1U);
    EXPECT_EQ(model->Rows()[0].TaskText, "a");
    EXPECT_TRUE(model->State().UnsavedChanges && model->State().UndoAvailable);
    EXPECT_TRUE(model->State().DeletedFileLines.empty()) << "on 全て the full save drops them";

    model->Reload();
    EXPECT_EQ(model->Rows().size(), 4U);
    EXPECT_FALSE(model->State().UnsavedChanges || model->State().UndoAvailable);
}

TEST_F(ListCommandsTest, PopupMenuEnablingAndCsvOfTheSelection)
{
    const auto model = Make();
    auto menu = model->List().PopupMenuOpening();
    EXPECT_FALSE(menu.deleteRow || menu.sortSave || menu.enclose);
    model->List().SortByColumn(4);
    model->List().SetRowSelected(0, true);
    model->List().ToggleCsvEnclosing();
    menu = model->List().PopupMenuOpening();
    EXPECT_TRUE(menu.deleteRow && menu.sortSave && menu.enclose);
    model->List().ToggleCsvEnclosing();
    EXPECT_FALSE(model->List().PopupMenuOpening().enclose) << "toggled twice: cleared again";

    ASSERT_TRUE(model->List().ExportCsvTo(folder_ / "out.csv"));
    const std::string csv = ReadBytes(folder_ / "out.csv");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 2) << "the header and the one selected row";
}

// The status timer purges completed rows past the keeping period, asking once per run.
TEST_F(ListCommandsTest, ThePurgeWaitsForAKeepingPeriodAndAsksOnce)
{
    WriteBytes(paths_.ProgramFolder / "data.ini", "[tododel]\r\nValue=0\r\n");
    const auto model = Make();
    model->StatusTick();
    EXPECT_TRUE(prompts_.questions.empty()) << "keeping period 0: nothing is purged";

    model->Session().SetKeepDays(7);
    prompts_.answer = false;
    model->StatusTick();
    EXPECT_EQ(prompts_.questions,
              std::vector<std::string>{
                  "完了したToDoの削除確認|保持日数の 7日に該当するToDoが 1件見つかりました。削除しますか？"});
    EXPECT_EQ(model->Rows().size(), 4U);
    EXPECT_TRUE(model->Rows()[3].Selected) << "No leaves the found rows selected";
    model->StatusTick();
    EXPECT_EQ(prompts_.questions.size(), 1U) << "offered once per run";
}

TEST_F(ListCommandsTest, ThePurgeOnYesRemovesAndSaves)
{
    const auto model = Make();
    model->StatusTick();
    ASSERT_EQ(model->Rows().size(), 3U);
    EXPECT_EQ(ReadBytes(paths_.ListFilePath), "2010/05/01 09:00+=03020@\\@#@#b\r\n2010/05/01 09:00+=03100@\\@#@#c\r\n"
                                              "2010/05/01 09:00+=03010@\\@#@#a\r\n");
    EXPECT_EQ(sibling_.received.size(), 1U);
}

}  // namespace
}  // namespace dolvane
