#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QVariantMap>

#include <mutex>
#include <vector>

namespace dolvane::test {

// What one Notify call carried.
struct SentNotification {
    QString appName;
    QString appIcon;
    QString summary;
    QString body;
    QStringList actions;
    QString desktopEntry;  // the "desktop-entry" hint
};

// The object behind /org/freedesktop/Notifications: records every notification and answers with
// ids counting from 1, or never (a hung service). It lives on the stand-in's thread, because the
// program's call blocks the test thread until the answer comes.
class NotificationsObject final : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    explicit NotificationsObject(bool answers) : answers_(answers) {}
    std::vector<SentNotification> Sent() const;

public Q_SLOTS:
    uint Notify(const QString& appName, uint replacesId, const QString& appIcon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints, int expireTimeout);
    QStringList GetCapabilities() const;

private:
    const bool answers_;
    mutable std::mutex mutex_;
    std::vector<SentNotification> sent_;
};

// A notification service for a private session bus (the tests run under dbus-run-session): owns
// org.freedesktop.Notifications on a connection of its own. It never shows anything.
class StandInNotifications final {
public:
    // Never: records every notification but answers none (a hung service).
    enum class Answer { Reply, Never };

    explicit StandInNotifications(Answer answer = Answer::Reply);
    ~StandInNotifications();
    StandInNotifications(const StandInNotifications&) = delete;
    StandInNotifications& operator=(const StandInNotifications&) = delete;

    // False when the name could not be had (another service owns it).
    bool Registered() const { return registered_; }
    std::vector<SentNotification> Sent() const { return object_->Sent(); }
    // What a click on notification `id` makes a real service send.
    void InvokeAction(uint id, const QString& action);

private:
    QThread thread_;
    QDBusConnection connection_;
    NotificationsObject* object_ = nullptr;
    bool registered_ = false;
};

}  // namespace dolvane::test
