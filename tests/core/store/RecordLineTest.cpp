#include "core/store/RecordLine.h"

#include "support/Sjis.h"

#include <gtest/gtest.h>

namespace dolvane {
namespace {

using test::Sj;
using test::Utf8;

TEST(RecordLineTest, ExampleLineBothWays)
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
    const std::string line = Sj("2010/05/01 09:00&2010/05/10 18:00+24=03050総務@\\@仕事#@#報告書を書く･･提出する");
    EXPECT_EQ(Utf8(FormatRecordLine(row)), Utf8(line));

    // The computed texts and FileLine stay empty on both sides.
    const ToDoRecord read = ParseRecordLine(line);
    for (int position = 0; position < kFieldCount; ++position) {
        EXPECT_EQ(read.Text(static_cast<Field>(position)), row.Text(static_cast<Field>(position))) << position;
    }
    EXPECT_TRUE(read.SourceLine.empty()) << "a canonical line needs no copy of itself";
}

// A row read from a line it cannot give back keeps that line through copies and moves, each
// copy its own: an edit of one row never changes what another writes.
TEST(RecordLineTest, AKeptSourceLineTravelsWithItsRowAndOnlyIts)
{
    const std::string odd = " 2010/05/01 09:00+=0301x@\\@#@#task";
    const ToDoRecord read = ParseRecordLine(odd);
    ASSERT_FALSE(read.SourceLine.empty());
    ToDoRecord copied = read;
    ToDoRecord assigned = ParseRecordLine("+=00000@\\@#@#other");
    assigned = read;
    ToDoRecord moved = std::move(copied);
    for (const ToDoRecord* row : std::initializer_list<const ToDoRecord*>{&read, &assigned, &moved}) {
        EXPECT_EQ(LineToWrite(*row), odd);
    }
    assigned.SourceLine.clear();
    moved.SourceLine = "replaced";
    EXPECT_EQ(LineToWrite(read), odd) << "the original keeps its line";
    EXPECT_NE(LineToWrite(assigned), odd);
    EXPECT_TRUE(ParseRecordLine("+=00000@\\@#@#t", true).SourceLine.empty());

    ToDoRecord ends;
    EXPECT_TRUE(ends.LineEnd.empty()) << "a new row ends in CR LF";
    const std::pair<std::string, std::string> endings[] = {{"\n", "\n"}, {"\r", "\r"}, {"\r\n", ""}, {"", ""}};
    for (const auto& [end, kept] : endings) {
        ends.LineEnd = end;
        EXPECT_EQ(ends.LineEnd.View(), kept) << testing::PrintToString(end);
    }
    std::string_view outlived;
    {
        ToDoRecord gone;
        gone.LineEnd = "\r";
        outlived = gone.LineEnd.View();
    }
    EXPECT_EQ(outlived, "\r") << "the view must not point into the row";
}

// The pieces come off from the right: "+" first, then "|", then "&".
TEST(RecordLineTest, NamePartPieces)
{
    const std::pair<const char*, const char*> cases[] = {
        {"2010/05/01 09:00=00000@\\@#@#t", "2010/05/01 09:00|||"},
        {"a&b|c+5=10000@\\@#@#t", "a|b|c|5"},
        {"a+1|2&3=00000@\\@#@#t", "a|||1|2&3"},
    };
    for (const auto& [line, pieces] : cases) {
        const ToDoRecord row = ParseRecordLine(line);
        EXPECT_EQ(row.StartText + "|" + row.DeadlineText + "|" + row.CompletedText + "|" + row.WarningHours, pieces);
    }
}

TEST(RecordLineTest, ValueHeadAndProgress)
{
    const std::pair<const char*, const char*> cases[] = {
        {"15100@\\@#@#t", "1 5 100"}, {"03005@\\@#@#t", "0 3 5"}, {"0012x@\\@#@#t", "0 0 0"}, {"1", "1  0"}};
    for (const auto& [value, head] : cases) {
        const ToDoRecord row = ParseRecordLine(std::string("+=") + value);
        EXPECT_EQ((row.Completed ? "1 " : "0 ") + row.Importance + " " + row.Progress, head) << value;
    }

    ToDoRecord row = ParseRecordLine("+=00005@\\@#@#");
    row.Progress = "";
    EXPECT_EQ(FormatRecordLine(row), "+=00000@\\@#@#") << "a new row's empty progress";
}

TEST(RecordLineTest, MalformedLinesAreShownAndWrittenBackUnchanged)
{
    const struct {
        std::string line;
        std::string executor;
        std::string task;
    } cases[] = {
        {"2010/05/01 09:00+=00000just text", "", "just text"},
        {"+=00000me@\\@no category marker", "me", "no category marker"},
        {"+=00000a#@#b@\\@c", "a", "b@\\@c"},  // markers in the wrong order
        {"+=00000@\\@#@#  padded  ", "", "padded"},
    };
    for (const auto& c : cases) {
        const ToDoRecord row = ParseRecordLine(c.line);
        EXPECT_EQ(row.Executor, c.executor) << c.line;
        EXPECT_EQ(row.Category, "") << c.line;
        EXPECT_EQ(row.TaskText, c.task) << c.line;
        EXPECT_EQ(LineToWrite(row), c.line) << "untouched rows keep their bytes";
    }

    ToDoRecord edited = ParseRecordLine("+=00000a#@#b@\\@c");
    edited.Category = "work";
    EXPECT_EQ(LineToWrite(edited), "+=00000a@\\@work#@#b@\\@c") << "an edit writes a well-formed line";
}

TEST(RecordLineTest, LineFactsForTheFilter)
{
    const std::string line = Sj("2010/05/01 09:00+=13050山田@\\@仕事#@#報告");  // the facts point into it
    const auto facts = ReadLineFacts(line);
    ASSERT_TRUE(facts.has_value());
    EXPECT_TRUE(facts->completed);
    EXPECT_EQ(facts->category, Sj("仕事"));
    EXPECT_EQ(facts->value, Sj("13050山田@\\@仕事#@#報告"));
    EXPECT_FALSE(ReadLineFacts("no equals sign").has_value());
}

}  // namespace
}  // namespace dolvane
