#include "platform/SiblingChannel.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QLocalSocket>

#include <limits>
#include <utility>

#include <unistd.h>

namespace dolvane {
namespace {

void AppendUint32Le(QByteArray& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8) {
        out.append(static_cast<char>((value >> shift) & 0xFFu));
    }
}

int RemainingMs(const QDeadlineTimer& deadline)
{
    return static_cast<int>(deadline.remainingTime());
}

}  // namespace

LocalSocketSibling::LocalSocketSibling(QString serverName) : serverName_(std::move(serverName))
{
    if (serverName_.isEmpty()) {
        serverName_ = DefaultServerName();
    }
}

QString LocalSocketSibling::DefaultServerName()
{
    return QStringLiteral("ピマロ-") + QString::number(static_cast<qulonglong>(::getuid()));
}

void LocalSocketSibling::Send(std::uint32_t kind, std::string_view payload)
{
    // A record larger than cbData can describe is not something the program ever builds.
    if (payload.size() > std::numeric_limits<std::uint32_t>::max()) {
        return;
    }
    const QDeadlineTimer deadline(kSendBudgetMs);
    QLocalSocket socket;
    socket.connectToServer(serverName_);
    if (!socket.waitForConnected(RemainingMs(deadline))) {
        return;  // nobody listens: no sibling runs
    }

    QByteArray record;
    record.reserve(static_cast<qsizetype>(payload.size()) + 8);
    AppendUint32Le(record, kind);
    AppendUint32Le(record, static_cast<std::uint32_t>(payload.size()));
    record.append(payload.data(), static_cast<qsizetype>(payload.size()));
    if (socket.write(record) != record.size()) {
        return;
    }
    while (socket.bytesToWrite() > 0) {
        if (deadline.hasExpired() || !socket.waitForBytesWritten(RemainingMs(deadline))) {
            return;
        }
    }
    // The answer's value means nothing to us; waiting for it only keeps the sibling's order of
    // records the order we sent them in.
    while (socket.bytesAvailable() < 4) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(RemainingMs(deadline))) {
            break;
        }
    }
    socket.abort();
}

bool LocalSocketSibling::Running() const
{
    QLocalSocket socket;
    socket.connectToServer(serverName_);
    const bool connected = socket.waitForConnected(kProbeMs);
    socket.abort();
    return connected;
}

}  // namespace dolvane
