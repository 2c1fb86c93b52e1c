// ツール > "同期(&Y)" on the window model, with a service that stands in for the server.
#include "core/app/SyncCommand.h"

#include "support/WindowModelFixture.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace dolvane {
namespace {

using test::ReadBytes;
using test::WriteBytes;

const std::string kSynced = "2010/05/02 09:00+=00000@\\@#@#from the server";

// Writes what the server sent into the list file and answers as scripted.
class FakeSyncService final : public SyncService {
public:
    bool Configured() const override { return configured; }
    SyncReport Run(const std::filesystem::path& listFile) override
    {
        runs.push_back(listFile);
        if (fail) {
            throw std::runtime_error("サーバーに接続できません");
        }
        WriteBytes(listFile, test::kOneLine + "\r\n" + kSynced + "\r\n");
        return report;
    }

    bool configured = true;
    bool fail = false;
    SyncReport report{true, "同期しました"};
    std::vector<std::filesystem::path> runs;
};

class SyncCommandTest : public test::WindowModelTest {
protected:
    static void EditFirstRow(MainWindowModel& model)
    {
        model.Document().Rows()[0].TaskText = "unsaved";
        model.Document().MarkChanged(true);
    }

    FakeSyncService service_;
};

TEST_F(SyncCommandTest, OfferedOnlyWithAConfiguredServerAndNotWhileRunning)
{
    EXPECT_FALSE(Make()->Sync().Enabled());
    service_.configured = false;
    EXPECT_FALSE(Make(nullptr, &service_)->Sync().Enabled());
    EXPECT_FALSE(Make(nullptr, &service_)->Sync().Start().has_value());
    EXPECT_TRUE(service_.runs.empty());

    service_.configured = true;
    auto model = Make(nullptr, &service_);
    SyncCommand& command = model->Sync();
    ASSERT_TRUE(command.Enabled());
    const auto list = command.Start();
    ASSERT_EQ(list, paths_.ListFilePath);
    EXPECT_FALSE(command.Enabled()) << "a second pass must not start while one runs";
    EXPECT_FALSE(command.Start().has_value());
    command.Finish(command.Run(*list));
    EXPECT_TRUE(command.Enabled());
}

TEST_F(SyncCommandTest, AfterAPassTheListIsReadAgainAndTheReportShown)
{
    const struct {
        bool ok;
        bool throws;
        const char* shown;
    } table[] = {
        {true, false, "同期しました"},
        {false, false, "サーバーが見つかりません"},
        {false, true, "サーバーに接続できません"},
    };
    for (const auto& row : table) {
        WriteBytes(paths_.ListFilePath, test::kOneLine + "\r\n");
        prompts_ = {};
        service_.report = {row.ok, row.shown};
        service_.fail = row.throws;
        auto model = Make(nullptr, &service_);
        SyncCommand& command = model->Sync();
        const auto list = command.Start();
        ASSERT_TRUE(list.has_value());
        command.Finish(command.Run(*list));
        EXPECT_EQ(row.ok ? prompts_.messages : prompts_.errors, std::vector<std::string>{row.shown});
        EXPECT_TRUE((row.ok ? prompts_.errors : prompts_.messages).empty());
        EXPECT_EQ(model->Rows().size(), row.throws ? 1U : 2U) << row.shown;
        EXPECT_TRUE(prompts_.questions.empty());
    }
}

// Unsaved changes are dropped only when the user says so, before the pass and after it (changes
// made while it ran); each time the question names what drops them.
TEST_F(SyncCommandTest, UnsavedChangesAreDroppedOnlyWithTheUsersYes)
{
    const std::string questions[] = {
        "確認|同期すると、保存していない変更内容が取り消されます。\nよろしいですか？",
        "確認|同期した一覧を読み込むと、同期の間に変更した内容が取り消されます。\nよろしいですか？"};
    for (const bool whileRunning : {false, true}) {
        for (const bool yes : {false, true}) {
            SCOPED_TRACE(testing::Message() << (whileRunning ? "while it ran" : "before") << (yes ? ", yes" : ", no"));
            prompts_ = {};
            prompts_.answer = yes;
            service_.runs.clear();
            WriteBytes(paths_.ListFilePath, test::kOneLine + "\r\n");
            auto model = Make(nullptr, &service_);
            SyncCommand& command = model->Sync();
            if (!whileRunning) {
                EditFirstRow(*model);
            }
            if (const auto list = command.Start()) {
                const SyncReport report = command.Run(*list);
                if (whileRunning) {
                    EditFirstRow(*model);
                }
                command.Finish(report);
            }
            EXPECT_EQ(prompts_.questions, std::vector<std::string>{questions[whileRunning ? 1 : 0]});
            EXPECT_EQ(service_.runs.size(), whileRunning || yes ? 1U : 0U);
            EXPECT_EQ(model->Rows().size(), yes ? 2U : 1U);
            EXPECT_EQ(model->Rows()[0].TaskText, yes ? "task" : "unsaved") << "a no keeps what was typed";
            EXPECT_EQ(prompts_.messages.size(), whileRunning || yes ? 1U : 0U) << "the report of a pass that ran";
            EXPECT_TRUE(command.Enabled());
        }
    }
}

}  // namespace
}  // namespace dolvane
