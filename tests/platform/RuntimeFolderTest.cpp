#include "platform/SiblingChannel.h"

#include "PrivateRuntime.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace dolvane {
namespace {

namespace fs = std::filesystem;
using test::PrivateRuntime;

constexpr uid_t kNobody = 65534;

mode_t ModeOf(const fs::path& path)
{
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

// What XDG_RUNTIME_DIR holds → whether the private folder made in TMPDIR is used instead. From
// inside the test's folder "runtime" names a usable folder, so only refusing relative paths leads
// to the fallback.
TEST(RuntimeFolderTest, UsesAnAbsoluteRuntimeFolderElseMakesAPrivateOne)
{
    const struct {
        const char* what;
        std::optional<std::string> value;  // appended to the test's own folder when absolute ("/...")
        bool fallback;
    } cases[] = {
        {"set", "/runtime", false}, {"trailing slash", "/runtime/", false}, {"unset", std::nullopt, true},
        {"empty", "", true},        {"relative", "runtime", true},
    };
    const fs::path workingFolder = fs::current_path();
    for (const auto& c : cases) {
        const PrivateRuntime env;
        if (!c.value) {
            env.UnsetRuntime();
        } else {
            env.SetRuntime(c.value->starts_with("/") ? env.Path().string() + *c.value : *c.value);
        }
        fs::current_path(env.Path());
        const RuntimeFolder folder = UserRuntimeFolder();
        fs::current_path(workingFolder);
        EXPECT_EQ(folder.path, c.fallback ? env.Fallback() : env.Runtime()) << c.what;
        EXPECT_EQ(folder.problem, "") << c.what;
        EXPECT_EQ(ModeOf(folder.path), 0700) << c.what;
        EXPECT_EQ(UserRuntimeFolder().path, folder.path) << c.what << ": the folder made is taken next time";
    }
}

// Folders nobody may trust: each is passed over as XDG_RUNTIME_DIR and refused as the fallback.
TEST(RuntimeFolderTest, RefusesLinksForeignAndSharedFolders)
{
    const bool root = ::geteuid() == 0;
    using fs::perms;
    // Each planted at a path: a folder of `mode` (a file for perms::none), a link there to such a
    // folder elsewhere, or one given to another account (only root can).
    const struct {
        const char* what;
        perms mode;
        bool link;
        bool needsRoot;
    } cases[] = {
        {"link to a private folder", perms::owner_all, true, false},
        {"group-writable", perms::owner_all | perms::group_all, false, false},
        {"writable by others", perms::owner_all | perms::others_write | perms::others_exec, false, false},
        {"a file", perms::none, false, false},
        {"another user's", perms::owner_all, false, true},
    };
    const auto plant = [](const auto& c, const fs::path& at, const fs::path& elsewhere) {
        const fs::path folder = c.link ? elsewhere : at;
        if (c.mode == perms::none) {
            test::WriteBytes(at, "");
            return;
        }
        fs::create_directory(folder);
        fs::permissions(folder, c.mode);
        if (c.link) {
            fs::create_directory_symlink(elsewhere, at);
        }
        if (c.needsRoot) {
            ASSERT_EQ(::chown(at.c_str(), kNobody, kNobody), 0);
        }
    };
    for (const auto& c : cases) {
        if (c.needsRoot && !root) {
            continue;
        }
        {
            const PrivateRuntime env;
            plant(c, env.Path() / "planted", env.Path() / "elsewhere");
            env.SetRuntime(env.Path().string() + "/planted/");
            EXPECT_EQ(UserRuntimeFolder().path, env.Fallback()) << c.what;
        }
        {
            const PrivateRuntime env;
            env.UnsetRuntime();
            plant(c, env.Fallback(), env.Path() / "elsewhere");
            const RuntimeFolder folder = UserRuntimeFolder();
            EXPECT_EQ(folder.path, fs::path()) << c.what;
            EXPECT_NE(folder.problem.find(env.Fallback().string()), std::string::npos) << c.what << folder.problem;
            // The channel then has nowhere to look: no sibling runs.
            const LocalSocketSibling sibling;
            EXPECT_EQ(sibling.SocketPath(), "") << c.what;
            EXPECT_FALSE(sibling.Running()) << c.what;
        }
    }
}

}  // namespace
}  // namespace dolvane
