#include "platform/DBusNotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

namespace dolvane {
namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kDefaultAction = QStringLiteral("default");
// A service that does not answer within this is taken as absent. Nothing waits for it; only the
// id of a late answer is lost, so a click on that notification selects nothing.
constexpr int kCallTimeoutMs = 10000;
// Older notifications have long left the screen; the reminders keep no more than this either.
constexpr std::size_t kRemembered = 256;

}  // namespace

DBusNotifier::DBusNotifier(QObject* parent) : QObject(parent)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        // Matched by path and interface whatever the sender: a service started by the first
        // notification (or restarted) gets a new bus name, and a match on the well-known name
        // would drop its clicks until that change had been learned. Ids are the service's own and
        // only those the reminders gave out select anything.
        bus.connect(QString(), kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                    SLOT(actionInvoked(uint, QString)));
    }
}

std::optional<std::uint32_t> DBusNotifier::Notify(std::string_view title, std::string_view body)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return std::nullopt;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    // The "default" action is what a click on the notification's body invokes.
    const QStringList actions{kDefaultAction, QStringLiteral("開く")};
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("dolvane"));
    call << QStringLiteral("Dolvane") << 0U << QStringLiteral("dolvane")
         << QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size()))
         << QString::fromUtf8(body.data(), static_cast<qsizetype>(body.size())) << actions << hints << -1;
    const std::uint32_t id = ++lastId_;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, id](QDBusPendingCallWatcher* finished) {
        const QDBusPendingReply<uint> reply = *finished;
        if (reply.isValid()) {
            // The latest first: a restarted service counts its ids from the start again.
            answered_.emplace_front(reply.value(), id);
            if (answered_.size() > kRemembered) {
                answered_.pop_back();
            }
        }
        finished->deleteLater();
    });
    return id;
}

void DBusNotifier::actionInvoked(uint id, const QString& action)
{
    if (action != kDefaultAction) {
        return;
    }
    for (const auto& [serviceId, ours] : answered_) {
        if (serviceId == id) {
            Q_EMIT activated(ours);
            return;
        }
    }
}

}  // namespace dolvane
