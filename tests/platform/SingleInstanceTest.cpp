#include "platform/SingleInstance.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

namespace dolvane {
namespace {

const QString kTitle = QStringLiteral("Dolvane");

TEST(SingleInstanceTest, SecondHolderIsRefusedUntilTheFirstLetsGo)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());

    std::optional<SingleInstance> first(std::in_place, kTitle, folder.path());
    ASSERT_TRUE(first->TryAcquire());
    EXPECT_TRUE(first->TryAcquire()) << "asking again keeps the lock";

    SingleInstance second(kTitle, folder.path());
    EXPECT_FALSE(second.TryAcquire());
    EXPECT_FALSE(second.Held());
    SingleInstance other(QStringLiteral("Other"), folder.path());
    EXPECT_TRUE(other.TryAcquire()) << "other titles do not collide";

    first.reset();
    EXPECT_TRUE(second.TryAcquire());
}

TEST(SingleInstanceTest, LockOfAKilledProcessDoesNotBlockTheNextStart)
{
    QTemporaryDir folder;
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SingleInstance held(kTitle, folder.path());
        const char answer = held.TryAcquire() ? 'y' : 'n';
        (void)!write(ready[1], &answer, 1);
        pause();
        _exit(0);
    }
    char answer = 0;
    ASSERT_EQ(read(ready[0], &answer, 1), 1);
    ASSERT_EQ(answer, 'y');

    SingleInstance whileAlive(kTitle, folder.path());
    EXPECT_FALSE(whileAlive.TryAcquire()) << "a live holder keeps its lock";

    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    close(ready[0]);
    close(ready[1]);

    SingleInstance next(kTitle, folder.path());
    EXPECT_TRUE(next.TryAcquire());
}

}  // namespace
}  // namespace dolvane
