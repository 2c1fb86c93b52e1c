#pragma once

#include "core/store/SiblingPort.h"

#include <QString>

#include <cstdint>
#include <string_view>

namespace dolvane {

// Talks to the sibling sticky-note program over its per-user local socket. One record per send:
// kind (uint32 LE), cbData (uint32 LE, payload size in bytes), the payload bytes; the sibling
// answers one uint32. A sibling that is absent or does not answer within 2 s is ignored: the
// notice is a courtesy and must never hold up the list.
class LocalSocketSibling final : public SiblingPort {
public:
    // Whole budget of one Send, connecting through reading the answer.
    static constexpr int kSendBudgetMs = 2000;
    // Presence probe: a local connection either succeeds at once or not at all.
    static constexpr int kProbeMs = 200;

    // `serverName` empty means the sibling's own per-user name (DefaultServerName()).
    explicit LocalSocketSibling(QString serverName = {});

    void Send(std::uint32_t kind, std::string_view payload) override;
    bool Running() const override;

    const QString& ServerName() const { return serverName_; }

    // "ピマロ-<uid>": the sibling's name plus the user, so two users on one machine never meet.
    static QString DefaultServerName();

private:
    QString serverName_;
};

}  // namespace dolvane
