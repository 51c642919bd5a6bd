#pragma once

#include <QDBusConnection>
#include <QString>

#include <memory>
#include <optional>

#include "core/platform/SystemEvents.h"
#include "core/support/Signal.h"

class QDBusMessage;

namespace pelliwig {

class DBusSignalRelay;

// Wake and unlock as the desktop announces them over D-Bus. Waking is
// logind's PrepareForSleep(false) (system bus). Unlocking is the end of a
// lock of our login session, however it is told: logind's Unlock signal or
// the session's LockedHint turning false (system bus), or a screen locker's
// ActiveChanged(false) under the freedesktop, GNOME, Cinnamon, MATE or Xfce
// name (session bus). Several of these announce the same unlock; it counts
// once.
class DBusSystemEvents final : public SystemEvents {
public:
    // Either connection may be unconnected; its events are then never seen.
    DBusSystemEvents(QDBusConnection systemBus, QDBusConnection sessionBus);
    ~DBusSystemEvents() override;
    DBusSystemEvents(const DBusSystemEvents&) = delete;
    DBusSystemEvents& operator=(const DBusSystemEvents&) = delete;

    Connection onResumed(std::function<void()> callback) override;

    // The login session whose unlocking counts, as logind named it when we
    // started; empty when it did not answer.
    const QString& sessionPath() const { return sessionPath_; }

    // How long start-up waits for logind to name our session.
    static constexpr int kCallTimeoutMs = 1000;

private:
    void handle(const QDBusMessage& message);
    void sessionPropertiesChanged(const QDBusMessage& message);
    void lockChanged(bool locked);

    QDBusConnection system_;
    QDBusConnection session_;
    QString sessionPath_;
    std::optional<bool> locked_;  // unknown until first reported
    Signal<> resumed_;
    std::unique_ptr<DBusSignalRelay> relay_;
};

}  // namespace pelliwig
