// The sticky-note command end to end below the widgets: selected rows of a list file, the fields
// the dialog answers, and the record the sibling receives through the real channel.
#include "PrivateRuntime.h"
#include "core/app/MainWindowModel.h"
#include "platform/SiblingChannel.h"
#include "support/DiskFiles.h"
#include "support/FakePorts.h"
#include "support/Sjis.h"
#include "support/StandInSibling.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dolvane {
namespace {

using test::Sj;
using test::Utf8;

struct NoteCase {
    const char* what;
    std::vector<const char*> lines;  // the list file (UTF-8), every row selected
    StickyNoteFields fields;         // importance, executor, category, progress, first line only
    const char* body;                // UTF-8; "\r\n" between lines
};

class StickyNoteHandOffTest : public ::testing::Test {
protected:
    // Sends the selected rows of `lines` with `fields` answered; the records the sibling got.
    std::vector<test::StandInSibling::Record>
    Send(const std::vector<const char*>& lines, std::optional<StickyNoteFields> fields, bool select = true,
         test::StandInSibling::Answer answer = test::StandInSibling::Answer::Reply)
    {
        const test::TempFolder folder;
        const ProgramPaths paths = DeriveProgramPaths(folder / "program", "aki", folder / "opt");
        std::filesystem::create_directories(paths.ListFilePath.parent_path());
        std::string file;
        for (const char* line : lines) {
            file += Sj(line) + "\r\n";
        }
        test::WriteBytes(paths.ListFilePath, file);

        LocalSocketSibling sibling;
        test::StandInSibling standIn(sibling.SocketPath(), answer);
        EXPECT_TRUE(standIn.Listening());
        test::FixedClock clock;
        test::ScriptedPrompts prompts;
        prompts.stickyNoteAnswer = fields;
        MainWindowModel model(paths, MainWindowPorts{clock, prompts, sibling, test::DiskFiles(), nullptr, {}});
        if (select) {
            model.List().SelectAll();
        }
        EXPECT_TRUE(model.Notes().Available());
        EXPECT_EQ(model.Notes().Create(), fields.has_value());
        EXPECT_EQ(prompts.stickyNoteDialogs, 1);
        errors_ = prompts.errors;
        if (fields && answer == test::StandInSibling::Answer::Reply) {
            standIn.WaitForRecords(1, 2000);
        }
        return standIn.Records();
    }

    test::PrivateRuntime runtime_;
    std::vector<std::string> errors_;  // what the last Send told the user
};

TEST_F(StickyNoteHandOffTest, TheSiblingReceivesTheNotesByteForByte)
{
    const char* const openFive = "2010/05/01 09:00+=05000@\\@#@#電話する";
    const char* const doneTwo = "2010/05/01 09:00|2010/05/02 10:00+=12100@\\@#@#見積";
    const NoteCase cases[] = {
        {"open before completed, importance first",
         {doneTwo, openFive},
         StickyNoteFields{true, false, false, false, true},
         "□(5)電話する\r\n■(2)見積"},
        {"one mark: the more important first",
         {"2010/05/01 09:00+=02000@\\@#@#二", openFive, "2010/05/01 09:00+=04000@\\@#@#四"},
         StickyNoteFields{true, false, false, false, true},
         "□(5)電話する\r\n□(4)四\r\n□(2)二"},
        {"progress only",
         {"2010/05/01 09:00+=03050@\\@#@#a"},
         StickyNoteFields{false, false, false, true, true},
         "□(50%)a"},
        {"empty executor adds nothing",
         {"2010/05/01 09:00+=03050@\\@#@#a"},
         StickyNoteFields{false, true, false, false, true},
         "□a"},
        {"the full line",
         {"2010/05/01 09:00|2010/05/03 10:00+=15100E@\\@C#@#T"},
         StickyNoteFields{true, true, true, true, true},
         "■(5-100%) E > [C] T"},
        {"first line only",
         {"2010/05/01 09:00+=03050@\\@#@#一行目･･二行目･･三行目"},
         StickyNoteFields{false, false, false, false, true},
         "□一行目"},
        {"all three lines",
         {"2010/05/01 09:00+=03050@\\@#@#一行目･･二行目･･三行目"},
         StickyNoteFields{false, false, false, false, false},
         "□一行目\r\n二行目\r\n三行目"},
        {"trailing blanks go, inner ones stay",
         {"2010/05/01 09:00+=03050@\\@#@#a  b   "},
         StickyNoteFields{false, false, false, false, true},
         "□a  b"},
    };
    for (const NoteCase& c : cases) {
        const auto records = Send(c.lines, c.fields);
        ASSERT_EQ(records.size(), 1U) << c.what;
        EXPECT_EQ(records[0].kind, 1U) << c.what;
        EXPECT_EQ(Utf8(records[0].payload), std::string("VelkA") + c.body) << c.what;
    }
}

TEST_F(StickyNoteHandOffTest, NothingSelectedStillSendsTheTagAndCancelSendsNothing)
{
    const std::vector<const char*> lines{"2010/05/01 09:00+=03050@\\@#@#a"};
    const auto none = Send(lines, StickyNoteFields{true, true, true, true, true}, false);
    ASSERT_EQ(none.size(), 1U);
    EXPECT_EQ(none[0].payload, "VelkA");
    EXPECT_TRUE(Send(lines, std::nullopt).empty());
    EXPECT_TRUE(errors_.empty());
}

// Notes larger than the socket's buffers, to a sibling that hangs: the user hears of it.
TEST_F(StickyNoteHandOffTest, NotesTheSiblingDoesNotTakeWholeAreReported)
{
    const std::string line = "2010/05/01 09:00+=03050@\\@#@#" + std::string(512 * 1024, 'x');
    const auto records = Send({line.c_str()}, StickyNoteFields{false, false, false, false, true}, true,
                              test::StandInSibling::Answer::NeverRead);
    EXPECT_TRUE(records.empty());
    ASSERT_EQ(errors_.size(), 1U);
    EXPECT_EQ(errors_[0], "付箋を作成できませんでした。ピマロが付箋の内容を受け取りませんでした。");
}

}  // namespace
}  // namespace dolvane
