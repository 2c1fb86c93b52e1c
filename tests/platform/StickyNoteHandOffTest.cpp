// The sticky-note command end to end below the widgets: selected rows of a list file, the fields
// the dialog answers, and the record the sibling receives through the real channel.
#include "PrivateRuntime.h"
#include "platform/SiblingChannel.h"
#include "support/StandInSibling.h"
#include "support/WindowModelFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dolvane {
namespace {

using test::Sj;
using test::Utf8;

class StickyNoteHandOffTest : public test::WindowModelTest {
protected:
    // Writes `lines` (UTF-8) as the list and sends its selected rows with `fields` answered; the
    // records the sibling got.
    std::vector<test::StandInSibling::Record>
    Send(const std::vector<std::string>& lines, std::optional<StickyNoteFields> fields, bool select = true,
         test::StandInSibling::Answer answer = test::StandInSibling::Answer::Reply)
    {
        std::string file;
        for (const std::string& line : lines) {
            file += Sj(line) + "\r\n";
        }
        test::WriteBytes(paths_.ListFilePath, file);
        LocalSocketSibling sibling;
        test::StandInSibling standIn(sibling.SocketPath(), answer);
        EXPECT_TRUE(standIn.Listening());
        prompts_ = {};
        prompts_.stickyNoteAnswer = fields;
        MainWindowModel model(paths_, MainWindowPorts{clock_, prompts_, sibling, test::DiskFiles(), nullptr, {}});
        if (select) {
            model.List().SelectAll();
        }
        EXPECT_TRUE(model.Notes().Available());
        EXPECT_EQ(model.Notes().Create(), fields.has_value());
        EXPECT_EQ(prompts_.stickyNoteDialogs, 1);
        if (fields && answer == test::StandInSibling::Answer::Reply) {
            standIn.WaitForRecords(1, 2000);
        }
        return standIn.Records();
    }

    test::PrivateRuntime runtime_;
};

// The list's rows, all selected, with the fields answered (importance, executor, category,
// progress, first line only): the note's text, "\r\n" between lines.
TEST_F(StickyNoteHandOffTest, TheSiblingReceivesTheNotesByteForByte)
{
    const std::string openFive = "2010/05/01 09:00+=05000@\\@#@#電話する";
    const std::string doneTwo = "2010/05/01 09:00|2010/05/02 10:00+=12100@\\@#@#見積";
    const std::string a = "2010/05/01 09:00+=03050@\\@#@#a";
    const std::string threeLines = "2010/05/01 09:00+=03050@\\@#@#一行目･･二行目･･三行目";
    const bool y = true;
    const bool n = false;
    const struct {
        std::vector<std::string> lines;
        StickyNoteFields fields;
        const char* body;
    } cases[] = {
        // Open before completed, then by importance.
        {{doneTwo, openFive}, {y, n, n, n, y}, "□(5)電話する\r\n■(2)見積"},
        {{"2010/05/01 09:00+=02000@\\@#@#二", openFive, "2010/05/01 09:00+=04000@\\@#@#四"},
         {y, n, n, n, y},
         "□(5)電話する\r\n□(4)四\r\n□(2)二"},
        {{a}, {n, n, n, y, y}, "□(50%)a"},
        // An empty executor adds nothing.
        {{a}, {n, y, n, n, y}, "□a"},
        {{"2010/05/01 09:00|2010/05/03 10:00+=15100E@\\@C#@#T"}, {y, y, y, y, y}, "■(5-100%) E > [C] T"},
        {{threeLines}, {n, n, n, n, y}, "□一行目"},
        {{threeLines}, {n, n, n, n, n}, "□一行目\r\n二行目\r\n三行目"},
        // Trailing blanks go, inner ones stay.
        {{"2010/05/01 09:00+=03050@\\@#@#a  b   "}, {n, n, n, n, y}, "□a  b"},
    };
    for (const auto& c : cases) {
        const auto records = Send(c.lines, c.fields);
        ASSERT_EQ(records.size(), 1U) << c.body;
        EXPECT_EQ(records[0].kind, 1U) << c.body;
        EXPECT_EQ(Utf8(records[0].payload), std::string("VelkA") + c.body);
    }
}

TEST_F(StickyNoteHandOffTest, NothingSelectedStillSendsTheTagAndCancelSendsNothing)
{
    const std::vector<std::string> lines{"2010/05/01 09:00+=03050@\\@#@#a"};
    const auto none = Send(lines, StickyNoteFields{true, true, true, true, true}, false);
    ASSERT_EQ(none.size(), 1U);
    EXPECT_EQ(none[0].payload, "VelkA");
    EXPECT_TRUE(Send(lines, std::nullopt).empty());
    EXPECT_TRUE(prompts_.errors.empty());
}

// Notes larger than the socket's buffers, to a sibling that hangs: the user hears of it.
TEST_F(StickyNoteHandOffTest, NotesTheSiblingDoesNotTakeWholeAreReported)
{
    const std::string line = "2010/05/01 09:00+=03050@\\@#@#" + std::string(512 * 1024, 'x');
    const auto records = Send({line}, StickyNoteFields{}, true, test::StandInSibling::Answer::NeverRead);
    EXPECT_TRUE(records.empty());
    ASSERT_EQ(prompts_.errors.size(), 1U);
    EXPECT_EQ(prompts_.errors[0], "付箋を作成できませんでした。ピマロが付箋の内容を受け取りませんでした。");
}

}  // namespace
}  // namespace dolvane
