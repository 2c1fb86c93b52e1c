#pragma once

#include "core/store/SiblingPort.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace dolvane {

// Talks to the sibling sticky-note program over its per-user local socket. One record per send:
// kind (uint32 LE), cbData (uint32 LE, payload size in bytes), the payload bytes; the sibling
// answers one uint32. A sibling that is absent or does not answer within 2 s is ignored: the
// notice is a courtesy and must never hold up the list.
//
// Plain POSIX sockets, so the window and the command-line companion send the same way. The
// socket lives where Qt's local servers put theirs: a name that is not an absolute path is a file
// in the temporary folder ($TMPDIR, else /tmp).
class LocalSocketSibling final : public SiblingPort {
public:
    // Whole budget of one Send, connecting through reading the answer.
    static constexpr int kSendBudgetMs = 2000;

    // `serverName` (UTF-8) empty means the sibling's own per-user name (DefaultServerName()).
    explicit LocalSocketSibling(std::string serverName = {});

    void Send(std::uint32_t kind, std::string_view payload) override;
    bool Running() const override;

    const std::string& ServerName() const { return serverName_; }
    // The file of the socket.
    std::string SocketPath() const;

    // "ピマロ-<uid>": the sibling's name plus the user, so two users on one machine never meet.
    static std::string DefaultServerName();

private:
    std::string serverName_;
};

}  // namespace dolvane
