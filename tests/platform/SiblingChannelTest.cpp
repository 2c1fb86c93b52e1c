#include "platform/SiblingChannel.h"

#include "PrivateRuntime.h"
#include "support/ChildProcess.h"
#include "support/StandInSibling.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include <grp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace dolvane {
namespace {

using test::StandInSibling;
using Clock = std::chrono::steady_clock;

constexpr uid_t kNobody = 65534;

// Each test in a runtime folder of its own, so a socket left by one never answers another.
class SiblingChannelTest : public ::testing::Test {
protected:
    test::PrivateRuntime runtime_;
};

TEST_F(SiblingChannelTest, AbsentSiblingIsIgnoredQuicklyAtTheSocketInTheRuntimeFolder)
{
    LocalSocketSibling sibling;
    EXPECT_EQ(sibling.SocketPath(), (runtime_.Runtime() / ("ピマロ-" + std::to_string(::geteuid()))).string());
    const auto start = Clock::now();
    EXPECT_FALSE(sibling.Running());
    sibling.Send(0, "VelkA");
    EXPECT_LT(std::chrono::duration<double>(Clock::now() - start).count(), 1.0);
}

// "VelkA" alone is the saved notice; a note's text follows the tag. 「買い物～」 in cp932 holds
// 0x5C as a trail byte and 0x8160 (U+FF5E), the bytes a text-mode or UTF-16 round trip would damage.
TEST_F(SiblingChannelTest, RecordsArriveByteExact)
{
    const std::vector<StandInSibling::Record> sent = {
        {0, 5, "VelkA"}, {1, 15, "VelkA\x94\x83\x82\xA2\x95\xA8\x81\x60\x83\x5C"}, {1, 7, std::string("VelkA\0\0", 7)}};

    LocalSocketSibling sibling;
    StandInSibling standIn(sibling.SocketPath());
    ASSERT_TRUE(standIn.Listening());
    EXPECT_TRUE(sibling.Running());
    for (const auto& record : sent) {
        sibling.Send(record.kind, record.payload);
    }
    standIn.WaitForRecords(sent.size(), 2000);
    // The presence probe is no record; each record's length is its payload's.
    EXPECT_EQ(standIn.Records(), sent);
}

TEST_F(SiblingChannelTest, SilentSiblingIsGivenUpAfterTwoSeconds)
{
    LocalSocketSibling sibling;
    StandInSibling standIn(sibling.SocketPath(), StandInSibling::Answer::Silent);
    ASSERT_TRUE(standIn.Listening());
    const auto start = Clock::now();
    sibling.Send(0, "VelkA");
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    EXPECT_TRUE(seconds >= 1.5 && seconds <= 4.0) << seconds;
    EXPECT_EQ(standIn.Records().size(), 1u) << "the record was delivered, only the answer is missing";
}

// In a forked child: binds `path` while still root (only root may write in the runtime folder),
// then becomes "nobody" before listen(), which is when the kernel records who listens. Counts
// connections until `stop` is closed and ends with their number, or with 100 when a byte came.
[[noreturn]] void ListenAsNobody(const std::string& path, int ready, int stop)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.data(), path.size());
    const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (server < 0 || ::bind(server, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        ::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0 || ::listen(server, 16) != 0 ||
        ::write(ready, "r", 1) != 1) {
        ::_exit(1);
    }
    int connections = 0;
    bool bytes = false;
    // Until the parent is done and every connection has been taken.
    pollfd entries[] = {{server, POLLIN, 0}, {stop, POLLIN, 0}};
    while (::poll(entries, 2, 5000) > 0 && (entries[0].revents & POLLIN) != 0) {
        const int client = ::accept(server, nullptr, nullptr);
        if (client < 0) {
            break;
        }
        ++connections;
        char buffer[256];
        pollfd readable{client, POLLIN, 0};
        bytes = bytes || (::poll(&readable, 1, 200) > 0 && ::read(client, buffer, sizeof(buffer)) > 0);
        ::close(client);
    }
    _exit(bytes ? 100 : connections);
}

// A socket of another account at the very path the channel uses gets neither the user's records
// nor counts as the sibling.
TEST_F(SiblingChannelTest, ListenerOfAnotherAccountGetsNothingAndIsNotTheSibling)
{
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can listen as another account";
    }
    LocalSocketSibling sibling;
    const std::string path = sibling.SocketPath();
    ASSERT_FALSE(path.empty());
    int ready[2];
    int stop[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(stop), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(ready[0]);
        ::close(stop[1]);
        ListenAsNobody(path, ready[1], stop[0]);
    }
    ::close(ready[1]);
    ::close(stop[0]);
    char started = 0;
    const bool listening = ::read(ready[0], &started, 1) == 1;

    const bool running = sibling.Running();
    sibling.Send(0, "VelkA");
    sibling.Send(1, "VelkA\x94\x83\x82\xA2\x95\xA8");
    ::close(stop[1]);
    ::close(ready[0]);
    const int seen = test::WaitForChild(child, std::chrono::seconds(10), "the listener of another account");

    ASSERT_TRUE(listening) << "the child could not listen as nobody";
    EXPECT_EQ(seen, 3) << "three connections and no byte: the channel looked for the sibling exactly there";
    EXPECT_FALSE(running);
}

}  // namespace
}  // namespace dolvane
