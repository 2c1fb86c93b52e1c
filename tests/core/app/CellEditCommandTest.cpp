#include "support/WindowModelFixture.h"

#include <optional>
#include <string>
#include <vector>

namespace dolvane {
namespace {

using test::Sj;
using test::WriteBytes;

class CellEditCommandTest : public test::WindowModelTest {
protected:
    // Row 0 from the fixture (started 05/01 09:00, due 05/10 18:00, warning 24 hours); row 1
    // completed, with executor and category.
    CellEditCommandTest()
    {
        WriteBytes(paths_.ListFilePath,
                   test::kOneLine + "\r\n" + Sj("2010/13/01 09:00&+48=14020山田@\\@仕事#@#二行目") + "\r\n");
    }
};

// What the dialog is opened on, per column, and what its OK writes back.
TEST_F(CellEditCommandTest, WritesTheClickedColumnBack)
{
    struct Case {
        int column;
        CellEditorKind kind;
        std::string label;
        std::string shown;
        std::vector<std::string> items;
        std::string answer;
        Field written;
    };
    const std::vector<std::string> importance = {"0", "1", "2", "3", "4", "5"};
    const Case cases[] = {
        {0, CellEditorKind::DateTime, Sj("  開始"), "2010/05/01 09:00", {}, "2010/05/02 10:00", Field::Start},
        {1, CellEditorKind::DateTime, Sj("  期限"), "2010/05/10 18:00", {}, "2010/06/01 00:00", Field::Deadline},
        {2, CellEditorKind::Choice, Sj(" 重要度"), "3", importance, "5", Field::Importance},
        {3, CellEditorKind::Choice, Sj(" 実行者"), "", {Sj("山田")}, Sj("鈴木"), Field::Executor},
        {4, CellEditorKind::Task, Sj(" すべきこと"), "task", {}, Sj("一行\r\n二行"), Field::Task},
        {5, CellEditorKind::Choice, Sj("  分類"), "", {Sj("仕事")}, Sj("趣味"), Field::Category},
        {6, CellEditorKind::Progress, Sj("  進捗"), "50", {}, "100", Field::Progress},
        {9, CellEditorKind::Warning, Sj("  警告"), "24", {}, "168", Field::WarningHours},
        {10, CellEditorKind::DateTime, Sj("  完了"), "", {}, "2010/05/05 12:00", Field::Completed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.column);
        prompts_.cellEdits.clear();
        const auto model = Make();
        model->List().RecordPress(0, c.column);
        model->List().SetRowSelected(0, true);
        model->List().SetRowSelected(1, true);
        prompts_.cellAnswer = c.answer;

        ASSERT_TRUE(model->CellEdit().EditClickedCell());

        ASSERT_EQ(prompts_.cellEdits.size(), 1U);
        const CellEditRequest& asked = prompts_.cellEdits[0];
        EXPECT_EQ(asked.kind, c.kind);
        EXPECT_EQ(asked.label, c.label);
        EXPECT_EQ(asked.value, c.shown);
        EXPECT_EQ(asked.items, c.items);
        const ToDoRecord& row = model->Rows()[0];
        EXPECT_EQ(row.Text(c.written), c.answer);
        EXPECT_EQ(row.WarningText, Sj(c.column == 9 ? "7日" : "1日")) << "only the warning column recomputes it";
        EXPECT_NE(model->Rows()[1].Text(c.written), c.answer) << "only the first selected row changes";
        EXPECT_TRUE(model->State().UnsavedChanges);
        EXPECT_FALSE(model->State().UndoAvailable);
        EXPECT_EQ(model->Editing().Panel().Text(PanelField::Task), row.TaskText) << "the panel shows the row again";
    }
}

TEST_F(CellEditCommandTest, OpensNothingOrChangesNothing)
{
    const std::string kImportanceRefused = "重要度は 0 から 5 までの数字一文字で入力してください。";
    struct Case {
        const char* what;
        int column;
        bool selected;
        std::optional<std::string> answer;
        bool opened;
        std::vector<std::string> errors;
    };
    const Case cases[] = {
        {"remaining time", 7, true, "x", false, {}},
        {"elapsed time", 8, true, "x", false, {}},
        {"the check box or an edge", -1, true, "x", false, {}},
        {"no selected row", 4, false, "x", false, {}},
        {"cancel", 4, true, std::nullopt, true, {}},
        {"an importance the file cannot hold", 2, true, "7", true, {kImportanceRefused}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        prompts_ = {};
        const auto model = Make();
        model->List().RecordPress(0, c.column);
        model->List().SetRowSelected(0, c.selected);
        prompts_.cellAnswer = c.answer;
        const ToDoRecord before = model->Rows()[0];

        EXPECT_FALSE(model->CellEdit().EditClickedCell());

        EXPECT_EQ(prompts_.cellEdits.size(), c.opened ? 1U : 0U);
        EXPECT_EQ(prompts_.errors, c.errors);
        for (int field = 0; field < kFieldCount; ++field) {
            EXPECT_EQ(model->Rows()[0].Text(static_cast<Field>(field)), before.Text(static_cast<Field>(field)));
        }
        EXPECT_FALSE(model->State().UnsavedChanges);
    }
}

}  // namespace
}  // namespace dolvane
