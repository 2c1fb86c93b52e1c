#include "core/store/RecordLine.h"

#include "support/Sjis.h"

#include <gtest/gtest.h>

namespace dolvane {
namespace {

using test::Sj;
using test::Utf8;

ToDoRecord ExampleRow()
{
    ToDoRecord row;
    row.StartText = "2010/05/01 09:00";
    row.DeadlineText = "2010/05/10 18:00";
    row.WarningHours = "24";
    row.Importance = "3";
    row.Progress = "50";
    row.Executor = Sj("総務");
    row.Category = Sj("仕事");
    row.TaskText = Sj("報告書を書く\r\n提出する");
    return row;
}

TEST(RecordLineTest, ExampleLineBothWays)
{
    const std::string line = Sj("2010/05/01 09:00&2010/05/10 18:00+24=03050総務@\\@仕事#@#報告書を書く･･提出する");
    EXPECT_EQ(Utf8(FormatRecordLine(ExampleRow())), Utf8(line));

    const ToDoRecord read = ParseRecordLine(line);
    const ToDoRecord expected = ExampleRow();
    for (int position = 0; position < kFieldCount; ++position) {
        const auto field = static_cast<Field>(position);
        if (field == Field::Remaining || field == Field::Elapsed || field == Field::Warning ||
            field == Field::FileLine) {
            continue;
        }
        EXPECT_EQ(read.Text(field), expected.Text(field)) << "field " << position;
    }
    EXPECT_FALSE(read.Completed);
    EXPECT_TRUE(read.SourceLine.empty()) << "a canonical line needs no copy of itself";
}

TEST(RecordLineTest, NamePartPieces)
{
    struct Case {
        const char* line;
        const char* start;
        const char* deadline;
        const char* completed;
        const char* hours;
    };
    const Case cases[] = {
        {"2010/05/01 09:00=00000@\\@#@#t", "2010/05/01 09:00", "", "", ""},
        {"2010/05/01 09:00+=00000@\\@#@#t", "2010/05/01 09:00", "", "", ""},
        {"+48=00000@\\@#@#t", "", "", "", "48"},
        {"a&b|c+5=10000@\\@#@#t", "a", "b", "c", "5"},
        {"a|c+=10000@\\@#@#t", "a", "", "c", ""},
        // The pieces come off from the right: "+" first, then "|", then "&".
        {"a+1|2&3=00000@\\@#@#t", "a", "", "", "1|2&3"},
    };
    for (const auto& c : cases) {
        const ToDoRecord row = ParseRecordLine(c.line);
        EXPECT_EQ(row.StartText, c.start) << c.line;
        EXPECT_EQ(row.DeadlineText, c.deadline) << c.line;
        EXPECT_EQ(row.CompletedText, c.completed) << c.line;
        EXPECT_EQ(row.WarningHours, c.hours) << c.line;
    }
}

TEST(RecordLineTest, ValueHeadAndProgress)
{
    struct Case {
        const char* value;
        bool completed;
        const char* importance;
        const char* progress;
    };
    const Case cases[] = {
        {"15100@\\@#@#t", true, "5", "100"},
        {"03005@\\@#@#t", false, "3", "5"},
        {"00000@\\@#@#t", false, "0", "0"},
        {"0012x@\\@#@#t", false, "0", "0"},
        {"2", false, "", "0"},
        {"1", true, "", "0"},
    };
    for (const auto& c : cases) {
        const ToDoRecord row = ParseRecordLine(std::string("+=") + c.value);
        EXPECT_EQ(row.Completed, c.completed) << c.value;
        EXPECT_EQ(row.Importance, c.importance) << c.value;
        EXPECT_EQ(row.Progress, c.progress) << c.value;
    }

    ToDoRecord row;
    row.Importance = "0";
    row.TaskText = "t";
    for (const auto& [progress, stored] : {std::pair{"5", "005"}, {"", "000"}, {"100", "100"}, {"abc", "000"}}) {
        row.Progress = progress;
        EXPECT_EQ(FormatRecordLine(row), std::string("+=00") + stored + "@\\@#@#t") << progress;
    }
    row.Progress = "";
    EXPECT_EQ(ParseRecordLine(FormatRecordLine(row)).Progress, "0") << "a new row's empty progress reads back as 0";
}

TEST(RecordLineTest, TaskLineBreaksAndDots)
{
    const std::string dot = "\xA5";  // half-width "･"
    struct Case {
        std::string task;      // as edited
        std::string stored;    // after "#@#" in the line
        std::string readBack;  // task after a load
    };
    const Case cases[] = {
        {"a\r\nb", "a" + dot + dot + "b", "a\r\nb"},
        {"a" + dot + "b", "a" + dot + "b", "a" + dot + "b"},
        {"a" + dot + dot + "b", "a" + dot + dot + "b", "a\r\nb"},  // typed "･･" comes back as a break
        {"a" + dot + "\r\nb", "a" + dot + dot + dot + "b", "a" + dot + "\r\nb"},
        // Trailing breaks are stored as dots, and only the load's trim drops them.
        {"a\r\n\r\n", "a" + dot + dot + dot + dot, "a"},
        {"  a \t", "a", "a"},
        {Sj("ぇ") + dot + "\r\nx", Sj("ぇ") + dot + dot + dot + "x", Sj("ぇ") + dot + "\r\nx"},
    };
    for (const auto& c : cases) {
        ToDoRecord row;
        row.Importance = "0";
        row.TaskText = c.task;
        const std::string line = FormatRecordLine(row);
        const auto marker = line.find("#@#");
        ASSERT_NE(marker, std::string::npos);
        EXPECT_EQ(line.substr(marker + 3), c.stored) << Utf8(c.task);
        EXPECT_EQ(ParseRecordLine(line).TaskText, c.readBack) << Utf8(c.task);
    }
}

TEST(RecordLineTest, MalformedLinesAreShownAndWrittenBackUnchanged)
{
    struct Case {
        std::string line;
        std::string executor;
        std::string category;
        std::string task;
    };
    const Case cases[] = {
        {"2010/05/01 09:00+=00000just text", "", "", "just text"},
        {"+=00000me@\\@no category marker", "me", "", "no category marker"},
        {"+=00000me#@#no executor marker", "me", "", "no executor marker"},
        {"+=00000a#@#b@\\@c", "a", "", "b@\\@c"},  // markers in the wrong order
        {"not a date&also not+x=03050@\\@#@#t", "", "", "t"},
        {"+=00000@\\@#@#  padded  ", "", "", "padded"},
        {"+=00000@\\@#@#bad \x85\x40 bytes", "", "", "bad \x85\x40 bytes"},
    };
    for (const auto& c : cases) {
        const ToDoRecord row = ParseRecordLine(c.line);
        EXPECT_EQ(row.Executor, c.executor) << c.line;
        EXPECT_EQ(row.Category, c.category) << c.line;
        EXPECT_EQ(row.TaskText, c.task) << c.line;
        EXPECT_EQ(LineToWrite(row), c.line) << "untouched rows keep their bytes";
    }

    ToDoRecord edited = ParseRecordLine("+=00000me#@#no executor marker");
    edited.Category = "work";
    EXPECT_EQ(LineToWrite(edited), "+=00000me@\\@work#@#no executor marker") << "an edit writes a well-formed line";
}

TEST(RecordLineTest, LineFactsForTheFilter)
{
    const std::string line = Sj("2010/05/01 09:00+=13050山田@\\@仕事#@#報告");
    const auto facts = ReadLineFacts(line);
    ASSERT_TRUE(facts.has_value());
    EXPECT_TRUE(facts->completed);
    EXPECT_EQ(facts->category, Sj("仕事"));
    EXPECT_EQ(facts->value, Sj("13050山田@\\@仕事#@#報告"));
    EXPECT_FALSE(ReadLineFacts("no equals sign").has_value());
    EXPECT_EQ(ReadLineFacts("+=00000x#@#y@\\@z")->category, "") << "markers out of order give no category";
}

}  // namespace
}  // namespace dolvane
