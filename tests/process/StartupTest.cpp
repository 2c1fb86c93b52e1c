// Starts the real program as a user would, offscreen, in folders of the test's own making.
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace dolvane {
namespace {

using namespace std::chrono_literals;
using test::TempFolder;

// A started copy of the program; killed if the test leaves it running.
class Program final {
public:
    Program(const std::filesystem::path& executable, const std::filesystem::path& home)
    {
        pid_ = fork();
        if (pid_ == 0) {
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
            setenv("XDG_RUNTIME_DIR", (home / "runtime").c_str(), 1);
            setenv("HOME", home.c_str(), 1);
            setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
            execl(executable.c_str(), executable.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~Program()
    {
        if (!exitCode_ && pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The exit code once the program has ended within `limit`, else nothing.
    std::optional<int> WaitForExit(std::chrono::milliseconds limit)
    {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (!exitCode_ && std::chrono::steady_clock::now() < end) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
                break;
            }
            std::this_thread::sleep_for(20ms);
        }
        return exitCode_;
    }

private:
    pid_t pid_ = -1;
    std::optional<int> exitCode_;
};

class StartupTest : public testing::Test {
protected:
    StartupTest()
    {
        std::filesystem::create_directories(folder_ / "home/runtime");
        std::filesystem::permissions(folder_ / "home/runtime", std::filesystem::perms::owner_all);
    }

    // A copy of the program installed in `folder` (relative to the test's folder).
    std::filesystem::path Install(const std::string& folder)
    {
        const auto target = folder_ / folder / "dolvane";
        std::filesystem::create_directories(target.parent_path());
        std::filesystem::copy_file(DOLVANE_EXECUTABLE, target);
        return target;
    }

    std::filesystem::path Home() const { return folder_ / "home"; }

    TempFolder folder_;
};

TEST_F(StartupTest, ASecondStartLeavesAtOnceAndTheFirstKeepsRunning)
{
    const auto executable = Install("program");
    Program first(executable, Home());
    EXPECT_FALSE(first.WaitForExit(1500ms).has_value()) << "the first instance runs";
    EXPECT_FALSE(std::filesystem::exists(folder_ / "program/data.ini")) << "data.ini is written only when closed";

    Program second(executable, Home());
    EXPECT_EQ(second.WaitForExit(5s), std::optional<int>(0));
    EXPECT_FALSE(first.WaitForExit(300ms).has_value()) << "the first instance is untouched";
}

// With no sibling running, a program it hosts closes itself at its first timer tick.
TEST_F(StartupTest, AProgramInsideTheSiblingsFolderFollowsTheSiblingOut)
{
    Program hosted(Install("opt/Ｖｅｌｋ/ピマロ"), Home());
    EXPECT_EQ(hosted.WaitForExit(5s), std::optional<int>(0));
    EXPECT_FALSE(std::filesystem::exists(folder_ / "opt/Ｖｅｌｋ/ピマロ/data.ini"))
        << "a hosted program keeps its settings in the sibling's store";
}

}  // namespace
}  // namespace dolvane
