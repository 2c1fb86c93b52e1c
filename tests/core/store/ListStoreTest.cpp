#include "core/store/ListStore.h"
#include "core/view/ViewState.h"

#include "core/time/TimeTexts.h"
#include "support/DiskFiles.h"
#include "support/FakePorts.h"
#include "support/ListFiles.h"
#include "support/Sjis.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace dolvane {
namespace {

using test::CrLfLines;
using test::ReadBytes;
using test::Sj;
using test::TempFolder;
using test::WriteBytes;

const LineFilter kAll = [](const LineFacts&) { return true; };
const LineFilter kOpen = [](const LineFacts& facts) { return !facts.completed; };

const DateTime kNow = ParseDateTimeText("2010/05/05 12:00");

// Line i of the test file: open unless `done`, task "task<i>".
std::string Line(int i, bool done = false)
{
    return "2010/05/01 09:00+=" + std::string(done ? "1" : "0") + "0000@\\@#@#task" + std::to_string(i);
}

class ListStoreTest : public testing::Test {
protected:
    void Write(const std::string& text)
    {
        std::filesystem::create_directories(path_.parent_path());
        WriteBytes(path_, text);
    }

    void Load(const LineFilter& filter, const std::filesystem::path& path = {})
    {
        FileError error;
        ASSERT_TRUE(store_.LoadList(path.empty() ? path_ : path, filter, kNow, error)) << error.message;
    }

    SaveStatus Save(SaveMode mode, const std::filesystem::path& path = {})
    {
        FileError error;
        return store_.SaveList(path.empty() ? path_ : path, mode, error, {false, &sibling_});
    }

    TempFolder folder_;
    std::filesystem::path path_ = folder_ / "data/user/todolist.txt";
    ListStore store_{test::DiskFiles()};
    test::FakeSibling sibling_;
};

TEST_F(ListStoreTest, MissingFileLoadsEmptyAndTheFirstSaveCreatesFolders)
{
    Load(kAll);
    EXPECT_TRUE(store_.Rows().empty());
    store_.Rows().push_back(ParseRecordLine("+=00000@\\@#@#new"));
    store_.State().UnsavedChanges = true;
    ASSERT_EQ(Save(SaveMode::Full), SaveStatus::Saved);
    EXPECT_EQ(ReadBytes(path_), "+=00000@\\@#@#new\r\n");
    EXPECT_FALSE(store_.State().UnsavedChanges);
    EXPECT_EQ(sibling_.received, (decltype(sibling_.received){{0U, "VelkA"}}));
}

TEST_F(ListStoreTest, LoadComputesTextsAndNumbersLines)
{
    Write(CrLfLines({"2010/05/01 09:00&2010/05/06 12:00+24=03050@\\@#@#a", "junk without equals", "",
                     "2010/05/01 09:00|2010/05/02 09:00+=15100@\\@#@#b"}));
    Load(kAll);
    ASSERT_EQ(store_.Rows().size(), 2U);
    const ToDoRecord& open = store_.Rows()[0];
    EXPECT_EQ(open.FileLine, "0");
    EXPECT_EQ(open.RemainingText, Sj("24:00分")) << "at the time of the load";
    EXPECT_EQ(store_.Rows()[1].FileLine, "3");
    EXPECT_EQ(store_.Rows()[1].RemainingText, Sj("完了"));
}

// Lines that are no to-dos are kept after the rows; rows without a task are dropped.
TEST_F(ListStoreTest, FullSaveWritesDisplayOrderSkipsEmptyTasksAndKeepsNotes)
{
    Write(CrLfLines({Line(0), "a note without equals", "", Line(1), Line(2)}));
    Load(kAll);
    auto& rows = store_.Rows();
    std::reverse(rows.begin(), rows.end());
    rows[1].TaskText.clear();
    ASSERT_EQ(Save(SaveMode::Full), SaveStatus::Saved);
    EXPECT_EQ(ReadBytes(path_), CrLfLines({Line(2), Line(0), "a note without equals"}));
    EXPECT_EQ(rows[0].FileLine, "0");
    EXPECT_EQ(rows[1].FileLine, "");
    EXPECT_EQ(rows[2].FileLine, "1");
}

// Lines 9 and 10 deleted from a filtered view: each listed line goes once, whatever the list
// repeats, and a second apply neither appends nor removes again.
TEST_F(ListStoreTest, MergeFromAFilteredViewDeletesExactlyTheListedLinesOnce)
{
    std::string file;
    std::string merged;  // lines 9 and 10 gone, the new row at the end
    for (int i = 0; i < 12; ++i) {
        file += Line(i, i % 3 == 2) + "\r\n";
        merged += i == 9 || i == 10 ? "" : Line(i, i % 3 == 2) + "\r\n";
    }
    merged += Line(12) + "\r\n";
    Write(file);
    Load(kOpen);
    auto& rows = store_.Rows();
    ASSERT_EQ(rows[6].FileLine, "9");
    rows.erase(rows.begin() + 6, rows.begin() + 8);
    rows.push_back(ParseRecordLine(Line(12)));  // a new row: no FileLine
    store_.State().DeletedFileLines = {"9", "10", "10", "x", "99", "-1"};
    ASSERT_EQ(Save(SaveMode::Merge), SaveStatus::Saved);

    EXPECT_EQ(ReadBytes(path_), merged);
    EXPECT_EQ(rows.back().FileLine, "10") << "rows are renumbered after lines were removed";

    ASSERT_EQ(Save(SaveMode::Merge), SaveStatus::Saved);
    EXPECT_EQ(ReadBytes(path_), merged);
}

TEST_F(ListStoreTest, MergeRefusesAFileChangedSinceTheLoad)
{
    Write(CrLfLines({Line(0), Line(1)}));
    Load(kOpen);
    store_.Rows()[0].TaskText = "edited";
    const std::string changed = CrLfLines({Line(5), Line(0), Line(1)});
    WriteBytes(path_, changed);

    EXPECT_EQ(Save(SaveMode::Merge), SaveStatus::RefusedChangedOnDisk);
    EXPECT_EQ(ReadBytes(path_), changed);
    EXPECT_EQ(store_.Rows()[0].TaskText, "edited");
    EXPECT_TRUE(sibling_.received.empty());
}

TEST_F(ListStoreTest, AFileThatCannotBeReadIsNeverOverwritten)
{
    std::filesystem::create_directories(path_);  // a folder where the file should be: unreadable
    FileError error;
    EXPECT_FALSE(store_.LoadList(path_, kAll, kNow, error));
    EXPECT_FALSE(error.message.empty());
    store_.Rows().push_back(ParseRecordLine(Line(0)));
    EXPECT_EQ(Save(SaveMode::Full), SaveStatus::RefusedUnreadable);
    EXPECT_EQ(Save(SaveMode::Merge), SaveStatus::RefusedUnreadable);

    // Importing another file does not make the unreadable list file fair game.
    const auto other = folder_ / "import.tod";
    WriteBytes(other, CrLfLines({Line(8)}));
    Load(kAll, other);
    EXPECT_EQ(Save(SaveMode::Full), SaveStatus::RefusedUnreadable);

    std::filesystem::remove(path_);
    Write(CrLfLines({Line(3)}));
    Load(kAll);
    EXPECT_EQ(Save(SaveMode::Full), SaveStatus::Saved);
}

// An export is a save to another file: the rows stay tied to the lines of the list file.
TEST_F(ListStoreTest, ExportingLeavesTheRowsTiedToTheListFile)
{
    const std::string list = CrLfLines({Line(0), Line(1, true), Line(2)});
    Write(list);
    Load(kAll);
    store_.Rows().erase(store_.Rows().begin());
    ASSERT_EQ(Save(SaveMode::Full, folder_ / "out.tod"), SaveStatus::Saved);
    EXPECT_EQ(ReadBytes(folder_ / "out.tod"), CrLfLines({Line(1, true), Line(2)}));
    EXPECT_EQ(store_.Rows()[1].FileLine, "2");
    EXPECT_EQ(ReadBytes(path_), list);
}

// Reading rows in passing goes through the file in pieces of a fixed buffer: a list many times
// that size, with a task longer than the buffer, every line end and lines without a to-do,
// gives the rows a load gives, in order, with their line numbers, ends and texts.
TEST_F(ListStoreTest, RowsReadInPassingAreTheRowsALoadGives)
{
    std::string text;
    const std::string ends[] = {"\r\n", "\n", "\r", "\r\n"};
    for (int i = 0; i < 30000; ++i) {
        text += Line(i, i % 3 == 0);
        if (i == 12346) {
            text += std::string(700'000, 'x') + "\xA5\xA5" + std::string(1000, '\x82') + "\xA0";
        }
        text += ends[i % 4];
        if (i % 1000 == 7) {
            text += "a memo line without a task\r";
        }
    }
    text += Line(30000);  // the last line has no end
    Write(text);
    Load(kOpen);
    std::vector<ToDoRecord> visited;
    FileError error;
    ASSERT_TRUE(VisitListRows(
        test::DiskFiles(), path_, kOpen, [&visited](ToDoRecord& row) { visited.push_back(row); }, error))
        << error.message;
    ASSERT_EQ(visited.size(), store_.Rows().size());
    for (std::size_t i = 0; i < visited.size(); ++i) {
        const ToDoRecord& loaded = store_.Rows()[i];
        ASSERT_EQ(visited[i].FileLine, loaded.FileLine) << i;
        ASSERT_EQ(visited[i].LineEnd, loaded.LineEnd) << i;
        ASSERT_EQ(visited[i].TaskText, loaded.TaskText) << i;
        ASSERT_EQ(visited[i].StartText, loaded.StartText) << i;
    }
    EXPECT_EQ(std::count_if(visited.begin(), visited.end(),
                            [](const ToDoRecord& row) { return row.TaskText.size() > 700'000; }),
              1)
        << "the long task is read whole, once";
    EXPECT_EQ(visited.back().TaskText, "task30000");
}

}  // namespace
}  // namespace dolvane
