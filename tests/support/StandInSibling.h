#pragma once

#include <QString>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace dolvane::test {

// A stand-in for the sibling program: listens on a local socket in a thread of its own (the test
// thread blocks inside Send), records every record it receives and answers each one with a single
// uint32, unless told to stay silent. It runs as the test's own user, so the channel accepts it.
class StandInSibling final {
public:
    struct Record {
        std::uint32_t kind = 0;
        std::uint32_t cbData = 0;  // as sent, compared against payload.size() by the tests
        std::string payload;
    };

    // NeverRead: listens, but never takes a connection nor reads a byte (a hung sibling).
    enum class Answer { Reply, Silent, NeverRead };

    // `socketPath` is the full path of the socket file, as LocalSocketSibling::SocketPath() gives it.
    explicit StandInSibling(const QString& socketPath, Answer answer = Answer::Reply, std::uint32_t reply = 1);
    ~StandInSibling();
    StandInSibling(const StandInSibling&) = delete;
    StandInSibling& operator=(const StandInSibling&) = delete;

    // False when the path was taken by a live server.
    bool Listening() const { return listening_; }
    std::vector<Record> Records() const;
    // True once at least `count` records arrived, false after `timeoutMs`.
    bool WaitForRecords(std::size_t count, int timeoutMs) const;

private:
    void Run(const QString& socketPath);

    const Answer answer_;
    const std::uint32_t reply_;
    std::atomic<bool> stop_{false};
    bool listening_ = false;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool started_ = false;
    std::vector<Record> records_;

    // A QThread, not a std::thread: Qt's sockets need a thread Qt knows.
    std::unique_ptr<QThread> thread_;
};

}  // namespace dolvane::test
