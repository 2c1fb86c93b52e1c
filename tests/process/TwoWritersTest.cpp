// Writers that race on one list file: dolvane-cli add loops in two processes and the window's
// model saving in this one. Whatever any of them reports as saved is in the file at the end,
// and whatever was not saved says so.
#include "support/ChildProcess.h"
#include "support/ListFiles.h"
#include "support/WindowModelFixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace dolvane {
namespace {

namespace fs = std::filesystem;
using test::Occurrences;
using test::ReadBytes;

class TwoWritersTest : public test::WindowModelTest {};

TEST_F(TwoWritersTest, NothingReportedSavedIsLostAndNothingLostIsReportedSaved)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);

    // Each writer's tasks and how its `dolvane-cli add` of them ended.
    std::vector<std::vector<std::pair<std::string, test::Finished>>> cliOutcomes(2);
    std::vector<std::thread> writers;
    for (std::size_t w = 0; w < cliOutcomes.size(); ++w) {
        writers.emplace_back([&, w] {
            const fs::path scratch = folder_ / ("writer" + std::to_string(w));
            fs::create_directories(scratch);
            for (int i = 0; std::chrono::steady_clock::now() < end; ++i) {
                const std::string task = "cli" + std::to_string(w) + "-" + std::to_string(i) + ".";
                cliOutcomes[w].emplace_back(task, test::RunChild({DOLVANE_CLI_EXECUTABLE, "add", "--file",
                                                                  paths_.ListFilePath.string(), "--task", task},
                                                                 {}, scratch));
            }
        });
    }

    // The window: reload, add a row, apply; a file changed behind it is not overwritten (No).
    prompts_.answer = false;
    sibling_.running = false;
    std::vector<std::string> modelSaved;
    int modelTries = 0;
    {
        const auto model = Make();
        for (int i = 0; std::chrono::steady_clock::now() < end; ++i, ++modelTries) {
            model->Reload();
            const std::string task = "model-" + std::to_string(i) + ".";
            model->Editing().SetText(PanelField::Task, task);
            model->AddFromPanel();
            if (model->Apply()) {
                modelSaved.push_back(task);
            }
        }
    }
    for (auto& writer : writers) {
        writer.join();
    }

    const std::string file = ReadBytes(paths_.ListFilePath);
    EXPECT_EQ(Occurrences(file, test::kOneLine + "\r\n"), 1U);
    std::size_t saved = 0;
    std::size_t refused = 0;
    for (const auto& outcomes : cliOutcomes) {
        for (const auto& [task, run] : outcomes) {
            const std::size_t found = Occurrences(file, "#@#" + task + "\r\n");
            if (run.exitCode == 0) {
                ++saved;
                EXPECT_EQ(found, 1U) << task << " was reported saved";
            } else {
                ++refused;
                EXPECT_EQ(found, 0U) << task << " was reported not saved";
                EXPECT_NE(run.err.find("dolvane-cli: "), std::string::npos) << task << ": " << run.err;
            }
        }
    }
    for (const auto& task : modelSaved) {
        EXPECT_EQ(Occurrences(file, "#@#" + task + "\r\n"), 1U) << task << " was reported saved by the window";
    }
    EXPECT_GT(saved, 20U) << "the writers did get their turns";
    EXPECT_FALSE(modelSaved.empty());
    std::printf("cli adds saved %zu, refused %zu; window saves %zu of %d\n", saved, refused, modelSaved.size(),
                modelTries);
}

}  // namespace
}  // namespace dolvane
