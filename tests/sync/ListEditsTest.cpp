#include "sync/ListEdits.h"

#include "support/Sjis.h"

#include <gtest/gtest.h>

namespace dolvane {
namespace {

using test::Sj;

const std::string kA = Sj("2024/05/01 09:00+=00000@\\@#@#一");
const std::string kB = Sj("2024/05/02 09:00+=00000@\\@#@#二");
const std::string kC = Sj("2024/05/03 09:00+=00000@\\@#@#三");
const std::string kNew = Sj("2024/05/04 09:00+=00000@\\@#@#新しい");
const std::string kMeanwhile = Sj("2024/05/05 09:00+=00000@\\@#@#その間に");

// The pass read A B C; it replaces B with "B2", removes C and adds kNew at the end.
ListEdits Edits()
{
    ListEdits edits(3);
    edits.replaced[1] = "B2";
    edits.removed[2] = true;
    edits.appended.push_back(kNew);
    return edits;
}

TEST(ListEditsTest, EditsLandOnTheLinesTheyNameOrWaitWhenTheirLineChangedMeanwhile)
{
    const std::string read = kA + "\r\n" + kB + "\n" + kC + "\r\n";
    const struct {
        const char* what;
        std::string current;
        std::string bytes;
        std::vector<bool> edited;
        std::vector<std::optional<std::size_t>> lineAt;
        std::size_t appendedAt;
    } cases[] = {
        {"as read", read, kA + "\r\nB2\n" + kNew + "\r\n", {false, true, true}, {0, 1, std::nullopt}, 2},
        {"a line added above and the last line end lost",
         kMeanwhile + "\r\n" + kA + "\r\n" + kB + "\n" + kC,
         kMeanwhile + "\r\n" + kA + "\r\nB2\n" + kNew + "\r\n",
         {false, true, true},
         {1, 2, std::nullopt},
         3},
        {"the replaced line edited meanwhile",
         kA + "\r\n" + kMeanwhile + "\n" + kC + "\r\n",
         kA + "\r\n" + kMeanwhile + "\n" + kNew + "\r\n",
         {false, false, true},
         {0, 1, std::nullopt},
         2},
        {"the removed line edited meanwhile",
         kA + "\r\n" + kB + "\n" + kMeanwhile,
         kA + "\r\nB2\n" + kMeanwhile + "\r\n" + kNew + "\r\n",
         {false, true, false},
         {0, 1, 2},
         3},
    };
    for (const auto& c : cases) {
        const EditedList edited = EditList(read, c.current, Edits());
        EXPECT_EQ(edited.bytes, c.bytes) << c.what;
        EXPECT_EQ(edited.edited, c.edited) << c.what;
        EXPECT_EQ(edited.lineAt, c.lineAt) << c.what;
        EXPECT_EQ(edited.appendedAt, std::vector<std::size_t>{c.appendedAt}) << c.what;
    }
}

}  // namespace
}  // namespace dolvane
