#include "support/WindowModelFixture.h"

#include <optional>
#include <string>
#include <vector>

namespace dolvane {
namespace {

using test::Sj;

class PanelCommandsTest : public test::WindowModelTest {};

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
        prompts_.errors.clear();
        const auto model = Make();
        if (c.replace) {
            model->List().SetRowSelected(0, true);
            model->Editing().ShowSelectedRow();
        }
        model->Editing().SetText(PanelField::Importance, "4");
        if (c.task) {
            model->Editing().SetText(PanelField::Task, "x");  // so that "" is a change, and ticks the box
            model->Editing().SetText(PanelField::Task, *c.task);
        }
        if (c.replace) {
            model->Editing().ReplaceSelected();
        } else {
            model->AddFromPanel();
        }

        const auto expectedErrors =
            c.refused ? std::vector<std::string>{"すべきことを入力してください。"} : std::vector<std::string>{};
        EXPECT_EQ(prompts_.errors, expectedErrors);
        EXPECT_EQ(model->Rows().size(), c.refused || c.replace ? 1U : 2U);
        EXPECT_EQ(model->Rows().back().TaskText, c.taskAfter);
        EXPECT_EQ(model->Rows().back().Importance, c.refused ? "3" : "4");
        EXPECT_EQ(model->State().UnsavedChanges, !c.refused);
    }
}

}  // namespace
}  // namespace dolvane
