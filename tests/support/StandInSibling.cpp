#include "support/StandInSibling.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <utility>

namespace dolvane::test {
namespace {

// Short waits so the thread notices a stop request quickly.
constexpr int kPollMs = 50;

std::uint32_t Uint32Le(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

}  // namespace

StandInSibling::StandInSibling(std::string socketPath, Answer answer) : path_(std::move(socketPath)), answer_(answer)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path_.empty() || path_.size() >= sizeof(address.sun_path)) {
        return;
    }
    std::memcpy(address.sun_path, path_.data(), path_.size());
    server_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (::bind(server_, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        ::listen(server_, 16) != 0) {
        ::close(server_);
        server_ = -1;
        return;
    }
    if (answer_ == Answer::NeverRead) {
        return;
    }
    thread_ = std::thread([this] {
        while (!stop_) {
            pollfd entry{server_, POLLIN, 0};
            if (::poll(&entry, 1, kPollMs) > 0) {
                const int client = ::accept4(server_, nullptr, nullptr, SOCK_CLOEXEC);
                Serve(client);
                ::close(client);
            }
        }
    });
}

StandInSibling::~StandInSibling()
{
    stop_ = true;
    if (thread_.joinable()) {
        thread_.join();
    }
    if (server_ >= 0) {
        ::close(server_);
        ::unlink(path_.c_str());
    }
}

std::vector<StandInSibling::Record> StandInSibling::Records() const
{
    std::lock_guard lock(mutex_);
    return records_;
}

bool StandInSibling::WaitForRecords(std::size_t count, int timeoutMs) const
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [this, count] { return records_.size() >= count; });
}

// Reads one record: an 8-byte header, then cbData bytes. A presence probe sends nothing and hangs
// up, which ends the wait without a record. The connection stays open until the client hangs up,
// as a silent sibling must not answer by closing.
void StandInSibling::Serve(int client)
{
    std::string bytes;
    bool recorded = false;
    char buffer[4096];
    while (!stop_) {
        pollfd entry{client, POLLIN, 0};
        if (::poll(&entry, 1, kPollMs) <= 0) {
            continue;
        }
        const ssize_t got = ::recv(client, buffer, sizeof(buffer), 0);
        if (got <= 0) {
            return;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
        if (recorded || bytes.size() < 8 || bytes.size() - 8 < Uint32Le(bytes, 4)) {
            continue;
        }
        recorded = true;
        {
            std::lock_guard lock(mutex_);
            records_.push_back({Uint32Le(bytes, 0), Uint32Le(bytes, 4), bytes.substr(8, Uint32Le(bytes, 4))});
        }
        changed_.notify_all();
        if (answer_ == Answer::Reply) {
            ::send(client, "\1\0\0\0", 4, MSG_NOSIGNAL);
        }
    }
}

}  // namespace dolvane::test
