// Writers that race on one list file: dolvane-cli add loops in two processes and the window's
// model saving in this one. Whatever any of them reports as saved is in the file at the end,
// and whatever was not saved says so.
#include "core/app/MainWindowModel.h"
#include "support/DiskFiles.h"
#include "support/FakePorts.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace dolvane {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;

struct Outcome {
    std::string task;
    int exitCode = -1;
    std::string err;
};

// One `dolvane-cli add` of `task`; its error output goes to `errFile`.
Outcome AddWithCli(const fs::path& list, const std::string& task, const fs::path& errFile)
{
    const std::string cli = DOLVANE_CLI_EXECUTABLE;
    std::vector<std::string> arguments{cli, "add", "--file", list.string(), "--task", task};
    std::vector<char*> argv;
    for (auto& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    Outcome outcome;
    outcome.task = task;
    if (posix_spawn(&pid, cli.c_str(), &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128;
    }
    posix_spawn_file_actions_destroy(&actions);
    outcome.err = ReadBytes(errFile);
    return outcome;
}

std::size_t Occurrences(const std::string& text, const std::string& line)
{
    std::size_t count = 0;
    for (auto at = text.find(line); at != std::string::npos; at = text.find(line, at + 1)) {
        ++count;
    }
    return count;
}

TEST(TwoWritersTest, NothingReportedSavedIsLostAndNothingLostIsReportedSaved)
{
    const test::TempFolder folder;
    const ProgramPaths paths = DeriveProgramPaths(folder / "program", "aki", folder / "opt");
    fs::create_directories(paths.ListFilePath.parent_path());
    test::WriteBytes(paths.ListFilePath, "2010/05/01 09:00+=00000@\\@#@#first\r\n");
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);

    std::vector<std::vector<Outcome>> cliOutcomes(2);
    std::vector<std::thread> writers;
    for (std::size_t w = 0; w < cliOutcomes.size(); ++w) {
        writers.emplace_back([&, w] {
            const fs::path errFile = folder / ("err" + std::to_string(w));
            for (int i = 0; std::chrono::steady_clock::now() < end; ++i) {
                cliOutcomes[w].push_back(
                    AddWithCli(paths.ListFilePath, "cli" + std::to_string(w) + "-" + std::to_string(i) + ".", errFile));
            }
        });
    }

    // The window: reload, add a row, apply; a file changed behind it is not overwritten (No).
    test::FixedClock clock;
    test::ScriptedPrompts prompts;
    prompts.answer = false;
    test::FakeSibling sibling;
    sibling.running = false;
    std::vector<std::string> modelSaved;
    int modelTries = 0;
    {
        MainWindowModel model(paths, MainWindowPorts{clock, prompts, sibling, test::DiskFiles(), nullptr, {}});
        for (int i = 0; std::chrono::steady_clock::now() < end; ++i, ++modelTries) {
            model.Reload();
            const std::string task = "model-" + std::to_string(i) + ".";
            model.Editing().SetText(PanelField::Task, task);
            model.AddFromPanel();
            if (model.Apply()) {
                modelSaved.push_back(task);
            }
        }
    }
    for (auto& writer : writers) {
        writer.join();
    }

    const std::string file = ReadBytes(paths.ListFilePath);
    EXPECT_EQ(Occurrences(file, "#@#first\r\n"), 1U);
    std::size_t saved = 0;
    std::size_t refused = 0;
    for (const auto& outcomes : cliOutcomes) {
        for (const Outcome& outcome : outcomes) {
            const std::size_t found = Occurrences(file, "#@#" + outcome.task + "\r\n");
            if (outcome.exitCode == 0) {
                ++saved;
                EXPECT_EQ(found, 1U) << outcome.task << " was reported saved";
            } else {
                ++refused;
                EXPECT_EQ(found, 0U) << outcome.task << " was reported not saved";
                EXPECT_NE(outcome.err.find("dolvane-cli: "), std::string::npos) << outcome.task << ": " << outcome.err;
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
