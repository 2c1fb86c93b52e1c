#include "support/WindowModelFixture.h"

#include <algorithm>

namespace dolvane {
namespace {

using test::ReadBytes;
using test::Sj;
using test::WriteBytes;

class ViewTabsTest : public test::WindowModelTest {
protected:
    // Line 0 open in 仕事, 1 completed in 仕事, 2 open in 家庭 (executor abc), 3 open without
    // category (executor ABC), 4 open in 仕事.
    ViewTabsTest()
    {
        WriteBytes(paths_.ListFilePath, Sj("+=00000@\\@仕事#@#a\r\n+=10000@\\@仕事#@#b\r\n+=00000abc@\\@家庭#@#c\r\n"
                                           "+=00000ABC@\\@#@#d\r\n+=00000@\\@仕事#@#e\r\n"));
    }
};

TEST_F(ViewTabsTest, TabsFilterTheListAndNameTheView)
{
    const auto model = Make();
    ASSERT_TRUE(model->Tabs().ChangeMainTab(MainTab::Open));
    EXPECT_EQ(model->Rows().size(), 4U);
    EXPECT_EQ(model->Tabs().CategoryTabs(), (std::vector<std::string>{Sj("全て"), Sj("なし"), Sj("仕事"), Sj("家庭")}));
    EXPECT_EQ(model->Tabs().CaptionBarText(), Sj("  未完了  [ 全て ]"));
    ASSERT_TRUE(model->Tabs().ChangeCategoryTab(2));
    EXPECT_EQ(model->Rows().size(), 2U) << "the open 仕事 rows";
    EXPECT_EQ(model->Editing().Categories().Items().size(), 2U) << "the drop-downs keep what they saw before";

    model->List().SortByColumn(4);
    EXPECT_FALSE(model->State().OrderChanged) << "only the whole list has an order to save";

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

    ASSERT_TRUE(model->Tabs().ChangeCategoryTab(1));  // category "なし": open or completed without category
    EXPECT_TRUE(model->Rows().empty()) << "no completed row without a category";
}

// The caption bar names the view where the tab rows do not: on the tabs that have category tabs,
// unless both rows are on top. Per main tab, one mark for each main-tab side (top, bottom, left,
// right) with the category row on top and at the bottom.
TEST_F(ViewTabsTest, TheCaptionBarShowsWhereTheTabRowsDoNotNameTheView)
{
    const auto model = Make();
    std::string shown;
    for (int tab = 0; tab < kMainTabCount; ++tab) {
        ASSERT_TRUE(model->Tabs().ChangeMainTab(static_cast<MainTab>(tab)));
        for (const TabPosition main : {TabPosition::Top, TabPosition::Bottom, TabPosition::Left, TabPosition::Right}) {
            for (const TabPosition category : {TabPosition::Top, TabPosition::Bottom}) {
                Settings values = model->CurrentSettings();
                values.MainTabPosition = main;
                values.CategoryTabPosition = category;
                model->Session().Apply(values);
                shown += model->Tabs().CaptionBarVisible() ? '1' : '0';
            }
        }
        shown += ' ';
    }
    EXPECT_EQ(shown, "00000000 00000000 00000000 01111111 01111111 ");
}

TEST_F(ViewTabsTest, EditsInACategoryViewKeepTheirPlaceInTheFile)
{
    const auto model = Make();
    ASSERT_TRUE(model->Tabs().ChangeMainTab(MainTab::Open));
    ASSERT_TRUE(model->Tabs().ChangeCategoryTab(2));  // 仕事: lines 0 and 4
    model->Editing().SetText(PanelField::Task, "new");
    model->AddFromPanel();
    EXPECT_EQ(model->Rows().back().Category, Sj("仕事")) << "a new row is filed under the shown tab";

    model->List().SetRowSelected(1, true);  // line 4
    model->List().SetRowSelected(2, true);  // the new row
    model->List().DeleteSelected();
    EXPECT_EQ(model->State().DeletedFileLines, std::vector<std::string>{"4"}) << "nothing for a new row";

    ASSERT_TRUE(model->Apply());
    EXPECT_EQ(ReadBytes(paths_.ListFilePath),
              Sj("+=00000@\\@仕事#@#a\r\n+=10000@\\@仕事#@#b\r\n+=00000abc@\\@家庭#@#c\r\n+=00000ABC@\\@#@#d\r\n"));

    model->Editing().SetText(PanelField::Category, Sj("趣味"));
    model->Editing().SetText(PanelField::Task, "hobby");
    model->AddFromPanel();
    EXPECT_EQ(model->Tabs().CategoryTabs().back(), Sj("趣味")) << "a category added in a category view becomes a tab";
}

// The window moves its tab rows only on the view notice, so the question must come before any
// notice, and a refused change must send none at all.
TEST_F(ViewTabsTest, ARefusedChangeSendsNoNoticeAndTheQuestionComesFirst)
{
    const auto model = Make();
    test::NoticeRecorder recorder(prompts_);
    model->SetObserver(&recorder);
    model->List().PressCheckBox(0);
    recorder.notices.clear();

    // Main tab, category tab: each refused, then accepted.
    prompts_.answer = false;
    EXPECT_FALSE(model->Tabs().ChangeMainTab(MainTab::Open));
    EXPECT_TRUE(recorder.notices.empty());
    EXPECT_EQ(prompts_.questions,
              std::vector<std::string>{"確認|このままタブを切り換えると変更内容が取り消されます。\nよろしいですか？"});
    EXPECT_EQ(model->Tabs().CurrentTab(), MainTab::All);
    EXPECT_TRUE(model->Rows()[0].Completed) << "the tick stays";

    prompts_.answer = true;
    ASSERT_TRUE(model->Tabs().ChangeMainTab(MainTab::Open));
    ASSERT_FALSE(recorder.notices.empty());
    for (const auto& notice : recorder.notices) {
        EXPECT_EQ(notice.back(), '2') << notice << ": sent after the second question";
    }
    EXPECT_NE(std::find(recorder.notices.begin(), recorder.notices.end(), "view2"), recorder.notices.end());

    model->List().PressCheckBox(0);
    recorder.notices.clear();
    prompts_.answer = false;
    EXPECT_FALSE(model->Tabs().ChangeCategoryTab(2));
    EXPECT_TRUE(recorder.notices.empty());
    EXPECT_EQ(model->Tabs().CategoryTabIndex(), 0);
    EXPECT_EQ(prompts_.questions.size(), 3U);
    model->SetObserver(nullptr);
}

// A search names itself in the tab caption. A new search reloads the view, which would drop unsaved
// edits and pending deletions: it asks first, as a tab change does. No keeps the rows, the changes
// and the old search text.
TEST_F(ViewTabsTest, SearchingWithUnsavedChangesAsksFirst)
{
    // With a deletion (unsaved) before the search, or none.
    for (const auto& [edit, yes] : {std::pair{false, false}, std::pair{true, true}, std::pair{true, false}}) {
        SCOPED_TRACE(testing::Message() << (edit ? "a deletion, " : "no changes, ") << (yes ? "yes" : "no"));
        const bool kept = edit && !yes;
        const auto model = Make();
        ASSERT_TRUE(model->Tabs().SetSearchText("old"));
        if (edit) {
            prompts_.answer = true;
            model->List().SetRowSelected(0, true);
            model->List().DeleteSelected();
            ASSERT_EQ(model->Rows().size(), 4U);
        }
        prompts_.questions.clear();
        prompts_.answer = yes;

        EXPECT_EQ(model->Tabs().SetSearchText("abc"), !kept);

        EXPECT_EQ(prompts_.questions,
                  edit ? std::vector<std::string>{"確認|このまま検索すると変更内容が取り消されます。\nよろしいですか？"}
                       : std::vector<std::string>{});
        EXPECT_EQ(model->Rows().size(), kept ? 4U : 5U);
        EXPECT_EQ(model->State().UnsavedChanges, kept);
        const std::string search = kept ? "old" : "abc";
        EXPECT_EQ(model->Tabs().SearchText(), search);
        EXPECT_EQ(model->Tabs().MainTabCaption(MainTab::Search), Sj("検索 > [ " + search + " ]"));
    }
    // Only the search tab filters: case-sensitive by default, ABC is not abc.
    const auto model = Make();
    ASSERT_TRUE(model->Tabs().SetSearchText("abc"));
    ASSERT_TRUE(model->Tabs().ChangeMainTab(MainTab::Search));
    EXPECT_EQ(model->Rows().size(), 1U);
    model->Tabs().SetSearchText("");
    EXPECT_TRUE(model->Rows().empty());
    EXPECT_EQ(model->Tabs().MainTabCaption(MainTab::Search), Sj("検索"));
}

}  // namespace
}  // namespace dolvane
