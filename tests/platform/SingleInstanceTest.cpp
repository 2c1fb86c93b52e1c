#include "platform/SingleInstance.h"

#include "PrivateRuntime.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <optional>

#include <sys/wait.h>
#include <unistd.h>

namespace dolvane {
namespace {

namespace fs = std::filesystem;
using Outcome = SingleInstance::Outcome;
using test::PrivateRuntime;

const QString kTitle = QStringLiteral("Dolvane");

fs::path LockFile()
{
    return SingleInstance(kTitle).LockPath().toStdString();
}

TEST(SingleInstanceTest, SecondHolderIsRefusedAsRunningUntilTheFirstLetsGo)
{
    const PrivateRuntime runtime;
    std::optional<SingleInstance> first(std::in_place, kTitle);
    EXPECT_EQ(first->LockPath().toStdString(),
              (runtime.Runtime() / ("Dolvane-" + std::to_string(::geteuid()) + ".lock")));
    ASSERT_EQ(first->TryAcquire(), Outcome::Acquired);
    EXPECT_EQ(first->TryAcquire(), Outcome::Acquired) << "asking again keeps the lock";

    SingleInstance second(kTitle);
    EXPECT_EQ(second.TryAcquire(), Outcome::AlreadyRunning);
    EXPECT_FALSE(second.Held());
    SingleInstance other(QStringLiteral("Other"));
    EXPECT_EQ(other.TryAcquire(), Outcome::Acquired) << "other titles do not collide";

    first.reset();
    EXPECT_EQ(second.TryAcquire(), Outcome::Acquired);
}

TEST(SingleInstanceTest, LockOfAKilledProcessDoesNotBlockTheNextStart)
{
    const PrivateRuntime runtime;
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SingleInstance held(kTitle);
        const char answer = held.TryAcquire() == Outcome::Acquired ? 'y' : 'n';
        (void)!write(ready[1], &answer, 1);
        pause();
        _exit(0);
    }
    char answer = 0;
    ASSERT_EQ(read(ready[0], &answer, 1), 1);
    ASSERT_EQ(answer, 'y');

    SingleInstance whileAlive(kTitle);
    EXPECT_EQ(whileAlive.TryAcquire(), Outcome::AlreadyRunning) << "a live holder keeps its lock";

    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    close(ready[0]);
    close(ready[1]);

    SingleInstance next(kTitle);
    EXPECT_EQ(next.TryAcquire(), Outcome::Acquired);
}

// Where no lock of ours can be had, that is not "already running": the start must say why.
TEST(SingleInstanceTest, UnusableLockIsReportedWithAReason)
{
    const bool root = ::geteuid() == 0;
    const struct {
        const char* what;
        std::function<void(const PrivateRuntime&)> make;
        bool needsRoot;
    } cases[] = {
        {"shared fallback folder",
         [](const PrivateRuntime& env) {
             env.UnsetRuntime();
             fs::create_directory(env.Fallback());
             fs::permissions(env.Fallback(), fs::perms::owner_all | fs::perms::group_all | fs::perms::others_all);
         },
         false},
        {"link in place of the lock",
         [](const PrivateRuntime& env) { fs::create_symlink(env.Path() / "target", LockFile()); }, false},
        {"folder in place of the lock", [](const PrivateRuntime&) { fs::create_directory(LockFile()); }, false},
        {"lock file of another user",
         [](const PrivateRuntime&) {
             test::WriteBytes(LockFile(), "");
             ASSERT_EQ(::chown(LockFile().c_str(), 65534, 65534), 0);
         },
         true},
    };
    for (const auto& c : cases) {
        if (c.needsRoot && !root) {
            continue;  // only root can give a file away
        }
        const PrivateRuntime env;
        c.make(env);
        SingleInstance instance(kTitle);
        EXPECT_EQ(instance.TryAcquire(), Outcome::CannotLock) << c.what;
        EXPECT_FALSE(instance.Held()) << c.what;
        EXPECT_FALSE(instance.Problem().isEmpty()) << c.what;
        EXPECT_FALSE(fs::exists(env.Path() / "target")) << c.what << ": nothing made through the link";
    }
}

}  // namespace
}  // namespace dolvane
