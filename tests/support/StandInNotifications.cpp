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
    const uint id = owner_.Record(
        {appName, appIcon, summary, body, actions, hints.value(QStringLiteral("desktop-entry")).toString()});
    if (owner_.answer_ == StandInNotifications::Answer::Never) {
        setDelayedReply(true);  // and the reply never comes
    }
    return id;
}

QStringList NotificationsObject::GetCapabilities() const
{
    return {QStringLiteral("actions"), QStringLiteral("body")};
}

StandInNotifications::StandInNotifications(Answer answer)
    : answer_(answer),
      connection_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("stand-in notifications")))
{
    object_ = new NotificationsObject(*this);
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

std::vector<SentNotification> StandInNotifications::Sent() const
{
    const std::lock_guard lock(mutex_);
    return sent_;
}

void StandInNotifications::InvokeAction(uint id, const QString& action)
{
    QDBusMessage signal = QDBusMessage::createSignal(kPath, kService, QStringLiteral("ActionInvoked"));
    signal << id << action;
    connection_.send(signal);
}

uint StandInNotifications::Record(SentNotification sent)
{
    const std::lock_guard lock(mutex_);
    sent_.push_back(std::move(sent));
    return static_cast<uint>(sent_.size());
}

}  // namespace dolvane::test
