#include "platform/SiblingChannel.h"

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace dolvane {
namespace {

using SteadyClock = std::chrono::steady_clock;

std::string ErrnoText(const std::filesystem::path& path, int error)
{
    return path.string() + ": " + std::strerror(error);
}

// An absolute path from the environment, trailing separators dropped: lstat on "link/" would
// follow the link. Empty when the variable is unset, empty or relative.
std::filesystem::path FolderFromEnvironment(const char* name)
{
    const char* value = std::getenv(name);
    if (value == nullptr || *value != '/') {
        return {};
    }
    std::string folder(value);
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return folder;
}

void AppendUint32Le(std::string& out, std::uint32_t value)
{
    for (unsigned shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<char>((value >> shift) & 0xFFU));
    }
}

// A connected socket, closed with the object.
class Connection final {
public:
    explicit Connection(const std::string& path)
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (path.empty() || path.size() >= sizeof(address.sun_path)) {
            return;
        }
        std::memcpy(static_cast<char*>(address.sun_path), path.data(), path.size());
        fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        if (fd_ < 0) {
            return;
        }
        // A local connection is accepted into the backlog at once or refused; nothing to wait for.
        // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): the socket API's own type pun
        if (::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 || !PeerIsThisUser()) {
            Close();
        }
    }
    ~Connection() { Close(); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    Connection(Connection&&) = delete;
    Connection& operator=(Connection&&) = delete;

    bool Open() const noexcept { return fd_ >= 0; }

    // Writes everything before the deadline; false when the peer went away or time ran out.
    bool WriteAll(std::string_view bytes, SteadyClock::time_point deadline) const
    {
        while (!bytes.empty()) {
            const ssize_t written = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (written > 0) {
                bytes.remove_prefix(static_cast<std::size_t>(written));
                continue;
            }
            const bool retry = written < 0 && (errno == EAGAIN || errno == EINTR);
            if (!retry || !Wait(POLLOUT, deadline)) {
                return false;
            }
        }
        return true;
    }

    // Reads `count` bytes before the deadline, or fewer when the peer closes or time runs out.
    void ReadSome(std::size_t count, SteadyClock::time_point deadline) const
    {
        std::array<char, 16> buffer{};
        while (count > 0) {
            const ssize_t got = ::recv(fd_, buffer.data(), std::min(count, buffer.size()), 0);
            if (got > 0) {
                count -= static_cast<std::size_t>(got);
            } else if (got == 0 || (errno != EAGAIN && errno != EINTR) || !Wait(POLLIN, deadline)) {
                return;
            }
        }
    }

private:
    // The listener's credentials as of its listen(), from the kernel: a socket file's owner says
    // nothing about who listens on it.
    bool PeerIsThisUser() const
    {
        ucred peer{};
        socklen_t size = sizeof(peer);
        return ::getsockopt(fd_, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && size == sizeof(peer) &&
               peer.uid == ::geteuid();
    }

    bool Wait(short events, SteadyClock::time_point deadline) const
    {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd entry{fd_, events, 0};
        return ::poll(&entry, 1, static_cast<int>(left.count())) > 0;
    }

    void Close() noexcept
    {
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }

    int fd_ = -1;
};

}  // namespace

std::string PrivateFolderProblem(const std::filesystem::path& folder)
{
    struct stat status {};
    if (::lstat(folder.c_str(), &status) != 0) {
        return ErrnoText(folder, errno);
    }
    if (S_ISLNK(status.st_mode)) {
        return folder.string() + " はシンボリックリンクです";
    }
    if (!S_ISDIR(status.st_mode)) {
        return folder.string() + " はフォルダーではありません";
    }
    if (status.st_uid != ::geteuid()) {
        return folder.string() + " は別のユーザーのフォルダーです";
    }
    if ((status.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        return folder.string() + " は別のユーザーも書き込めるフォルダーです";
    }
    return {};
}

RuntimeFolder UserRuntimeFolder()
{
    // A runtime folder that fails the check (one inherited through su, say) is passed over rather
    // than fatal: the fallback below is just as private.
    if (const auto runtime = FolderFromEnvironment("XDG_RUNTIME_DIR");
        !runtime.empty() && PrivateFolderProblem(runtime).empty()) {
        return {runtime, {}};
    }
    std::filesystem::path folder = FolderFromEnvironment("TMPDIR");
    if (folder.empty()) {
        folder = "/tmp";
    }
    folder /= "dolvane-" + std::to_string(::geteuid());
    // Whoever made it first, it is used only when the check below finds it ours and private.
    if (::mkdir(folder.c_str(), S_IRWXU) != 0 && errno != EEXIST) {
        return {{}, ErrnoText(folder, errno)};
    }
    if (std::string problem = PrivateFolderProblem(folder); !problem.empty()) {
        return {{}, std::move(problem)};
    }
    return {folder, {}};
}

LocalSocketSibling::LocalSocketSibling(std::string serverName) : serverName_(std::move(serverName))
{
    if (serverName_.empty()) {
        serverName_ = DefaultServerName();
    }
}

std::string LocalSocketSibling::DefaultServerName()
{
    return "ピマロ-" + std::to_string(::geteuid());
}

std::string LocalSocketSibling::SocketPath() const
{
    // Looked up on every use: a runtime folder made after we started is found, one that turned
    // unsafe is dropped.
    const RuntimeFolder folder = UserRuntimeFolder();
    return folder.path.empty() ? std::string() : (folder.path / serverName_).string();
}

bool LocalSocketSibling::Send(std::uint32_t kind, std::string_view payload)
{
    // A record larger than cbData can describe is not something the program ever builds.
    if (payload.size() > std::numeric_limits<std::uint32_t>::max()) {
        return false;
    }
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(kSendBudgetMs);
    const Connection connection(SocketPath());
    if (!connection.Open()) {
        return false;  // nobody of ours listens: no sibling runs
    }
    std::string record;
    record.reserve(payload.size() + 8);
    AppendUint32Le(record, kind);
    AppendUint32Le(record, static_cast<std::uint32_t>(payload.size()));
    record.append(payload);
    if (!connection.WriteAll(record, deadline)) {
        return false;
    }
    // The answer's value means nothing to us; waiting for it only keeps the sibling's order of
    // records the order we sent them in.
    connection.ReadSome(4, deadline);
    return true;
}

bool LocalSocketSibling::Running() const
{
    return Connection(SocketPath()).Open();
}

}  // namespace dolvane
