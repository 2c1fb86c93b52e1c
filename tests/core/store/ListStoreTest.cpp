#include "core/store/ListStore.h"

#include "core/time/TimeTexts.h"
#include "support/Sjis.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace dolvane {
namespace {

using test::ReadBytes;
using test::Sj;
using test::TempFolder;
using test::WriteBytes;

class RecordingSibling final : public SiblingPort {
public:
    void Send(std::uint32_t kind, std::string_view payload) override { sent.emplace_back(kind, payload); }
    bool Running() const override { return true; }
    std::vector<std::pair<std::uint32_t, std::string>> sent;
};

const LineFilter kAll = [](const LineFacts&) { return true; };
const LineFilter kOpen = [](const LineFacts& facts) { return !facts.completed; };

DateTime Now()
{
    return ParseDateTimeText("2010/05/05 12:00");
}

std::string Lines(std::initializer_list<std::string> lines)
{
    std::string text;
    for (const auto& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

// Line i of the test file: open unless `done`, task "task<i>".
std::string Line(int i, bool done = false, std::string_view category = "")
{
    return "2010/05/01 09:00+=" + std::string(done ? "1" : "0") + "0000@\\@" + std::string(category) + "#@#task" +
           std::to_string(i);
}

class ListStoreTest : public testing::Test {
protected:
    ListStore::SaveOptions Options() { return {false, &sibling_, nullptr}; }

    void Load(const LineFilter& filter)
    {
        FileError error;
        ASSERT_TRUE(store_.LoadList(path_, filter, Now(), error)) << error.message;
    }

    SaveStatus Save(SaveMode mode)
    {
        FileError error;
        return store_.SaveList(path_, mode, error, Options());
    }

    const ToDoRecord& RowWithTask(const std::string& task)
    {
        const auto& rows = store_.Rows();
        const auto found =
            std::find_if(rows.begin(), rows.end(), [&](const ToDoRecord& row) { return row.TaskText == task; });
        EXPECT_NE(found, rows.end()) << task;
        return *found;
    }

    TempFolder folder_;
    std::filesystem::path path_ = folder_ / "data/user/todolist.txt";
    ListStore store_;
    RecordingSibling sibling_;
};

TEST_F(ListStoreTest, MissingFileLoadsEmptyAndTheFirstSaveCreatesFolders)
{
    Load(kAll);
    EXPECT_TRUE(store_.Rows().empty());
    ToDoRecord row;
    row.Importance = "0";
    row.TaskText = "new";
    store_.Rows().push_back(row);
    store_.State().UnsavedChanges = true;
    ASSERT_EQ(Save(SaveMode::Full), SaveStatus::Saved);
    EXPECT_EQ(ReadBytes(path_), "+=00000@\\@#@#new\r\n");
    EXPECT_FALSE(store_.State().UnsavedChanges);
    ASSERT_EQ(sibling_.sent.size(), 1U);
    EXPECT_EQ(sibling_.sent[0], std::make_pair(std::uint32_t{0}, std::string("VelkA")));
    EXPECT_EQ(store_.Rows()[0].FileLine, "0");
}

TEST_F(ListStoreTest, LoadComputesTextsAndNumbersLines)
{
    std::filesystem::create_directories(path_.parent_path());
    WriteBytes(path_, Lines({"2010/05/01 09:00&2010/05/06 12:00+24=03050@\\@#@#a", "junk without equals", "",
                             "2010/05/01 09:00|2010/05/02 09:00+=15100@\\@#@#b"}));
    Load(kAll);
    ASSERT_EQ(store_.Rows().size(), 2U);
    const ToDoRecord& open = store_.Rows()[0];
    EXPECT_EQ(open.FileLine, "0");
    EXPECT_EQ(open.RemainingText, Sj("24:00分")) << "exactly one day keeps the hour form";
    EXPECT_EQ(open.ElapsedText, Sj("4日3時間"));
    EXPECT_EQ(open.WarningText, Sj("1日"));
    const ToDoRecord& done = store_.Rows()[1];
    EXPECT_EQ(done.FileLine, "3");
    EXPECT_EQ(done.RemainingText, Sj("完了"));
}

TEST_F(ListStoreTest, FullSaveWritesDisplayOrderAndSkipsEmptyTasks)
{
    std::filesystem::create_directories(path_.parent_path());
    WriteBytes(path_, Lines({Line(0), Line(1), Line(2)}));
    Load(kAll);
    auto& rows = store_.Rows();
    std::reverse(rows.begin(), rows.end());
    rows[1].TaskText.clear();
    ASSERT_EQ(Save(SaveMode::Full), SaveStatus::Saved);
    EXPECT_EQ(ReadBytes(path_), Lines({Line(2), Line(0)}));
    EXPECT_EQ(rows[0].FileLine, "0");
    EXPECT_EQ(rows[1].FileLine, "");
    EXPECT_EQ(rows[2].FileLine, "1");
}

TEST_F(ListStoreTest, FullSaveKeepsTextLinesThatAreNotToDos)
{
    std::filesystem::create_directories(path_.parent_path());
    WriteBytes(path_, Lines({Line(0), "a note without equals", "", Line(1)}));
    Load(kAll);
    ASSERT_EQ(Save(SaveMode::Full), SaveStatus::Saved);
    EXPECT_EQ(ReadBytes(path_), Lines({Line(0), Line(1), "a note without equals"}));
}

TEST_F(ListStoreTest, CompletingOnTheOpenTabRemovesTheRowAndKeepsHiddenLines)
{
    std::filesystem::create_directories(path_.parent_path());
    WriteBytes(path_, Lines({Line(0), Line(1, true), "kept as it is", Line(3), Line(4, true)}));
    Load(kOpen);
    ASSERT_EQ(store_.Rows().size(), 2U);
    store_.Rows()[1].Completed = true;  // task3
    store_.Rows()[1].CompletedText = "2010/05/05 11:00";

    FileError error;
    ViewState view;
    view.mainTab = 3;
    ASSERT_EQ(ApplyChanges(store_, path_, view, error, Options()), SaveStatus::Saved) << error.message;
    ASSERT_EQ(store_.Rows().size(), 1U);
    EXPECT_EQ(store_.Rows()[0].TaskText, "task0");
    EXPECT_EQ(ReadBytes(path_), Lines({Line(0), Line(1, true), "kept as it is",
                                       "2010/05/01 09:00|2010/05/05 11:00+=10000@\\@#@#task3", Line(4, true)}));
}

TEST_F(ListStoreTest, MergeDeletesExactlyTheListedLinesOnce)
{
    std::vector<std::string> lines;
    for (int i = 0; i < 12; ++i) {
        lines.push_back(Line(i, i % 2 == 1));
    }
    std::string text;
    for (const auto& line : lines) {
        text += line + "\r\n";
    }
    std::filesystem::create_directories(path_.parent_path());
    WriteBytes(path_, text);
    Load(kAll);
    auto& rows = store_.Rows();
    rows.erase(rows.begin() + 9, rows.begin() + 11);
    // The same line listed twice, and entries that are no line numbers, must not remove more.
    store_.State().DeletedFileLines = {"9", "10", "10", "x", "99", "-1"};
    ASSERT_EQ(Save(SaveMode::Merge), SaveStatus::Saved);

    lines.erase(lines.begin() + 9, lines.begin() + 11);
    std::string expected;
    for (const auto& line : lines) {
        expected += line + "\r\n";
    }
    EXPECT_EQ(ReadBytes(path_), expected);
    EXPECT_TRUE(store_.State().DeletedFileLines.empty());
    EXPECT_EQ(RowWithTask("task11").FileLine, "9") << "rows are renumbered after lines were removed";
}

TEST_F(ListStoreTest, ApplyingTwiceFromAFilteredViewWritesTheSameFile)
{
    std::filesystem::create_directories(path_.parent_path());
    WriteBytes(path_, Lines({Line(0), Line(1, true), Line(2), Line(3, true)}));
    Load(kOpen);
    ToDoRecord added = ParseRecordLine(Line(7));
    store_.Rows().push_back(added);  // a new row: no FileLine
    store_.State().DeletedFileLines = {"2"};
    store_.Rows().erase(store_.Rows().begin() + 1);

    ASSERT_EQ(Save(SaveMode::Merge), SaveStatus::Saved);
    const std::string first = ReadBytes(path_);
    EXPECT_EQ(first, Lines({Line(0), Line(1, true), Line(3, true), Line(7)}));
    EXPECT_EQ(RowWithTask("task7").FileLine, "3");

    ASSERT_EQ(Save(SaveMode::Merge), SaveStatus::Saved);
    EXPECT_EQ(ReadBytes(path_), first) << "nothing appended twice, nothing removed again";
}

TEST_F(ListStoreTest, MergeRefusesAFileChangedSinceTheLoad)
{
    std::filesystem::create_directories(path_.parent_path());
    WriteBytes(path_, Lines({Line(0), Line(1)}));
    Load(kOpen);
    store_.Rows()[0].TaskText = "edited";
    store_.State().UnsavedChanges = true;
    const std::string changed = Lines({Line(5), Line(0), Line(1)});
    WriteBytes(path_, changed);

    FileError error;
    EXPECT_EQ(store_.SaveList(path_, SaveMode::Merge, error, Options()), SaveStatus::RefusedChangedOnDisk);
    EXPECT_FALSE(error.message.empty());
    EXPECT_EQ(ReadBytes(path_), changed);
    EXPECT_TRUE(store_.State().UnsavedChanges);
    EXPECT_EQ(store_.Rows()[0].TaskText, "edited");
    EXPECT_TRUE(sibling_.sent.empty());
}

TEST_F(ListStoreTest, FullSaveOverAChangedFileAsksFirst)
{
    std::filesystem::create_directories(path_.parent_path());
    WriteBytes(path_, Lines({Line(0)}));
    Load(kAll);
    WriteBytes(path_, Lines({Line(0), Line(1)}));
    FileError error;
    EXPECT_EQ(store_.SaveList(path_, SaveMode::Full, error, Options()), SaveStatus::ChangedOnDisk);
    EXPECT_EQ(ReadBytes(path_), Lines({Line(0), Line(1)}));

    ListStore::SaveOptions overwrite = Options();
    overwrite.overwriteChanged = true;
    EXPECT_EQ(store_.SaveList(path_, SaveMode::Full, error, overwrite), SaveStatus::Saved);
    EXPECT_EQ(ReadBytes(path_), Lines({Line(0)}));
    EXPECT_EQ(Save(SaveMode::Full), SaveStatus::Saved) << "after our own save the file is ours again";
}

TEST_F(ListStoreTest, AFileThatCannotBeReadIsNeverOverwritten)
{
    std::filesystem::create_directories(path_);  // a folder where the file should be: unreadable
    FileError error;
    EXPECT_FALSE(store_.LoadList(path_, kAll, Now(), error));
    EXPECT_FALSE(error.message.empty());
    EXPECT_TRUE(store_.Rows().empty());
    store_.Rows().push_back(ParseRecordLine(Line(0)));
    EXPECT_EQ(store_.SaveList(path_, SaveMode::Full, error, Options()), SaveStatus::RefusedUnreadable);
    EXPECT_EQ(store_.SaveList(path_, SaveMode::Merge, error, Options()), SaveStatus::RefusedUnreadable);

    // Importing another file does not make the unreadable list file fair game.
    const auto other = folder_ / "import.tod";
    WriteBytes(other, Lines({Line(8)}));
    ASSERT_TRUE(store_.LoadList(other, kAll, Now(), error));
    EXPECT_EQ(store_.SaveList(path_, SaveMode::Full, error, Options()), SaveStatus::RefusedUnreadable);

    std::filesystem::remove(path_);
    WriteBytes(path_, Lines({Line(3)}));
    Load(kAll);
    EXPECT_EQ(Save(SaveMode::Full), SaveStatus::Saved);
}

TEST_F(ListStoreTest, ExportAndImportOfToDoFiles)
{
    std::filesystem::create_directories(path_.parent_path());
    const std::string list = Lines({Line(0), Line(1, true), Line(2)});
    WriteBytes(path_, list);
    Load(kAll);
    const auto exported = folder_ / "out.tod";
    FileError error;
    ASSERT_EQ(store_.SaveList(exported, SaveMode::Full, error, Options()), SaveStatus::Saved);
    EXPECT_EQ(ReadBytes(exported), list);
    EXPECT_EQ(store_.Rows()[2].FileLine, "2") << "an export leaves the rows tied to the list file";

    const auto imported = folder_ / "in.tod";
    WriteBytes(imported, Lines({Line(5), Line(6)}));
    ASSERT_TRUE(store_.LoadList(imported, kAll, Now(), error));
    ASSERT_EQ(store_.SaveList(path_, SaveMode::Full, error, Options()), SaveStatus::Saved);
    EXPECT_EQ(ReadBytes(path_), Lines({Line(5), Line(6)})) << "applying an import replaces the list file";
}

TEST_F(ListStoreTest, EveryCp932SequenceAndStrayBytesSurviveLoadAndSave)
{
    // One line per lead byte holding every trail byte after it, plus bytes that are no valid
    // cp932 at all; the store must hand all of them back untouched.
    std::string text;
    auto addLead = [&](int lead) {
        std::string task = "task";
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail != 0x7F) {
                task += static_cast<char>(lead);
                task += static_cast<char>(trail);
            }
        }
        text += "2010/05/01 09:00+=00000@\\@#@#" + task + "\r\n";
    };
    for (int lead = 0x81; lead <= 0x9F; ++lead) {
        addLead(lead);
    }
    for (int lead = 0xE0; lead <= 0xFC; ++lead) {
        addLead(lead);
    }
    text += "+=00000\x80\xA0@\\@\xFD\xFE#@#\xFF stray\r\n";
    std::filesystem::create_directories(path_.parent_path());
    WriteBytes(path_, text);
    Load(kAll);
    ASSERT_EQ(Save(SaveMode::Full), SaveStatus::Saved);
    EXPECT_EQ(ReadBytes(path_), text);
    Load(kOpen);
    ASSERT_EQ(Save(SaveMode::Merge), SaveStatus::Saved);
    EXPECT_EQ(ReadBytes(path_), text);
}

TEST(RowStaysInViewTest, WhichRowsLeaveAfterApplying)
{
    ToDoRecord open;
    ToDoRecord done;
    done.Completed = true;
    ToDoRecord work;
    work.Category = Sj("仕事");
    struct Case {
        int tab;
        std::string categoryText;
        int categoryIndex;
        const ToDoRecord* row;
        bool stays;
    };
    const Case cases[] = {
        {0, Sj("全て"), 0, &done, true},  {3, Sj("全て"), 0, &done, false}, {3, Sj("全て"), 0, &open, true},
        {4, Sj("全て"), 0, &open, false}, {4, Sj("全て"), 0, &done, true},  {3, Sj("なし"), 1, &work, false},
        {3, Sj("なし"), 1, &open, true},  {3, Sj("仕事"), 2, &work, true},  {3, Sj("家庭"), 3, &work, false},
        {1, "", 0, &work, true},
    };
    for (const auto& c : cases) {
        ViewState view{c.tab, c.categoryText, c.categoryIndex};
        EXPECT_EQ(RowStaysInView(*c.row, view), c.stays) << "tab " << c.tab << " category index " << c.categoryIndex;
    }
}

}  // namespace
}  // namespace dolvane
