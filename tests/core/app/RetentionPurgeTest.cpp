#include "support/ListFiles.h"
#include "support/WindowModelFixture.h"

namespace dolvane {
namespace {

using test::ReadBytes;
using test::WriteBytes;

class RetentionPurgeTest : public test::WindowModelTest {
protected:
    // An open row and one completed 8 days before now (2010/05/05 12:00).
    RetentionPurgeTest()
    {
        WriteBytes(paths_.ListFilePath, test::CrLfLines({"2010/05/01 09:00+=03020@\\@#@#open",
                                                         "2010/04/20 09:00|2010/04/27 09:00+=13050@\\@#@#old"}));
    }
};

TEST_F(RetentionPurgeTest, WaitsForAKeepingPeriodAndAsksOnce)
{
    WriteBytes(paths_.ProgramFolder / "data.ini", "[tododel]\r\nValue=0\r\n");
    const auto model = Make();
    model->StatusTick();
    EXPECT_TRUE(prompts_.questions.empty()) << "keeping period 0: nothing is purged";

    model->Session().SetKeepDays(7);
    prompts_.answer = false;
    model->StatusTick();
    EXPECT_EQ(prompts_.questions,
              std::vector<std::string>{
                  "完了したToDoの削除確認|保持日数の 7日に該当するToDoが 1件見つかりました。削除しますか？"});
    EXPECT_EQ(model->Rows().size(), 2U);
    EXPECT_TRUE(model->Rows()[1].Selected) << "No leaves the found rows selected";
    model->StatusTick();
    EXPECT_EQ(prompts_.questions.size(), 1U) << "offered once per run";
}

TEST_F(RetentionPurgeTest, YesRemovesAndSaves)
{
    const auto model = Make();
    model->StatusTick();
    ASSERT_EQ(model->Rows().size(), 1U);
    EXPECT_EQ(ReadBytes(paths_.ListFilePath), "2010/05/01 09:00+=03020@\\@#@#open\r\n");
    EXPECT_EQ(sibling_.received.size(), 1U);
}

}  // namespace
}  // namespace dolvane
