// dolvane-cli export --format ics run as a process on a prepared list; the calendars it writes
// are read back with libical.
#include "cli/IcsExport.h"
#include "core/store/RecordLine.h"
#include "support/ChildProcess.h"
#include "support/ListFiles.h"
#include "support/Sjis.h"
#include "support/TempFolder.h"
#include "sync/IcsText.h"

#include <gtest/gtest.h>
#include <libical/ical.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace dolvane {
namespace {

namespace fs = std::filesystem;
using test::Finished;
using test::Sj;
using test::TempFolder;
using test::WriteBytes;

constexpr const char* kNow = "2010/05/10 12:00";
constexpr const char* kTokyo = "TZ=Asia/Tokyo";

// Line 0 is a task of two lines whose text needs escaping, line 2 is not a to-do, line 3 is
// completed, line 4 has no deadline and a summary long enough to be folded, lines 5 and 6 are
// hand-edited (an impossible deadline and progress 150; a deadline before the start), line 7
// repeats line 1's start and first task line, line 8 ends in half a double-byte character.
std::string PreparedList()
{
    return test::CrLfLines({
        Sj("2010/05/01 09:00&2010/05/09 18:00+24=03050総務@\\@仕事#@#報告書を書く･･提出する, 月曜; 朝\\"),
        Sj("2010/05/08 09:00&2010/05/11 00:00+24=05000@\\@家庭#@#りんごを買う"),
        Sj("メモ: この行は ToDo ではない"),
        Sj("2010/05/01 09:00&2010/05/05 09:00|2010/05/09 09:00+=11100山田@\\@仕事#@#見積もり"),
        Sj("2010/05/20 09:00+=04000@\\@#@#期限のない長い作業ですがとても長くて七十五オクテットを超える一行です"),
        Sj("2010/05/20 09:00&2010/99/99 10:00+=02150@\\@#@#壊れた期限"),
        Sj("2010/05/20 09:00&2010/05/19 09:00+=00000@\\@#@#逆順"),
        Sj("2010/05/08 09:00+=01000@\\@#@#りんごを買う･･もう一つ"),
        "2010/05/01 09:00+=00000@\\@#@#bad\x81",
    });
}

// A property's value as read back by libical: texts unescaped, times as "TZID=zone:local", "utcZ"
// or a floating "local", "" for a property that is not there.
std::string Value(icalcomponent* todo, icalproperty_kind kind)
{
    icalproperty* property = icalcomponent_get_first_property(todo, kind);
    if (property == nullptr) {
        return "";
    }
    if (icalvalue_isa(icalproperty_get_value(property)) == ICAL_TEXT_VALUE) {
        return icalvalue_get_text(icalproperty_get_value(property));
    }
    std::string text = icalproperty_get_value_as_string(property);
    if (icalparameter* tzid = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER)) {
        text = "TZID=" + std::string(icalparameter_get_tzid(tzid)) + ":" + text;
    }
    return text;
}

// The fields the tests compare, in this order.
constexpr icalproperty_kind kFields[] = {
    ICAL_SUMMARY_PROPERTY,  ICAL_DESCRIPTION_PROPERTY, ICAL_DTSTART_PROPERTY,
    ICAL_DUE_PROPERTY,      ICAL_COMPLETED_PROPERTY,   ICAL_STATUS_PROPERTY,
    ICAL_PRIORITY_PROPERTY, ICAL_CATEGORIES_PROPERTY,  ICAL_PERCENTCOMPLETE_PROPERTY};
enum FieldIndex { kSummary, kDescription, kStart, kDue, kCompleted, kStatus, kPriority, kCategories, kPercent };

struct Todo {
    std::string uid;
    std::string stamp;
    std::vector<std::string> fields;  // by kFields
};

// The X-LIC-ERROR notes libical's parser and restriction check leave in a component tree.
void CollectErrors(icalcomponent* component, std::vector<std::string>& errors)
{
    for (auto* error = icalcomponent_get_first_property(component, ICAL_XLICERROR_PROPERTY); error != nullptr;
         error = icalcomponent_get_next_property(component, ICAL_XLICERROR_PROPERTY)) {
        errors.emplace_back(icalproperty_get_xlicerror(error));
    }
    for (auto* child = icalcomponent_get_first_component(component, ICAL_ANY_COMPONENT); child != nullptr;
         child = icalcomponent_get_next_component(component, ICAL_ANY_COMPONENT)) {
        CollectErrors(child, errors);
    }
}

// Parses a calendar as a calendar program would, failing the test on any complaint of libical's.
Component ParseCalendar(const std::string& ics)
{
    Component calendar(icalparser_parse_string(ics.c_str()));
    EXPECT_NE(calendar, nullptr);
    if (!calendar) {
        return calendar;
    }
    EXPECT_EQ(icalcomponent_isa(calendar.get()), ICAL_VCALENDAR_COMPONENT);
    EXPECT_TRUE(icalrestriction_check(calendar.get()));
    std::vector<std::string> errors;
    CollectErrors(calendar.get(), errors);
    EXPECT_EQ(errors, std::vector<std::string>{});
    return calendar;
}

std::vector<Todo> Todos(icalcomponent* calendar)
{
    std::vector<Todo> todos;
    for (auto* todo = icalcomponent_get_first_component(calendar, ICAL_VTODO_COMPONENT); todo != nullptr;
         todo = icalcomponent_get_next_component(calendar, ICAL_VTODO_COMPONENT)) {
        Todo& read = todos.emplace_back(Value(todo, ICAL_UID_PROPERTY), Value(todo, ICAL_DTSTAMP_PROPERTY));
        for (const icalproperty_kind kind : kFields) {
            read.fields.push_back(Value(todo, kind));
        }
    }
    return todos;
}

class CliExportTest : public testing::Test {
protected:
    CliExportTest() { WriteBytes(ListFile(), PreparedList()); }

    fs::path ListFile() const { return folder_ / "todolist.txt"; }

    Finished Export(std::vector<std::string> options = {}, const char* zone = kTokyo) const
    {
        std::vector<std::string> arguments{DOLVANE_CLI_EXECUTABLE, "export", "--format", "ics", "--file",
                                           ListFile().string(),    "--now",  kNow};
        arguments.insert(arguments.end(), options.begin(), options.end());
        return test::RunChild(std::move(arguments), {zone}, folder_.Path());
    }

    // The to-dos of an export that must succeed and parse cleanly.
    std::vector<Todo> ExportedTodos(std::vector<std::string> options = {}, const char* zone = kTokyo) const
    {
        const Finished run = Export(std::move(options), zone);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        const Component calendar = ParseCalendar(run.out);
        return calendar ? Todos(calendar.get()) : std::vector<Todo>{};
    }

    TempFolder folder_;
};

TEST_F(CliExportTest, EachRowBecomesAToDoWithItsFields)
{
    const std::string tokyo = "TZID=Asia/Tokyo:";
    const std::string longTask = "期限のない長い作業ですがとても長くて七十五オクテットを超える一行です";
    const std::vector<std::string> expected[] = {
        {"報告書を書く", "報告書を書く\n提出する, 月曜; 朝\\\n\n実行者: 総務", tokyo + "20100501T090000",
         tokyo + "20100509T180000", "", "IN-PROCESS", "5", "仕事", "50"},
        {"りんごを買う", "", tokyo + "20100508T090000", tokyo + "20100511T000000", "", "NEEDS-ACTION", "1", "家庭",
         "0"},
        // Completed at 09:00 in Tokyo: midnight UTC.
        {"見積もり", "実行者: 山田", tokyo + "20100501T090000", tokyo + "20100505T090000", "20100509T000000Z",
         "COMPLETED", "9", "仕事", "100"},
        {longTask, "", tokyo + "20100520T090000", "", "", "NEEDS-ACTION", "3", "", "0"},
        // An unreadable deadline is left out; progress beyond 100 is held to 100.
        {"壊れた期限", "", tokyo + "20100520T090000", "", "", "IN-PROCESS", "7", "", "100"},
        // A start after the deadline would break the rule that DUE comes later: the start goes.
        {"逆順", "", "", tokyo + "20100519T090000", "", "NEEDS-ACTION", "", "", "0"},
        {"りんごを買う", "りんごを買う\nもう一つ", tokyo + "20100508T090000", "", "", "NEEDS-ACTION", "9", "", "0"},
        {"bad\xEF\xBF\xBD", "", tokyo + "20100501T090000", "", "", "NEEDS-ACTION", "", "", "0"},
    };
    const std::vector<Todo> todos = ExportedTodos();
    ASSERT_EQ(todos.size(), std::size(expected));
    for (std::size_t i = 0; i < todos.size(); ++i) {
        EXPECT_EQ(todos[i].fields, expected[i]) << i;
        // --now, 12:00 in Tokyo.
        EXPECT_EQ(todos[i].stamp, "20100510T030000Z");
    }
    // Two to-dos with the same start and first task line still get UIDs of their own.
    EXPECT_EQ(todos[1].uid, "fb81c4b6822f3228@dolvane");
    EXPECT_EQ(todos[6].uid, "fb81c4b6822f3228-2@dolvane");
}

// Summaries of every length across two folds (libical's own folding puts a fold between a CR and
// its LF at some of them), in single- and double-byte characters, and control characters a
// hand-edited file may hold: every line of the calendar ends in CR LF, none is longer than 75
// octets, no control character but the tab is written, and the texts read back whole.
TEST_F(CliExportTest, EveryLineIsWholeAndTextsHoldNoControlCharacters)
{
    std::string list;
    std::vector<std::string> summaries;
    for (const auto& [character, shortest, longest] : {std::tuple{"a", 40, 160}, std::tuple{"あ", 20, 60}}) {
        std::string summary;
        for (int length = 1; length <= longest; ++length) {
            summary += character;
            if (length >= shortest) {
                list += Sj("2010/05/20 09:00+=00000@\\@#@#" + summary) + "\r\n";
                summaries.push_back(summary);
            }
        }
    }
    list += "2010/05/20 09:00+=00000ex\x01"
            "ec@\\@cat\x02#@#a\x01"
            "b\x1f"
            "c\x7f"
            "d\te\x1a\r\n";
    summaries.push_back("abcd\te");
    WriteBytes(ListFile(), list);

    const Finished run = Export();
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // Lines end in CR LF: no other CR or LF, nor any control character but the tab, is in one.
    for (std::size_t from = 0, end = 0; from < run.out.size(); from = end + 2) {
        end = std::min(run.out.find("\r\n", from), run.out.size());
        const std::string_view line = std::string_view(run.out).substr(from, end - from);
        EXPECT_LE(line.size(), 75U) << line;
        EXPECT_TRUE(std::ranges::none_of(line, [](char c) { return c != '\t' && ((c & 0xFF) < 0x20 || c == 0x7F); }))
            << line;
    }
    EXPECT_TRUE(run.out.ends_with("\r\n"));
    const Component calendar = ParseCalendar(run.out);
    ASSERT_TRUE(calendar);
    const std::vector<Todo> todos = Todos(calendar.get());
    ASSERT_EQ(todos.size(), summaries.size());
    for (std::size_t i = 0; i < todos.size(); ++i) {
        EXPECT_EQ(todos[i].fields[kSummary], summaries[i]) << i;
    }
    EXPECT_EQ(todos.back().fields[kCategories], "cat");
    EXPECT_EQ(todos.back().fields[kDescription], "実行者: exec");
}

// Where the machine's zone comes from TZ beside a zone name (every other test): a path into
// zoneinfo, UTC and a rule libical has no zone for, which leaves the times floating. A zoned start
// resolves to UTC through the VTIMEZONE that libical finds by its TZID.
TEST_F(CliExportTest, TimesFollowTheMachinesZone)
{
    // TZ, then DTSTART, COMPLETED and DTSTAMP as read back, and DTSTART in UTC through the
    // VTIMEZONE (0: there is none).
    const std::tuple<const char*, std::string, std::string, std::string, std::time_t> cases[] = {
        // Summer time in May: four hours behind UTC.
        {"TZ=:/usr/share/zoneinfo/America/New_York", "TZID=America/New_York:20100501T090000", "20100509T130000Z",
         "20100510T160000Z", 1'272'718'800},
        {"TZ=UTC", "20100501T090000Z", "20100509T090000Z", "20100510T120000Z", 0},
        {"TZ=JST-9", "20100501T090000", "20100509T000000Z", "20100510T030000Z", 0},
    };
    for (const auto& [zone, start, completed, stamp, startUtc] : cases) {
        SCOPED_TRACE(zone);
        const Finished run = Export({"--view", "done"}, zone);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const Component calendar = ParseCalendar(run.out);
        ASSERT_TRUE(calendar);
        EXPECT_EQ(icalcomponent_get_first_component(calendar.get(), ICAL_VTIMEZONE_COMPONENT) != nullptr,
                  startUtc != 0);
        const std::vector<Todo> todos = Todos(calendar.get());
        ASSERT_EQ(todos.size(), 1U);
        EXPECT_EQ(todos[0].fields[kSummary], "見積もり");
        EXPECT_EQ(todos[0].uid, "1c53719d3fc6673d@dolvane") << "the UID does not depend on the view";
        EXPECT_EQ(todos[0].fields[kStart], start);
        EXPECT_EQ(todos[0].fields[kCompleted], completed);
        EXPECT_EQ(todos[0].stamp, stamp);
        if (startUtc != 0) {
            const icaltimetype read =
                icalcomponent_get_dtstart(icalcomponent_get_first_component(calendar.get(), ICAL_VTODO_COMPONENT));
            ASSERT_NE(read.zone, nullptr);
            EXPECT_EQ(icaltime_as_timet_with_zone(read, read.zone), startUtc);
        }
    }
}

// The UID is a hash of the start and the summary line alone, kept apart, so no other edit of a
// to-do gives it a new one. One UID is fixed here as FNV-1a 64 of "2010/05/01 09:00", a NUL byte
// and "task" gives it, worked out apart from this program.
TEST(TodoUidTest, OnlyTheStartAndTheSummaryLineMakeTheUid)
{
    const auto uid = [](std::string start, std::string task) {
        ToDoRecord row;
        row.StartText = std::move(start);
        row.TaskText = std::move(task);
        return cli::TodoUid(row);
    };
    EXPECT_EQ(uid("2010/05/01 09:00", "task"), "8eb09f55173b7b6e@dolvane");
    EXPECT_NE(uid("a", "bc"), uid("ab", "c"));
    const std::string edited = "2010/05/01 09:00&2010/06/01 18:00|2010/05/09 10:00+48=15100e@\\@c#@#task\xA5\xA5later";
    EXPECT_EQ(cli::TodoUid(ParseRecordLine(edited)), "8eb09f55173b7b6e@dolvane");
}

TEST_F(CliExportTest, AnEmptyViewIsAnEmptyCalendar)
{
    EXPECT_TRUE(ExportedTodos({"--view", "done", "--category", "家庭"}).empty());
}

}  // namespace
}  // namespace dolvane
