#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/platform/DoNotDisturb.h"

class QDBusPendingCallWatcher;
class QDBusServiceWatcher;

namespace pelliwig {

class DBusSignalRelay;

// A desktop's do-not-disturb switch kept by a service on the session bus:
// read once the service is there (never starting it), then followed through
// the signals it sends, so a question costs no round trip. While the
// service is absent the switch reads off.
class DBusWatchedFlag final : public DoNotDisturb {
public:
    // Reads the switch from a reply or a signal; nothing when the message
    // says nothing about it.
    using Reader = std::function<std::optional<bool>(const QDBusMessage&)>;

    struct SignalName {
        QString path;
        QString interface;
        QString member;
    };

    struct Source {
        QString service;
        QDBusMessage read;  // the method call that asks for the switch
        Reader fromReply;
        std::vector<SignalName> signalNames;
        Reader fromSignal;
    };

    DBusWatchedFlag(QDBusConnection bus, Source source);
    ~DBusWatchedFlag() override;
    DBusWatchedFlag(const DBusWatchedFlag&) = delete;
    DBusWatchedFlag& operator=(const DBusWatchedFlag&) = delete;

    bool on() const override { return on_; }

private:
    void ask();
    void answered(QDBusPendingCallWatcher* call);

    QDBusConnection bus_;
    Source source_;
    bool on_ = false;
    std::unique_ptr<DBusSignalRelay> relay_;
    std::unique_ptr<QDBusServiceWatcher> presence_;
    std::unique_ptr<QDBusPendingCallWatcher> pending_;
};

// KDE Plasma: the notification server's `Inhibited` property.
std::unique_ptr<DoNotDisturb> notificationsInhibited(QDBusConnection bus);
// Xfce: xfce4-notifyd's /do-not-disturb in the settings daemon xfconfd.
std::unique_ptr<DoNotDisturb> xfceDoNotDisturb(QDBusConnection bus);

}  // namespace pelliwig
