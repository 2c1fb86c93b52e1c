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
    // `runtime` is XDG_RUNTIME_DIR, `temp` TMPDIR; an empty one is left unset.
    Program(const std::filesystem::path& executable, const std::filesystem::path& home,
            std::optional<std::filesystem::path> runtime = std::nullopt, const std::filesystem::path& temp = {})
    {
        pid_ = fork();
        if (pid_ == 0) {
            const std::string runtimeFolder = runtime.value_or(home / "runtime").string();
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
            runtimeFolder.empty() ? unsetenv("XDG_RUNTIME_DIR") : setenv("XDG_RUNTIME_DIR", runtimeFolder.c_str(), 1);
            temp.empty() ? unsetenv("TMPDIR") : setenv("TMPDIR", temp.c_str(), 1);
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

    void Signal(int number) const { kill(pid_, number); }

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

// Also when the second start is given other runtime and temporary folders (su, a script): which
// environments share one lock is the single-instance tests' matter.
TEST_F(StartupTest, ASecondStartLeavesAtOnceAndTheFirstKeepsRunning)
{
    const auto executable = Install("program");
    Program first(executable, Home());
    EXPECT_FALSE(first.WaitForExit(1500ms).has_value()) << "the first instance runs";

    const auto other = folder_ / "other-runtime";
    std::filesystem::create_directories(other);
    std::filesystem::permissions(other, std::filesystem::perms::owner_all);
    std::filesystem::create_directories(folder_ / "tmp");
    Program second(executable, Home(), other, folder_ / "tmp");
    EXPECT_EQ(second.WaitForExit(5s), std::optional<int>(0));
    EXPECT_FALSE(first.WaitForExit(300ms).has_value()) << "the first instance is untouched";
}

TEST_F(StartupTest, OnlyAProgramInsideTheSiblingsFolderFollowsTheSiblingOut)
{
    // With no sibling running, a hosted program closes itself at its first timer tick; one
    // merely in a folder named like the sibling keeps running and writes its data.ini only
    // when closed.
    Program hosted(Install("opt/Ｖｅｌｋ/ピマロ"), Home());
    EXPECT_EQ(hosted.WaitForExit(5s), std::optional<int>(0));
    EXPECT_FALSE(std::filesystem::exists(folder_ / "opt/Ｖｅｌｋ/ピマロ/data.ini"))
        << "a hosted program keeps its settings in the sibling's store";

    std::filesystem::remove_all(Home() / "runtime");
    std::filesystem::create_directories(Home() / "runtime");
    std::filesystem::permissions(Home() / "runtime", std::filesystem::perms::owner_all);
    Program alone(Install("elsewhere/ピマロ"), Home());
    EXPECT_FALSE(alone.WaitForExit(1500ms).has_value());
    EXPECT_FALSE(std::filesystem::exists(folder_ / "elsewhere/ピマロ/data.ini"));

    // A termination request closes the window the usual way, so the settings are written.
    alone.Signal(SIGTERM);
    EXPECT_EQ(alone.WaitForExit(5s), std::optional<int>(0));
    EXPECT_TRUE(std::filesystem::exists(folder_ / "elsewhere/ピマロ/data.ini"));
}

}  // namespace
}  // namespace dolvane
