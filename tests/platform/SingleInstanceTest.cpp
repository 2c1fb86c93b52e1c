#include "platform/SingleInstance.h"

#include "PrivateRuntime.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>

#include <sys/wait.h>
#include <unistd.h>

namespace dolvane {
namespace {

namespace fs = std::filesystem;
using Outcome = SingleInstance::Outcome;
using test::PrivateRuntime;

const QString kTitle = QStringLiteral("Dolvane");
constexpr uid_t kNobody = 65534;

class SingleInstanceTest : public testing::Test {
protected:
    SingleInstanceTest() { FreshFolders(); }

    // A list folder of the user's own and no home folder yet, whatever was there before.
    void FreshFolders() const
    {
        fs::remove_all(ListFolder());
        fs::remove_all(Home());
        fs::create_directories(ListFolder());
        fs::permissions(ListFolder(), fs::perms::owner_all);
    }

    fs::path ListFolder() const { return folder_ / "program/data/aki"; }
    fs::path List() const { return ListFolder() / "todolist.txt"; }
    fs::path Beside() const { return ListFolder() / "todolist.txt.Dolvane.lock"; }
    fs::path Home() const { return folder_ / "home"; }
    fs::path Cache() const { return Home() / ".cache/dolvane"; }

    std::unique_ptr<SingleInstance> Make(const fs::path& list, const QString& title = kTitle) const
    {
        return std::make_unique<SingleInstance>(title, list, Home());
    }

    test::TempFolder folder_;
};

TEST_F(SingleInstanceTest, SecondHolderIsRefusedAsRunningUntilTheFirstLetsGo)
{
    auto first = Make(List());
    ASSERT_EQ(first->TryAcquire(), Outcome::Acquired);
    EXPECT_EQ(first->LockPath().toStdString(), Beside().string());
    EXPECT_EQ(first->TryAcquire(), Outcome::Acquired) << "asking again keeps the lock";

    auto second = Make(List());
    EXPECT_EQ(second->TryAcquire(), Outcome::AlreadyRunning);
    EXPECT_FALSE(second->Held());
    EXPECT_EQ(Make(List(), QStringLiteral("Other"))->TryAcquire(), Outcome::Acquired) << "other titles do not collide";
    EXPECT_EQ(Make(folder_ / "elsewhere/todolist.txt")->TryAcquire(), Outcome::Acquired) << "nor do other lists";

    first.reset();
    EXPECT_EQ(second->TryAcquire(), Outcome::Acquired);
}

TEST_F(SingleInstanceTest, LockOfAKilledProcessDoesNotBlockTheNextStart)
{
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const auto held = Make(List());
        const char answer = held->TryAcquire() == Outcome::Acquired ? 'y' : 'n';
        (void)!write(ready[1], &answer, 1);
        pause();
        _exit(0);
    }
    char answer = 0;
    ASSERT_EQ(read(ready[0], &answer, 1), 1);
    ASSERT_EQ(answer, 'y');
    EXPECT_EQ(Make(List())->TryAcquire(), Outcome::AlreadyRunning) << "a live holder keeps its lock";

    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
    EXPECT_EQ(Make(List())->TryAcquire(), Outcome::Acquired);
}

// A desktop session, a terminal after su and a script each bring other runtime and temporary
// folders; a folder another account made first in the shared temporary folder is among them.
TEST_F(SingleInstanceTest, OneListIsOneWindowWhateverTheEnvironment)
{
    const PrivateRuntime runtime;
    const fs::path sharedTemp = runtime.Path() / "shared-tmp";
    const fs::path foreign = sharedTemp / ("dolvane-" + std::to_string(::geteuid()));
    fs::create_directories(foreign);
    fs::permissions(foreign, fs::perms::all);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(foreign.c_str(), kNobody, kNobody), 0);
    }
    fs::create_directories(folder_ / "other/data");
    fs::create_directory_symlink(ListFolder(), folder_ / "other/data/aki");

    const struct {
        const char* what;
        std::function<void()> environment;
        fs::path list;
    } starts[] = {
        {"session", [] {}, List()},
        {"no runtime folder, another account's folder in the temporary one",
         [&sharedTemp] {
             ::unsetenv("XDG_RUNTIME_DIR");
             ::setenv("TMPDIR", sharedTemp.c_str(), 1);
         },
         List()},
        {"other runtime folder, no TMPDIR",
         [&runtime] {
             ::setenv("XDG_RUNTIME_DIR", (runtime.Path() / "tmp").c_str(), 1);
             ::unsetenv("TMPDIR");
         },
         List()},
        {"another installation whose data folder links to this list's", [] {}, folder_ / "other/data/aki/todolist.txt"},
    };
    std::unique_ptr<SingleInstance> first;
    for (const auto& start : starts) {
        start.environment();
        auto instance = Make(start.list);
        EXPECT_EQ(instance->TryAcquire(), first ? Outcome::AlreadyRunning : Outcome::Acquired)
            << start.what << ": " << instance->Problem().toStdString();
        EXPECT_EQ(instance->LockPath().toStdString(), Beside().string()) << start.what;
        if (!first) {
            first = std::move(instance);
        }
    }
}

// Where the list's folder could hold another account's file, the lock goes to the account's
// cache folder instead; only where neither will do is the start refused, with the reasons.
TEST_F(SingleInstanceTest, AListFolderThatIsNotTheUsersOwnLeavesTheLockToTheHome)
{
    const bool root = ::geteuid() == 0;
    const struct {
        const char* what;
        std::function<void()> make;
        bool needsRoot;
    } cases[] = {
        {"list folder writable by others", [this] { fs::permissions(ListFolder(), fs::perms::all); }, false},
        {"link in place of the lock", [this] { fs::create_symlink(folder_ / "target", Beside()); }, false},
        {"folder in place of the lock", [this] { fs::create_directory(Beside()); }, false},
        {"lock file of another user",
         [this] {
             test::WriteBytes(Beside(), "");
             ASSERT_EQ(::chown(Beside().c_str(), kNobody, kNobody), 0);
         },
         true},
    };
    for (const auto& c : cases) {
        if (c.needsRoot && !root) {
            continue;  // only root can give a file away
        }
        FreshFolders();
        c.make();
        auto instance = Make(List());
        EXPECT_EQ(instance->TryAcquire(), Outcome::Acquired) << c.what << ": " << instance->Problem().toStdString();
        EXPECT_EQ(instance->LockPath().toStdString().rfind(Cache().string() + "/Dolvane-", 0), 0U) << c.what;
        EXPECT_EQ(Make(List())->TryAcquire(), Outcome::AlreadyRunning) << c.what;
        EXPECT_FALSE(fs::exists(folder_ / "target")) << c.what << ": nothing made through the link";
    }

    fs::permissions(ListFolder(), fs::perms::all);
    fs::remove_all(Home());
    test::WriteBytes(Home(), "");  // a file: no cache folder can be made in it
    auto nowhere = Make(List());
    EXPECT_EQ(nowhere->TryAcquire(), Outcome::CannotLock);
    EXPECT_FALSE(nowhere->Held());
    EXPECT_NE(nowhere->Problem().toStdString().find(ListFolder().string()), std::string::npos)
        << nowhere->Problem().toStdString();
}

}  // namespace
}  // namespace dolvane
