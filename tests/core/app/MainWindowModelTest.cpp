#include "support/WindowModelFixture.h"

namespace dolvane {
namespace {

using test::ReadBytes;
using test::Sj;
using test::WriteBytes;

const std::string kSaveQuestion = "ToDo|ToDoリストが変更されています。保存しますか？";
const std::string& kLine = test::kOneLine;

class MainWindowModelTest : public test::WindowModelTest {};

TEST_F(MainWindowModelTest, StartsWithTheListLoadedAtTheClocksNow)
{
    const auto model = Make();
    ASSERT_EQ(model->Rows().size(), 1U);
    EXPECT_EQ(model->Rows()[0].RemainingText, Sj("5日6時間")) << "computed at the clock's now";
    EXPECT_FALSE(model->State().UnsavedChanges);
}

TEST_F(MainWindowModelTest, ClosingAsksOnlyWithUnsavedChangesAndSavesOnlyOnYes)
{
    for (const auto& [change, answer] : {std::pair{false, true}, std::pair{true, false}, std::pair{true, true}}) {
        WriteBytes(paths_.ListFilePath, kLine + "\r\n");
        prompts_.questions.clear();
        sibling_.received.clear();
        prompts_.answer = answer;
        const auto model = Make();
        if (change) {
            model->List().SetRowCompleted(0, true);
        }
        EXPECT_TRUE(model->CloseQuery());
        EXPECT_EQ(prompts_.questions, change ? std::vector<std::string>{kSaveQuestion} : std::vector<std::string>{});
        const bool saved = ReadBytes(paths_.ListFilePath) != kLine + "\r\n";
        EXPECT_EQ(saved, change && answer) << "change " << change << " answer " << answer;
        EXPECT_EQ(sibling_.received.size(), change && answer ? 1U : 0U);
    }
}

// The notice after a save is checked with the store; here only that an absent sibling is no error.
TEST_F(MainWindowModelTest, SavingWithoutASiblingReportsNothing)
{
    sibling_.running = false;
    const auto model = Make();
    model->List().SetRowCompleted(0, true);
    ASSERT_TRUE(model->Apply());
    EXPECT_TRUE(prompts_.errors.empty() && prompts_.messages.empty());
}

TEST_F(MainWindowModelTest, AFailedSaveOnCloseKeepsTheWindowOpen)
{
    const auto model = Make();
    model->List().SetRowCompleted(0, true);
    std::filesystem::remove(paths_.ListFilePath);
    std::filesystem::create_directory(paths_.ListFilePath);  // the file cannot be replaced now
    EXPECT_FALSE(model->CloseQuery());
    EXPECT_EQ(prompts_.errors.size(), 1U);
    EXPECT_TRUE(model->State().UnsavedChanges);
}

TEST_F(MainWindowModelTest, AFileChangedBehindTheProgramIsOverwrittenOnlyWhenConfirmed)
{
    const auto model = Make();
    model->List().SetRowCompleted(0, true);
    const std::string other = kLine + "\r\n" + kLine + "2\r\n";
    WriteBytes(paths_.ListFilePath, other);
    prompts_.answer = false;
    EXPECT_FALSE(model->Apply());
    EXPECT_EQ(ReadBytes(paths_.ListFilePath), other);
    EXPECT_EQ(prompts_.questions.size(), 1U);
    EXPECT_EQ(prompts_.preselected, std::vector{Prompts::Preselect::No}) << "Enter must not write over the change";
    prompts_.answer = true;
    EXPECT_TRUE(model->Apply());
    EXPECT_NE(ReadBytes(paths_.ListFilePath), other);
}

TEST_F(MainWindowModelTest, TheSiblingWatchClosesOnlyAHostedProgram)
{
    auto model = Make();
    sibling_.running = false;
    EXPECT_FALSE(model->SiblingHasGone()) << "not hosted: the sibling's absence does not matter";
    paths_ = DeriveProgramPaths(folder_.Path() / "opt/Ｖｅｌｋ/ピマロ", "aki", folder_.Path() / "opt");
    model = Make();
    EXPECT_TRUE(model->SiblingHasGone());
    sibling_.running = true;
    EXPECT_FALSE(model->SiblingHasGone());
}

}  // namespace
}  // namespace dolvane
