#include "support/ListFiles.h"
#include "support/WindowModelFixture.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace dolvane {
namespace {

using test::Sj;
using test::WriteBytes;

class PanelCommandsTest : public test::WindowModelTest {
protected:
    // A new model with no error shown yet; for Replace its first row is selected and shown.
    std::unique_ptr<MainWindowModel> Start(bool replace)
    {
        prompts_.errors.clear();
        auto model = Make();
        if (replace) {
            model->List().SetRowSelected(0, true);
            model->Editing().ShowSelectedRow();
        }
        return model;
    }

    static void AddOrReplace(MainWindowModel& model, bool replace)
    {
        if (replace) {
            model.Editing().ReplaceSelected();
        } else {
            model.AddFromPanel();
        }
    }
};

// A task that says nothing stops Add and Replace with the message the command line gives as
// well; the list, the file and the store state stay as they were. Add writes an unticked task as
// empty, Replace leaves it alone.
TEST_F(PanelCommandsTest, ABlankTaskIsRefusedByAddAndByReplace)
{
    struct Case {
        const char* what;
        bool replace;
        std::optional<std::string> task;  // typed into the task box; nullopt: its box stays clear
        bool refused;
        std::string taskAfter;  // of the last row
    };
    const Case cases[] = {
        {"add spaces", false, "   ", true, "task"},
        {"add with the task box clear", false, std::nullopt, true, "task"},
        {"add a task after a space", false, " a", false, " a"},
        {"replace with an emptied task", true, "", true, "task"},
        {"replace another field", true, std::nullopt, false, "task"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto model = Start(c.replace);
        model->Editing().SetText(PanelField::Importance, "4");
        if (c.task) {
            model->Editing().SetText(PanelField::Task, "x");  // so that "" is a change, and ticks the box
            model->Editing().SetText(PanelField::Task, *c.task);
        }
        AddOrReplace(*model, c.replace);

        const auto expectedErrors =
            c.refused ? std::vector<std::string>{"すべきことを入力してください。"} : std::vector<std::string>{};
        EXPECT_EQ(prompts_.errors, expectedErrors);
        EXPECT_EQ(model->Rows().size(), c.refused || c.replace ? 1U : 2U);
        EXPECT_EQ(model->Rows().back().TaskText, c.taskAfter);
        EXPECT_EQ(model->Rows().back().Importance, c.refused ? "3" : "4");
        EXPECT_EQ(model->State().UnsavedChanges, !c.refused);
    }
}

// A field whose typed text holds a character cp932 lacks keeps its last storable text in the
// model; Add and Replace name the character rather than write that text. Typing a storable text
// again, or showing a row, clears it.
TEST_F(PanelCommandsTest, AnUnstorableCharacterStopsAddAndReplaceUntilTheFieldIsStorable)
{
    struct Case {
        const char* what;
        bool replace;
        PanelField field;
        bool retyped;  // the field gets its storable text back after the mark: nothing is refused
    };
    const Case cases[] = {
        {"add, task", false, PanelField::Task, false},
        {"replace, executor", true, PanelField::Executor, false},
        {"add, the same storable text typed again", false, PanelField::Task, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const bool refused = !c.retyped;
        const auto model = Start(c.replace);
        model->Editing().SetText(PanelField::Task, Sj("から"));
        model->Editing().SetText(c.field, Sj("から"));
        model->Editing().SetUnstorable(c.field, "😀");
        if (c.retyped) {
            model->Editing().SetText(c.field, Sj("から"));
        }
        AddOrReplace(*model, c.replace);

        EXPECT_EQ(prompts_.errors, refused ? std::vector<std::string>{"「😀」はこの一覧に保存できない文字です"}
                                           : std::vector<std::string>{});
        EXPECT_EQ(model->Rows().size(), !refused && !c.replace ? 2U : 1U);
        EXPECT_EQ(model->Rows().back().TaskText, refused ? "task" : Sj("から"));
    }
    const auto model = Make();
    model->Editing().SetUnstorable(PanelField::Category, "😀");
    model->List().SetRowSelected(0, true);
    model->Editing().ShowSelectedRow();
    EXPECT_TRUE(model->Editing().Panel().Unstorable(PanelField::Category).empty()) << "a shown row clears the mark";
}

TEST_F(PanelCommandsTest, AddSelectsTheNewRowAndReplaceWritesTheTickedFields)
{
    const auto model = Make();
    model->Editing().SetText(PanelField::Task, "new");
    model->Editing().SetText(PanelField::Executor, "Sato");
    model->AddFromPanel();
    ASSERT_EQ(model->Rows().size(), 2U);
    EXPECT_TRUE(model->Rows()[1].Selected && model->Editing().ShownRow() == 1);
    EXPECT_EQ(model->Editing().Executors().Items(), std::vector<std::string>{"Sato"});
    EXPECT_TRUE(model->State().UnsavedChanges);
    EXPECT_FALSE(model->State().UndoAvailable) << "Add leaves undo as it was";
    EXPECT_FALSE(model->Editing().Panel().ReplaceEnabled());

    model->Editing().SetText(PanelField::Importance, "5");
    model->Editing().ReplaceSelected();
    EXPECT_EQ(model->Rows()[1].Importance + model->Rows()[1].TaskText, "5new");
    EXPECT_TRUE(model->State().UndoAvailable);
    EXPECT_FALSE(model->Editing().Panel().ReplaceEnabled()) << "the panel shows the replaced row";
}

// The source's fields are copied over the ticked panel fields, its span kept in whole hours; a
// source whose dates cannot be read leaves the row as Add made it and says which text.
TEST_F(PanelCommandsTest, InheritNewCopiesTheSelectedToDo)
{
    WriteBytes(paths_.ListFilePath,
               test::CrLfLines({test::kOneLine, Sj("2010/13/01 09:00&+48=14020山田@\\@仕事#@#二行目")}));
    const auto model = Make();
    model->Editing().InheritNew();
    EXPECT_EQ(model->Rows().size(), 2U) << "nothing selected: nothing made";

    model->List().SetRowSelected(0, true);
    model->Editing().ShowSelectedRow();
    model->Editing().SetText(PanelField::Importance, "5");
    model->Editing().SetText(PanelField::Progress, "70");
    model->Editing().InheritNew();
    ASSERT_EQ(model->Rows().size(), 3U);
    const ToDoRecord& made = model->Rows()[2];
    EXPECT_EQ(made.StartText + "|" + made.DeadlineText, "2010/05/05 12:00|2010/05/14 21:00");
    EXPECT_EQ(made.Importance + "|" + made.Progress + "|" + made.WarningHours + "|" + made.TaskText, "3|70|24|task")
        << "a ticked progress is the panel's, a ticked importance the source's";
    EXPECT_EQ(made.WarningText, Sj("1日"));
    EXPECT_TRUE(model->Rows()[0].Selected && made.Selected) << "the source and the new row end selected";
    EXPECT_FALSE(model->Rows()[1].Selected);
    EXPECT_TRUE(model->State().UnsavedChanges);
    EXPECT_FALSE(model->State().UndoAvailable);
    EXPECT_TRUE(prompts_.errors.empty());

    model->Document().SelectOnly(1);
    model->Editing().InheritNew();
    EXPECT_EQ(prompts_.errors, std::vector<std::string>{"'2010/13/01 09:00' は日付または時刻ではありません"});
    ASSERT_EQ(model->Rows().size(), 4U);
    EXPECT_EQ(model->Rows()[3].TaskText, "");
}

}  // namespace
}  // namespace dolvane
