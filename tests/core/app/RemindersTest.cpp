#include "core/app/Reminders.h"
#include "support/WindowModelFixture.h"

#include <string>
#include <utility>
#include <vector>

namespace dolvane {
namespace {

using test::Sj;
using test::WriteBytes;

using test::OpenLine;

class RemindersTest : public test::ReminderModelTest<test::FakeNotifier> {};

struct ReminderCase {
    const char* name;
    std::vector<std::string> lines;
    std::vector<std::string> moments;  // the status timer's ticks
    std::vector<std::string> expected;
    std::string dataIni = {};  // empty: no data.ini
};

TEST_F(RemindersTest, EachToDoIsRemindedOncePerStateAndDay)
{
    const std::string warned = "警告期間に入りました（期限 ";
    const std::string overdue = "期限が過ぎました（期限 ";
    const ReminderCase cases[] = {
        {"the warning period starts while the window is open",
         {OpenLine("2010/05/06 12:00", 24, "w")},
         {"2010/05/05 11:00", "2010/05/05 11:30", "2010/05/05 12:00", "2010/05/05 12:30", "2010/05/05 18:00"},
         {"w|" + warned + "2010/05/06 12:00）"}},
        {"the deadline passes while the window is open (no warning period)",
         {OpenLine("2010/05/05 12:30", 0, "d")},
         {"2010/05/05 12:00", "2010/05/05 12:30", "2010/05/05 12:31", "2010/05/05 13:00"},
         {"d|" + overdue + "2010/05/05 12:30）"}},
        {"warning, then overdue: one of each",
         {OpenLine("2010/05/05 13:00", 1, "both")},
         {"2010/05/05 11:00", "2010/05/05 12:30", "2010/05/05 12:45", "2010/05/05 13:30", "2010/05/05 14:00"},
         {"both|" + warned + "2010/05/05 13:00）", "both|" + overdue + "2010/05/05 13:00）"}},
        {"still overdue the next day: reminded again after midnight",
         {OpenLine("2010/05/04 12:00", 0, "old")},
         {"2010/05/05 12:00", "2010/05/05 23:59", "2010/05/06 00:01", "2010/05/06 09:00"},
         {"old|" + overdue + "2010/05/04 12:00）", "old|" + overdue + "2010/05/04 12:00）"}},
        {"the clock set back: checked at once, not when it catches up",
         {OpenLine("2010/05/06 12:00", 24, "back")},
         {"2010/05/10 12:00", "2010/05/05 12:10"},
         {"back|" + overdue + "2010/05/06 12:00）", "back|" + warned + "2010/05/06 12:00）"}},
        {"the task's first line, as UTF-8",
         {OpenLine("2010/05/05 08:00", 0, Sj("会議の準備･･資料を印刷"))},
         {"2010/05/05 12:00"},
         {"会議の準備|" + overdue + "2010/05/05 08:00）"}},
        {"switched off in data.ini",
         {OpenLine("2010/05/05 08:00", 0, "off"), OpenLine("2010/05/06 08:00", 48, "off too")},
         {"2010/05/05 12:00", "2010/05/05 13:00"},
         {},
         "[reminder]\r\nValue=0\r\n"},
        {"as many as the burst: each on its own, no summary, most pressing first",
         {OpenLine("2010/05/06 08:00", 48, "warn"), OpenLine("2010/05/05 09:00", 0, "later"),
          OpenLine("2010/05/05 08:00", 0, "earlier")},
         {"2010/05/05 12:00"},
         {"earlier|" + overdue + "2010/05/05 08:00）", "later|" + overdue + "2010/05/05 09:00）",
          "warn|" + warned + "2010/05/06 08:00）"}},
        {"one past the burst: three and a summary of all",
         {OpenLine("2010/05/05 08:00", 0, "a"), OpenLine("2010/05/05 09:00", 0, "b"),
          OpenLine("2010/05/05 10:00", 0, "c"), OpenLine("2010/05/06 10:00", 48, "d")},
         {"2010/05/05 12:00", "2010/05/05 13:00"},
         {"a|" + overdue + "2010/05/05 08:00）", "b|" + overdue + "2010/05/05 09:00）",
          "c|" + overdue + "2010/05/05 10:00）", "3件のToDoが期限切れです|1件のToDoが警告期間に入りました"}},
        {"past the burst with warnings only",
         {OpenLine("2010/05/06 08:00", 48, "a"), OpenLine("2010/05/06 09:00", 48, "b"),
          OpenLine("2010/05/06 10:00", 48, "c"), OpenLine("2010/05/06 11:00", 48, "d")},
         {"2010/05/05 12:00"},
         {"a|" + warned + "2010/05/06 08:00）", "b|" + warned + "2010/05/06 09:00）",
          "c|" + warned + "2010/05/06 10:00）", "4件のToDoが警告期間に入りました|"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteList(c.lines);
        std::filesystem::remove(paths_.ProgramFolder / "data.ini");
        if (!c.dataIni.empty()) {
            WriteBytes(paths_.ProgramFolder / "data.ini", c.dataIni);
        }
        notifier_.sent.clear();
        auto model = MakeWithNotifier();
        TickAt(*model, c.moments);
        EXPECT_EQ(notifier_.sent, c.expected);
    }
}

// A to-do is known by its start and its task, never by the two run together.
TEST(ReminderKeyTest, TheStartAndTheTaskStayApart)
{
    const auto key = [](std::string start, std::string task) {
        ToDoRecord row;
        row.StartText = std::move(start);
        row.TaskText = std::move(task);
        return ReminderKeyOf(row);
    };
    EXPECT_NE(key("", "x"), key("x", ""));
    EXPECT_NE(key("a", "bc"), key("ab", "c"));
}

TEST_F(RemindersTest, AReloadedOrResortedListIsNotRemindedAgainAndAClickFindsItsToDo)
{
    WriteList({OpenLine("2010/05/05 08:00", 0, "first"), OpenLine("2010/05/05 09:00", 0, "second"),
               OpenLine("2010/05/05 10:00", 0, "third"), OpenLine("2010/05/05 11:00", 0, "fourth")});
    auto model = MakeWithNotifier();
    TickAt(*model, {"2010/05/05 12:00"});
    ASSERT_EQ(notifier_.sent.size(), 4U);  // three and the summary, ids 1 to 4

    // The rows are built anew and sorted by task: the same to-dos, at other indices.
    model->Reload();
    model->List().SortByColumn(static_cast<int>(Field::Task));
    ASSERT_EQ(model->Rows().front().TaskText, "third");  // the first click sorts descending
    ASSERT_EQ(model->Rows().back().TaskText, "first");
    TickAt(*model, {"2010/05/05 13:00", "2010/05/05 18:00"});
    EXPECT_EQ(notifier_.sent.size(), 4U);

    // Id 1 was "first"; the summary (4) and ids never given stand for no row.
    ASSERT_TRUE(model->ShowNotifiedToDo(1));
    ASSERT_EQ(model->Document().SelectedCount(), 1U);
    EXPECT_EQ(model->Document().FirstSelected()->TaskText, "first");
    EXPECT_EQ(model->Editing().Panel().Text(PanelField::Task), "first");
    for (const std::uint32_t id : {4U, 5U, 0U}) {
        EXPECT_FALSE(model->ShowNotifiedToDo(id)) << id;
    }
    EXPECT_EQ(model->Document().FirstSelected()->TaskText, "first");

    // Deleted from the view: the click finds nothing rather than some other row.
    model->Document().SelectOnly(*model->Reminding().RowOfNotification(3));
    ASSERT_EQ(model->Document().FirstSelected()->TaskText, "third");
    model->List().DeleteSelected();
    EXPECT_FALSE(model->ShowNotifiedToDo(3));
}

TEST_F(RemindersTest, WithoutANotificationServiceNothingIsShownOrAsked)
{
    notifier_.running = false;
    WriteList({OpenLine("2010/05/05 08:00", 0, "quiet")});
    auto model = MakeWithNotifier();
    TickAt(*model, {"2010/05/05 12:00", "2010/05/05 13:00"});
    // Tried once, then remembered like a shown one: no retry every check, no error box.
    EXPECT_EQ(notifier_.sent.size(), 1U);
    EXPECT_FALSE(model->ShowNotifiedToDo(1));
    EXPECT_TRUE(prompts_.errors.empty());
    EXPECT_TRUE(prompts_.messages.empty());
}

}  // namespace
}  // namespace dolvane
