#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace dolvane::test {

// A stand-in for the sibling program: listens on a local socket in a thread of its own (the test
// thread blocks inside a send or waits for a child process), records every record it receives and
// answers each one with a single uint32, unless told to stay silent. It runs as the test's own
// user, so the channel accepts it. The socket file goes with it.
class StandInSibling final {
public:
    struct Record {
        std::uint32_t kind = 0;
        std::uint32_t cbData = 0;  // as sent, compared against payload.size() by the tests
        std::string payload;
        bool operator==(const Record&) const = default;
    };

    // Silent: takes each record and never answers. NeverRead: listens, but never takes a
    // connection nor reads a byte (a hung sibling).
    enum class Answer { Reply, Silent, NeverRead };

    explicit StandInSibling(std::string socketPath, Answer answer = Answer::Reply);
    ~StandInSibling();
    StandInSibling(const StandInSibling&) = delete;
    StandInSibling& operator=(const StandInSibling&) = delete;

    bool Listening() const { return server_ >= 0; }
    std::vector<Record> Records() const;
    // True once at least `count` records arrived, false after `timeoutMs`.
    bool WaitForRecords(std::size_t count, int timeoutMs) const;

private:
    void Serve(int client);

    const std::string path_;
    const Answer answer_;
    int server_ = -1;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<Record> records_;
    std::thread thread_;
};

}  // namespace dolvane::test
