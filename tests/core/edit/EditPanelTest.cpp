#include "core/edit/EditPanel.h"
#include "core/edit/ComboHistory.h"

#include "core/time/TimeTexts.h"
#include "support/Sjis.h"

#include <gtest/gtest.h>

namespace dolvane {
namespace {

using test::Sj;

const DateTime kNow = ParseDateTimeText("2010/05/05 12:00");

TEST(EditPanelTest, ShowingNoRowEmptiesTheFieldsAndReplaceFollowsTheTaskAndTheIncludeBoxes)
{
    EditPanel panel;
    ToDoRecord row;
    row.TaskText = "task";
    panel.ShowRow(&row, 1);
    panel.ShowRow(nullptr, 0);
    for (int key = 0; key < kPanelFieldCount; ++key) {
        EXPECT_EQ(panel.Text(static_cast<PanelField>(key)), "") << key;
        EXPECT_FALSE(panel.Included(static_cast<PanelField>(key))) << key;
    }
    EXPECT_FALSE(panel.ReplaceEnabled());
    EXPECT_TRUE(panel.TaskCaptionRed());
    panel.SetText(PanelField::Task, "x", 0);
    EXPECT_FALSE(panel.ReplaceEnabled()) << "no row selected";
    EXPECT_FALSE(panel.TaskCaptionRed());
    EXPECT_TRUE(panel.Included(PanelField::Task));
    panel.SetText(PanelField::Task, "xy", 1);
    EXPECT_TRUE(panel.ReplaceEnabled());

    // A tick in an include box enables Replace only for several selected rows.
    panel.SetText(PanelField::Task, "", 1);
    panel.PressIncludeBox(1);
    EXPECT_FALSE(panel.ReplaceEnabled());
    panel.PressIncludeBox(2);
    EXPECT_TRUE(panel.ReplaceEnabled());
}

TEST(EditPanelTest, AddWithNothingTickedTakesTheDefaults)
{
    EditPanel panel;
    panel.SetText(PanelField::Executor, Sj("総務"), 0);
    panel.SetIncluded(PanelField::Executor, false);
    const ToDoRecord row = panel.NewRow(kNow, kNow, Sj("仕事"));
    EXPECT_EQ(row.StartText, "2010/05/05 12:00");
    EXPECT_EQ(row.Importance, "0");
    EXPECT_EQ(row.Executor, "");
    EXPECT_EQ(row.Category, Sj("仕事")) << "the category of the shown tab";
    EXPECT_EQ(row.Progress + row.TaskText + row.DeadlineText + row.WarningHours + row.WarningText, "");

    panel.SetText(PanelField::Deadline, "2010/05/06 12:00", 0);
    panel.SetText(PanelField::WarningHours, "25", 0);
    const ToDoRecord ticked = panel.NewRow(kNow, kNow, "");
    EXPECT_EQ(ticked.RemainingText + "|" + ticked.WarningHours + "|" + ticked.WarningText, Sj("24:00分|25|1日と1時間"));
}

TEST(EditPanelTest, ReplaceWritesOnlyTickedFieldsAndTheElapsedText)
{
    EditPanel panel;
    ToDoRecord shown;
    panel.ShowRow(&shown, 1);
    panel.SetText(PanelField::Importance, "4", 3);
    ToDoRecord row;
    row.StartText = "2010/05/04 12:00";
    row.Executor = "me";
    row.ElapsedText = "stale";
    panel.ReplaceInto(row, kNow);
    EXPECT_EQ(row.Importance, "4");
    EXPECT_EQ(row.Executor, "me") << "not ticked";
    EXPECT_EQ(row.ElapsedText, Sj("24:00分"));

    row.Completed = true;
    panel.SetText(PanelField::Deadline, "2010/06/01 00:00", 1);
    panel.ReplaceInto(row, kNow);
    EXPECT_EQ(row.RemainingText, Sj("完了")) << "a done row keeps 完了 when its deadline changes";
}

// The warning hours go into the row as the spin control beside the field holds them, whether
// typed or shown from a hand-edited list file: within 0 to 32767, never a text as it stands.
TEST(EditPanelTest, WarningHoursAreWrittenAsTheSpinControlHoldsThem)
{
    const struct {
        const char* text;
        std::int32_t value;
        const char* written;
    } cases[] = {
        {"25", 25, "25"},
        {"-5", 0, "0"},
        {"40000", 32767, "32767"},
        {"abc", 0, "0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EditPanel panel;
        ToDoRecord shown;
        shown.WarningHours = c.text;
        panel.ShowRow(&shown, 1);
        EXPECT_EQ(panel.WarningHoursValue(), c.value);
        panel.SetIncluded(PanelField::WarningHours, true);
        ToDoRecord replaced;
        panel.ReplaceInto(replaced, kNow);
        const ToDoRecord added = panel.NewRow(kNow, kNow, "");
        EXPECT_EQ(replaced.WarningHours, c.written);
        EXPECT_EQ(added.WarningHours, c.written);
    }
}

TEST(ComboHistoryTest, EachValueOnceIgnoringTheCaseOfLatinLetters)
{
    ComboHistory history;
    EXPECT_TRUE(history.Remember("ABC"));
    EXPECT_FALSE(history.Remember("abc"));
    EXPECT_FALSE(history.Remember(""));
    EXPECT_TRUE(history.Remember(Sj("ａ")));
    EXPECT_TRUE(history.Remember(Sj("Ａ"))) << "double-byte letters are other bytes, not other cases";
    EXPECT_EQ(history.Items().size(), 3U);
}

}  // namespace
}  // namespace dolvane
