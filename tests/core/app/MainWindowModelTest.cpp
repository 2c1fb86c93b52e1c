#include "core/app/MainWindowModel.h"

#include "core/time/TimeTexts.h"
#include "core/view/ViewFilter.h"
#include "support/FakePorts.h"
#include "support/Sjis.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace dolvane {
namespace {

using test::FakeSettingsStore;
using test::FakeSibling;
using test::FixedClock;
using test::ReadBytes;
using test::ScriptedPrompts;
using test::Sj;
using test::TempFolder;
using test::WriteBytes;

const std::string kSaveQuestion = "ToDo|ToDoリストが変更されています。保存しますか？";
const std::string kLine = "2010/05/01 09:00&2010/05/10 18:00+24=03050@\\@#@#task";

class MainWindowModelTest : public testing::Test {
protected:
    MainWindowModelTest()
    {
        paths_ = DeriveProgramPaths(folder_.Path() / "program", "aki", folder_.Path() / "opt");
        std::filesystem::create_directories(paths_.ListFilePath.parent_path());
        WriteBytes(paths_.ListFilePath, kLine + "\r\n");
    }

    std::unique_ptr<MainWindowModel> Make()
    {
        auto model = std::make_unique<MainWindowModel>(
            paths_, MainWindowPorts{clock_, prompts_, sibling_, &siblingSettings_, {}});
        model->FormCreate();
        return model;
    }

    TempFolder folder_;
    ProgramPaths paths_;
    FixedClock clock_;
    ScriptedPrompts prompts_;
    FakeSibling sibling_;
    FakeSettingsStore siblingSettings_;
};

TEST_F(MainWindowModelTest, StartsWithTheListLoadedOnTheAllTab)
{
    const auto model = Make();
    ASSERT_EQ(model->Rows().size(), 1U);
    EXPECT_EQ(model->Rows()[0].RemainingText, Sj("5日6時間")) << "computed at the clock's now";
    EXPECT_FALSE(model->State().UnsavedChanges);
    EXPECT_EQ(model->Tabs().CategoryTabText(), Sj("全て"));
    EXPECT_TRUE(model->Purge().Pending());
}

TEST_F(MainWindowModelTest, ClosingAsksOnlyWithUnsavedChangesAndSavesOnlyOnYes)
{
    struct Case {
        bool change;
        bool answer;
        bool asked;
        bool saved;
    };
    for (const Case c :
         {Case{false, true, false, false}, Case{true, false, true, false}, Case{true, true, true, true}}) {
        WriteBytes(paths_.ListFilePath, kLine + "\r\n");
        prompts_.questions.clear();
        sibling_.received.clear();
        prompts_.answer = c.answer;
        const auto model = Make();
        if (c.change) {
            model->List().SetRowCompleted(0, true);
        }
        EXPECT_TRUE(model->CloseQuery());
        EXPECT_EQ(prompts_.questions, c.asked ? std::vector<std::string>{kSaveQuestion} : std::vector<std::string>{});
        const bool saved = ReadBytes(paths_.ListFilePath) != kLine + "\r\n";
        EXPECT_EQ(saved, c.saved) << "change " << c.change << " answer " << c.answer;
        EXPECT_EQ(sibling_.received.size(), c.saved ? 1U : 0U);
    }
}

// The notice after a save is checked with the store; here only that an absent sibling is no error.
TEST_F(MainWindowModelTest, SavingWithoutASiblingReportsNothing)
{
    sibling_.running = false;
    const auto model = Make();
    model->List().SetRowCompleted(0, true);
    EXPECT_EQ(model->Rows()[0].RemainingText, Sj("完了"));
    ASSERT_TRUE(model->Apply());
    EXPECT_TRUE(prompts_.errors.empty() && prompts_.messages.empty());
}

TEST_F(MainWindowModelTest, AFailedSaveOnCloseKeepsTheWindowOpen)
{
    const auto model = Make();
    model->List().SetRowCompleted(0, true);
    std::filesystem::remove(paths_.ListFilePath);
    std::filesystem::create_directory(paths_.ListFilePath);  // the file cannot be replaced now
    EXPECT_FALSE(model->CloseQuery());
    EXPECT_EQ(prompts_.errors.size(), 1U);
    EXPECT_TRUE(model->State().UnsavedChanges);
}

TEST_F(MainWindowModelTest, AFileChangedBehindTheProgramIsOverwrittenOnlyWhenConfirmed)
{
    const auto model = Make();
    model->List().SetRowCompleted(0, true);
    const std::string other = kLine + "\r\n" + kLine + "2\r\n";
    WriteBytes(paths_.ListFilePath, other);
    prompts_.answer = false;
    EXPECT_FALSE(model->Apply());
    EXPECT_EQ(ReadBytes(paths_.ListFilePath), other);
    EXPECT_EQ(prompts_.questions.size(), 1U);
    prompts_.answer = true;
    EXPECT_TRUE(model->Apply());
    EXPECT_NE(ReadBytes(paths_.ListFilePath), other);
}

TEST_F(MainWindowModelTest, SettingsComeFromDataIniOrFromTheSiblingsStore)
{
    const auto dataIni = paths_.ProgramFolder / "data.ini";
    WriteBytes(dataIni, "[tabalm]\r\nValue=2\r\n");
    auto model = Make();
    EXPECT_EQ(model->CurrentSettings().MainTabPosition, TabPosition::Left);
    model->Session().SetKeepDays(3);
    EXPECT_TRUE(model->CloseQuery());
    EXPECT_NE(ReadBytes(dataIni).find("[tododel]\r\nValue=3\r\n"), std::string::npos);
    EXPECT_TRUE(siblingSettings_.values.empty());

    // Hosted by the sibling: its store and its holiday file, and data.ini is left alone.
    paths_ = DeriveProgramPaths(folder_.Path() / "opt/Ｖｅｌｋ/ピマロ", "aki", folder_.Path() / "opt");
    ASSERT_TRUE(paths_.InsideSiblingFolder);
    std::filesystem::create_directories(paths_.SiblingFolder / "data");
    WriteBytes(paths_.SiblingFolder / "data/NationalHoliday.txt", "01/01=a\r\n02/11=b\r\n");
    siblingSettings_.values = {{"tododel", 14}, {"bigsml", 0}};
    model = Make();
    EXPECT_EQ(model->CurrentSettings().KeepDays, 14);
    EXPECT_FALSE(model->CurrentSettings().CaseSensitiveSearch);
    EXPECT_EQ(model->Session().HolidayList(), (std::vector<std::string>{"01/01=a", "02/11=b"}));
    EXPECT_TRUE(model->CloseQuery());
    EXPECT_EQ(siblingSettings_.values.size(), 7U);
    EXPECT_FALSE(std::filesystem::exists(paths_.ProgramFolder / "data.ini"));
}

TEST_F(MainWindowModelTest, TheSiblingWatchClosesOnlyAHostedProgram)
{
    auto model = Make();
    sibling_.running = false;
    EXPECT_FALSE(model->SiblingHasGone()) << "not hosted: the sibling's absence does not matter";
    paths_ = DeriveProgramPaths(folder_.Path() / "opt/Ｖｅｌｋ/ピマロ", "aki", folder_.Path() / "opt");
    model = Make();
    EXPECT_TRUE(model->SiblingHasGone());
    sibling_.running = true;
    EXPECT_FALSE(model->SiblingHasGone());
}

class ListBehaviourTest : public MainWindowModelTest {
protected:
    // Three open rows and one completed 8 days before now (2010/05/05 12:00).
    ListBehaviourTest()
    {
        WriteBytes(paths_.ListFilePath, "2010/05/01 09:00+=03020@\\@#@#b\r\n"
                                        "2010/05/01 09:00+=03100@\\@#@#c\r\n"
                                        "2010/05/01 09:00+=03010@\\@#@#a\r\n"
                                        "2010/04/20 09:00|2010/04/27 09:00+=13050@\\@#@#old\r\n");
    }
};

TEST_F(ListBehaviourTest, ACheckBoxOfASelectedRowTicksEverySelectedRow)
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

TEST_F(ListBehaviourTest, HeaderClicksAlternateDirectionAcrossColumns)
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

TEST_F(ListBehaviourTest, ThePurgeWaitsForAKeepingPeriodAndAsksOnce)
{
    WriteBytes(paths_.ProgramFolder / "data.ini", "[tododel]\r\nValue=0\r\n");
    const auto model = Make();
    EXPECT_EQ(model->CurrentSettings().KeepDays, 0);
    model->StatusTick();
    EXPECT_TRUE(prompts_.questions.empty()) << "keeping period 0: nothing is purged";
    EXPECT_TRUE(model->Purge().Pending());

    model->Session().SetKeepDays(7);
    prompts_.answer = false;
    model->StatusTick();
    ASSERT_EQ(prompts_.questions.size(), 1U);
    EXPECT_EQ(prompts_.questions[0],
              "完了したToDoの削除確認|保持日数の 7日に該当するToDoが 1件見つかりました。削除しますか？");
    EXPECT_EQ(model->Rows().size(), 4U);
    EXPECT_TRUE(model->Rows()[3].Selected) << "No leaves the found rows selected";
    model->StatusTick();
    EXPECT_EQ(prompts_.questions.size(), 1U) << "offered once per run";
}

TEST_F(ListBehaviourTest, YesToThePurgeRemovesAndSaves)
{
    const auto model = Make();
    model->StatusTick();
    ASSERT_EQ(model->Rows().size(), 3U);
    EXPECT_EQ(ReadBytes(paths_.ListFilePath).find("old"), std::string::npos);
    EXPECT_EQ(sibling_.received.size(), 1U);
}

TEST_F(ListBehaviourTest, DragAndKeyboardHooks)
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

TEST_F(ListBehaviourTest, DeleteAsksAndUndoBringsTheRowsBack)
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

TEST_F(ListBehaviourTest, AddAndReplaceEnableTheirButtons)
{
    const auto model = Make();
    model->Editing().SetText(PanelField::Task, "new");
    model->Editing().SetText(PanelField::Executor, "Sato");
    model->AddFromPanel();
    ASSERT_EQ(model->Rows().size(), 5U);
    EXPECT_TRUE(model->Rows()[4].Selected && model->Editing().ShownRow() == 4);
    EXPECT_EQ(model->Editing().Executors().Items(), std::vector<std::string>{"Sato"});
    EXPECT_TRUE(model->State().UnsavedChanges);
    EXPECT_FALSE(model->State().UndoAvailable) << "Add leaves undo as it was";
    EXPECT_FALSE(model->Editing().Panel().ReplaceEnabled());

    model->Editing().SetText(PanelField::Executor, "a#@#b");
    model->AddFromPanel();
    EXPECT_EQ(model->Rows().size(), 5U) << "a marker in the executor would split the saved line";
    EXPECT_EQ(prompts_.errors.size(), 1U);
    model->Editing().SetIncluded(PanelField::Executor, false);

    model->Editing().SetText(PanelField::Importance, "5");
    EXPECT_TRUE(model->Editing().Panel().ReplaceEnabled());
    model->Editing().ReplaceSelected();
    EXPECT_EQ(model->Rows()[4].Importance, "5");
    EXPECT_TRUE(model->State().UndoAvailable);
    EXPECT_FALSE(model->Editing().Panel().ReplaceEnabled());
}

TEST_F(ListBehaviourTest, PopupMenuEnablingAndCsvOfTheSelection)
{
    const auto model = Make();
    auto menu = model->List().PopupMenuOpening();
    EXPECT_FALSE(menu.deleteRow || menu.sortSave || menu.enclose);
    EXPECT_TRUE(menu.stickyNote) << "the sibling runs";
    model->List().SortByColumn(4);
    model->List().SetRowSelected(0, true);
    model->List().ToggleCsvEnclosing();
    menu = model->List().PopupMenuOpening();
    EXPECT_TRUE(menu.deleteRow && menu.sortSave && menu.enclose);
    model->List().ToggleCsvEnclosing();
    EXPECT_FALSE(model->List().PopupMenuOpening().enclose) << "toggled twice: cleared again";

    ASSERT_TRUE(model->List().ExportCsv(folder_ / "out.csv"));
    const std::string csv = ReadBytes(folder_ / "out.csv");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 2) << "the header and the one selected row";
}

class ViewTest : public MainWindowModelTest {
protected:
    // Line 0 open in 仕事, 1 completed in 仕事, 2 open in 家庭 (executor abc), 3 open without
    // category (executor ABC), 4 open in 仕事.
    ViewTest()
    {
        WriteBytes(paths_.ListFilePath, Sj("+=00000@\\@仕事#@#a\r\n+=10000@\\@仕事#@#b\r\n+=00000abc@\\@家庭#@#c\r\n"
                                           "+=00000ABC@\\@#@#d\r\n+=00000@\\@仕事#@#e\r\n"));
    }
};

TEST_F(ViewTest, TabsFilterTheListAndNameTheView)
{
    const auto model = Make();
    EXPECT_EQ(model->Editing().Executors().Items(), std::vector<std::string>{"abc"}) << "ABC and abc give one entry";
    ASSERT_TRUE(model->Tabs().ChangeMainTab(MainTab::Open));
    EXPECT_EQ(model->Rows().size(), 4U);
    EXPECT_EQ(model->Tabs().CategoryTabs(), (std::vector<std::string>{Sj("全て"), Sj("なし"), Sj("仕事"), Sj("家庭")}));
    EXPECT_TRUE(model->Tabs().CaptionBarVisible());
    EXPECT_EQ(model->Tabs().CaptionBarText(), Sj("  未完了  [ 全て ]"));
    ASSERT_TRUE(model->Tabs().ChangeCategoryTab(2));
    EXPECT_EQ(model->Rows().size(), 2U) << "the open 仕事 rows";
    EXPECT_EQ(model->Editing().Categories().Items().size(), 2U) << "the drop-downs keep what they saw before";

    model->List().SortByColumn(4);
    EXPECT_FALSE(model->State().OrderChanged) << "only the whole list has an order to save";
    EXPECT_FALSE(model->List().PopupMenuOpening().sortSave);

    ASSERT_TRUE(model->Tabs().ChangeMainTab(MainTab::All));
    ASSERT_TRUE(model->Tabs().ChangeMainTab(MainTab::Open));
    EXPECT_EQ(model->Tabs().CategoryTabIndex(), 2) << "仕事 is selected again";
    ASSERT_TRUE(model->Tabs().ChangeMainTab(MainTab::None));
    EXPECT_EQ(model->Rows().size(), 1U);
    EXPECT_TRUE(model->Tabs().CategoryTabs().empty());
    ASSERT_TRUE(model->Tabs().ChangeMainTab(MainTab::Done));
    EXPECT_EQ(model->Tabs().CategoryTabText(), Sj("仕事")) << "the category chosen last comes back";
    EXPECT_EQ(model->Rows().size(), 1U);
    EXPECT_EQ(model->Tabs().CategoryTabIndex(), 2) << "and its tab is selected again";

    Settings values = model->CurrentSettings();
    values.CategoryTabPosition = TabPosition::Top;
    model->Session().Apply(values);
    EXPECT_FALSE(model->Tabs().CaptionBarVisible()) << "both rows on top name the view themselves";
    values.MainTabPosition = TabPosition::Left;
    model->Session().Apply(values);
    EXPECT_TRUE(model->Tabs().CaptionBarVisible());
    ASSERT_TRUE(model->Tabs().ChangeCategoryTab(1));  // category "なし": open or completed without category
    EXPECT_TRUE(model->Rows().empty()) << "no completed row without a category";
}

TEST_F(ViewTest, EditsInACategoryViewKeepTheirPlaceInTheFile)
{
    const auto model = Make();
    ASSERT_TRUE(model->Tabs().ChangeMainTab(MainTab::Open));
    ASSERT_TRUE(model->Tabs().ChangeCategoryTab(2));  // 仕事: lines 0 and 4
    model->Editing().SetText(PanelField::Task, "new");
    model->AddFromPanel();
    EXPECT_EQ(model->Rows().back().Category, Sj("仕事")) << "a new row is filed under the shown tab";

    model->List().SetRowSelected(1, true);  // line 4
    model->List().SetRowSelected(2, true);  // the new row
    prompts_.answer = true;
    model->List().DeleteSelected();
    EXPECT_EQ(model->State().DeletedFileLines, std::vector<std::string>{"4"}) << "nothing for a new row";

    prompts_.questions.clear();
    prompts_.answer = false;
    EXPECT_FALSE(model->Tabs().ChangeMainTab(MainTab::All));
    EXPECT_EQ(prompts_.questions,
              std::vector<std::string>{"確認|このままタブを切り換えると変更内容が取り消されます。\nよろしいですか？"});
    EXPECT_EQ(model->Tabs().CurrentTab(), MainTab::Open);
    ASSERT_TRUE(model->Apply());
    EXPECT_EQ(ReadBytes(paths_.ListFilePath),
              Sj("+=00000@\\@仕事#@#a\r\n+=10000@\\@仕事#@#b\r\n+=00000abc@\\@家庭#@#c\r\n+=00000ABC@\\@#@#d\r\n"));

    model->Editing().SetText(PanelField::Category, Sj("趣味"));
    model->Editing().SetText(PanelField::Task, "hobby");
    model->AddFromPanel();
    EXPECT_EQ(model->Tabs().CategoryTabs().back(), Sj("趣味")) << "a category added in a category view becomes a tab";
}

TEST_F(ViewTest, SearchingSetsTheCaptionAndFiltersOnlyTheSearchTab)
{
    const auto model = Make();
    model->Tabs().SetSearchText("abc");
    EXPECT_EQ(model->Tabs().MainTabCaption(MainTab::Search), Sj("検索 > [ abc ]"));
    EXPECT_EQ(model->Rows().size(), 5U) << "on 全て the same view is reloaded";
    ASSERT_TRUE(model->Tabs().ChangeMainTab(MainTab::Search));
    EXPECT_EQ(model->Rows().size(), 1U) << "case-sensitive by default: ABC is not abc";
    Settings values = model->CurrentSettings();
    values.CaseSensitiveSearch = false;
    model->Session().Apply(values);
    model->Tabs().SetSearchText("abc");
    EXPECT_EQ(model->Rows().size(), 2U);
    model->Tabs().SetSearchText("");
    EXPECT_TRUE(model->Rows().empty());
    EXPECT_EQ(model->Tabs().MainTabCaption(MainTab::Search), Sj("検索"));
}

}  // namespace
}  // namespace dolvane
