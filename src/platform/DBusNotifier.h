#pragma once

#include <QObject>
#include <QString>

// moc needs none of the port's declarations.
#ifndef Q_MOC_RUN
#include "core/app/Notifier.h"
#endif

namespace dolvane {

// Notifications through the desktop's notification service, org.freedesktop.Notifications on
// the session bus, under the program's name and icon. Without a session bus or a service every
// notification is quietly dropped. A click on one of ours comes back as `activated`.
class DBusNotifier final : public QObject, public Notifier {
    Q_OBJECT

public:
    explicit DBusNotifier(QObject* parent = nullptr);

    std::optional<std::uint32_t> Notify(std::string_view title, std::string_view body) override;

Q_SIGNALS:
    // The user clicked the notification `id` (its default action).
    void activated(quint32 id);

private Q_SLOTS:
    void actionInvoked(uint id, const QString& action);
};

}  // namespace dolvane
