#include "support/StandInNotifications.h"

#include <QDBusMessage>

namespace dolvane::test {
namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");

}  // namespace

uint NotificationsObject::Notify(const QString& appName, uint /*replacesId*/, const QString& appIcon,
                                 const QString& summary, const QString& body, const QStringList& actions,
                                 const QVariantMap& hints, int /*expireTimeout*/)
{
    const std::lock_guard lock(mutex_);
    sent_.push_back(
        {appName, appIcon, summary, body, actions, hints.value(QStringLiteral("desktop-entry")).toString()});
    if (!answers_) {
        setDelayedReply(true);  // and the reply never comes
    }
    return static_cast<uint>(sent_.size());
}

std::vector<SentNotification> NotificationsObject::Sent() const
{
    const std::lock_guard lock(mutex_);
    return sent_;
}

QStringList NotificationsObject::GetCapabilities() const
{
    return {QStringLiteral("actions"), QStringLiteral("body")};
}

StandInNotifications::StandInNotifications(Answer answer)
    : connection_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("stand-in notifications")))
{
    object_ = new NotificationsObject(answer == Answer::Reply);
    object_->moveToThread(&thread_);
    thread_.start();
    registered_ = connection_.isConnected() &&
                  connection_.registerObject(kPath, object_, QDBusConnection::ExportAllSlots) &&
                  connection_.registerService(kService);
}

StandInNotifications::~StandInNotifications()
{
    connection_.unregisterService(kService);
    connection_.unregisterObject(kPath);
    QDBusConnection::disconnectFromBus(connection_.name());
    thread_.quit();
    thread_.wait();
    delete object_;
}

void StandInNotifications::InvokeAction(uint id, const QString& action)
{
    QDBusMessage signal = QDBusMessage::createSignal(kPath, kService, QStringLiteral("ActionInvoked"));
    signal << id << action;
    connection_.send(signal);
}

}  // namespace dolvane::test
