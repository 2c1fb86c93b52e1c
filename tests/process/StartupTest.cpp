// Starts the real program as a user would, offscreen, in folders of the test's own making.
#include "support/ChildProcess.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace dolvane {
namespace {

using namespace std::chrono_literals;

// Starts a copy of the program offscreen, its home and runtime folders in `home`.
pid_t StartProgram(const std::filesystem::path& executable, const std::filesystem::path& home)
{
    return test::StartChild({executable.string()},
                            {"QT_QPA_PLATFORM=offscreen", "XDG_RUNTIME_DIR=" + (home / "runtime").string(),
                             "HOME=" + home.string(), "XDG_CONFIG_HOME=" + (home / "config").string()},
                            "/dev/null", "/dev/null");
}

bool RunsAfter(pid_t pid, std::chrono::milliseconds wait)
{
    std::this_thread::sleep_for(wait);
    return waitpid(pid, nullptr, WNOHANG) == 0;
}

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

    test::TempFolder folder_;
};

TEST_F(StartupTest, ASecondStartLeavesAtOnceAndTheFirstKeepsRunning)
{
    const auto executable = Install("program");
    const pid_t first = StartProgram(executable, Home());
    EXPECT_TRUE(RunsAfter(first, 1500ms)) << "the first instance runs";
    EXPECT_FALSE(std::filesystem::exists(folder_ / "program/data.ini")) << "data.ini is written only when closed";

    EXPECT_EQ(test::WaitForChild(StartProgram(executable, Home()), 5s, "the second start"), 0);
    EXPECT_TRUE(RunsAfter(first, 300ms)) << "the first instance is untouched";
    kill(first, SIGKILL);
    waitpid(first, nullptr, 0);
}

// With no sibling running, a program it hosts closes itself at its first timer tick.
TEST_F(StartupTest, AProgramInsideTheSiblingsFolderFollowsTheSiblingOut)
{
    EXPECT_EQ(test::WaitForChild(StartProgram(Install("opt/Ｖｅｌｋ/ピマロ"), Home()), 5s, "the hosted program"), 0);
    EXPECT_FALSE(std::filesystem::exists(folder_ / "opt/Ｖｅｌｋ/ピマロ/data.ini"))
        << "a hosted program keeps its settings in the sibling's store";
}

}  // namespace
}  // namespace dolvane
