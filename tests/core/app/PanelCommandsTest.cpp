#include "support/WindowModelFixture.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace dolvane {
namespace {

using test::Sj;

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
        {"add full-width space and line break", false, Sj("　\r\n"), true, "task"},
        {"add typed and emptied", false, "", true, "task"},
        {"add with the task box clear", false, std::nullopt, true, "task"},
        {"add a task after a space", false, " a", false, " a"},
        {"replace with line-break dots", true, "\xA5\xA5", true, "task"},
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
        bool retyped;  // the field gets its storable text back after the mark
        bool refused;
    };
    const Case cases[] = {
        {"add, task", false, PanelField::Task, false, true},
        {"replace, executor", true, PanelField::Executor, false, true},
        {"add, the same storable text typed again", false, PanelField::Task, true, false},
        {"replace, the executor retyped", true, PanelField::Executor, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto model = Start(c.replace);
        model->Editing().SetText(PanelField::Task, Sj("から"));
        model->Editing().SetText(c.field, Sj("から"));
        model->Editing().SetUnstorable(c.field, "😀");
        if (c.retyped) {
            model->Editing().SetText(c.field, Sj("から"));
        }
        AddOrReplace(*model, c.replace);

        EXPECT_EQ(prompts_.errors, c.refused ? std::vector<std::string>{"「😀」はこの一覧に保存できない文字です"}
                                             : std::vector<std::string>{});
        EXPECT_EQ(model->Rows().size(), !c.refused && !c.replace ? 2U : 1U);
        EXPECT_EQ(model->Rows().back().TaskText, c.refused ? "task" : Sj("から"));
    }
    const auto model = Make();
    model->Editing().SetUnstorable(PanelField::Category, "😀");
    model->List().SetRowSelected(0, true);
    model->Editing().ShowSelectedRow();
    EXPECT_TRUE(model->Editing().Panel().Unstorable(PanelField::Category).empty()) << "a shown row clears the mark";
}

}  // namespace
}  // namespace dolvane
