#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <deque>
#include <utility>

// moc needs none of the port's declarations.
#ifndef Q_MOC_RUN
#include "core/ports/Notifier.h"
#endif

namespace dolvane {

// Notifications through the desktop's notification service, org.freedesktop.Notifications on
// the session bus, under the program's name and icon. Without a session bus or a service every
// notification is quietly dropped. The call is never waited for: a service that hangs must not
// hang the window. So Notify hands out ids of its own, and learns the service's id for each when
// the answer comes; a click on one of ours comes back as `activated` with our id.
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

private:
    std::uint32_t lastId_ = 0;
    // The service's id and ours, of the latest answered notifications, the latest first.
    std::deque<std::pair<uint, std::uint32_t>> answered_;
};

}  // namespace dolvane
