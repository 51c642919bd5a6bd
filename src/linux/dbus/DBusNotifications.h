#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>

#include <memory>
#include <optional>
#include <string>

#include "core/platform/Notifications.h"
#include "linux/dbus/DBusSignalRelay.h"

namespace pelliwig {

// Desktop notifications through org.freedesktop.Notifications on the session
// bus. Hers replace each other in place (one id at a time); the server's
// answer to each call arrives on the event loop, so nothing here waits on it.
// Her answers are its actions, keyed "answer-0", "answer-1" …; a server that
// shows no actions shows her words alone.
class DBusNotifications final : public Notifications {
public:
    // `icon`: a file:// URL or an icon theme's name, shown with each one.
    DBusNotifications(QDBusConnection sessionBus, QString icon);
    ~DBusNotifications() override;
    DBusNotifications(const DBusNotifications&) = delete;
    DBusNotifications& operator=(const DBusNotifications&) = delete;

    // A Notify is on its way: what is asked meanwhile waits for its id.
    bool sending() const { return awaiting_; }

    void show(const Notification& notification) override;
    void close() override;

    // A notification of its own, beside hers and never replaced by them,
    // that goes as the server decides: something said once.
    void announce(const std::string& summary, const std::string& body);

private:
    void send(const Notification& notification);
    // The server's answer to the last Notify: its id, or why it refused.
    void sent(uint id);
    void failed(const std::string& why);
    void closeOnServer(uint id);
    void received(const QDBusMessage& signal);

    QDBusConnection bus_;
    QString icon_;
    DBusSignalRelay relay_;
    uint id_ = 0;            // the server's id for the one out; 0 when none
    bool awaiting_ = false;  // a Notify is on its way; its id is not known yet
    // Asked for while a Notify was on its way, done once its id is known.
    std::optional<Notification> nextShow_;
    bool nextClose_ = false;
    bool saidRefusal_ = false;
    // Lets a reply that comes after this object is gone find it gone.
    std::shared_ptr<DBusNotifications*> self_;
};

}  // namespace pelliwig
