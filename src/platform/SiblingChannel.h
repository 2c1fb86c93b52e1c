#pragma once

#include "core/ports/SiblingPort.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace dolvane {

// The folder where this user's sockets and locks live: one nobody else can write, so nobody else
// can put a socket or a lock file where we look. $XDG_RUNTIME_DIR when it is such a folder, else
// "dolvane-<euid>" under $TMPDIR (or /tmp), made 0700 when missing. Either must be a real folder,
// not a link, owned by the effective user and without write access for group or others.
struct RuntimeFolder {
    std::filesystem::path path;  // empty when no such folder can be had
    std::string problem;         // why not, for the user (UTF-8); empty when `path` is set
};
RuntimeFolder UserRuntimeFolder();

// Empty when `folder` itself (not what a link points to) is a folder of the effective user that
// neither group nor others may write to; else why not, for the user (UTF-8).
std::string PrivateFolderProblem(const std::filesystem::path& folder);

// Talks to the sibling sticky-note program over its per-user local socket. One record per send:
// kind (uint32 LE), cbData (uint32 LE, payload size in bytes), the payload bytes; the sibling
// answers one uint32. Nothing waits longer than 2 s for the sibling: a record it has not taken
// whole by then is given up (Send says so), and a missing answer to a record taken is no failure.
//
// Plain POSIX sockets, so the window and the command-line companion send the same way. The socket
// is a file in UserRuntimeFolder(), and a listener there counts only when it runs as the same
// user: a record may hold the user's to-do text, and the sibling's presence changes what the
// program does, so neither may be decided by another account's socket.
class LocalSocketSibling final : public SiblingPort {
public:
    // Whole budget of one Send, connecting through reading the answer.
    static constexpr int kSendBudgetMs = 2000;

    // `serverName` (UTF-8) is the socket's file name; empty means DefaultServerName().
    explicit LocalSocketSibling(std::string serverName = {});

    bool Send(std::uint32_t kind, std::string_view payload) override;
    // Whether a listener of this user answers at the socket.
    bool Running() const override;

    const std::string& ServerName() const { return serverName_; }
    // The file of the socket; empty when the user has no runtime folder, and then no sibling runs.
    std::string SocketPath() const;

    // "ピマロ-<euid>": the sibling's name plus the user.
    static std::string DefaultServerName();

private:
    std::string serverName_;
};

}  // namespace dolvane
