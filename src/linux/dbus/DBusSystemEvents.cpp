#include "linux/dbus/DBusSystemEvents.h"

#include <unistd.h>

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <utility>

#include "linux/dbus/DBusSignalRelay.h"

namespace pelliwig {
namespace {

const QString kLogin = QStringLiteral("org.freedesktop.login1");
const QString kLoginPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");
const QString kSession = QStringLiteral("org.freedesktop.login1.Session");

const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

// The screen lockers' service and interface names (each uses the same for
// both, and announces ActiveChanged(b) on it): KDE and others under the
// freedesktop name, then GNOME, Cinnamon, MATE and Xfce under their own.
const QStringList kLockers = {
    QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("org.gnome.ScreenSaver"),
    QStringLiteral("org.cinnamon.ScreenSaver"),    QStringLiteral("org.mate.ScreenSaver"),
    QStringLiteral("org.xfce.ScreenSaver"),
};

QString askSession(const QDBusConnection& bus, const QString& method, const QVariant& argument) {
    auto call = QDBusMessage::createMethodCall(kLogin, kLoginPath, kManager, method);
    call << argument;
    const auto reply = bus.call(call, QDBus::Block, DBusSystemEvents::kCallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return {};
    return reply.arguments().at(0).value<QDBusObjectPath>().path();
}

// Our session: the one this process belongs to or, for a program started
// outside it (by the user's service manager, as some desktops start
// applications), the session logind considers the user's own.
QString ownSessionPath(const QDBusConnection& bus) {
    if (!bus.isConnected()) return {};
    QString path = askSession(bus, "GetSessionByPID", QVariant::fromValue(uint(getpid())));
    if (path.isEmpty()) path = askSession(bus, "GetSession", QStringLiteral("auto"));
    return path;
}

bool firstBool(const QDBusMessage& message) {
    return !message.arguments().isEmpty() && message.arguments().at(0).toBool();
}

}  // namespace

DBusSystemEvents::DBusSystemEvents(QDBusConnection systemBus, QDBusConnection sessionBus)
    : system_(std::move(systemBus)),
      session_(std::move(sessionBus)),
      sessionPath_(ownSessionPath(system_)),
      relay_(std::make_unique<DBusSignalRelay>(
          [this](const QDBusMessage& message) { handle(message); })) {
    relay_->listen(system_, kLogin, kLoginPath, kManager, "PrepareForSleep");
    if (!sessionPath_.isEmpty()) {
        relay_->listen(system_, kLogin, sessionPath_, kSession, "Unlock");
        relay_->listen(system_, kLogin, sessionPath_, kProperties, "PropertiesChanged");
    }
    // Any path: KDE announces on two objects, GNOME on its own.
    for (const auto& locker : kLockers) {
        relay_->listen(session_, locker, {}, locker, "ActiveChanged");
    }
}

DBusSystemEvents::~DBusSystemEvents() = default;

Connection DBusSystemEvents::onResumed(std::function<void()> callback) {
    return resumed_.connect(std::move(callback));
}

void DBusSystemEvents::handle(const QDBusMessage& message) {
    const QString& member = message.member();
    if (member == "PrepareForSleep") {
        // Sent with true on the way down and false on the way back up.
        if (!firstBool(message)) resumed_();
    } else if (member == "Unlock") {
        lockChanged(false);
    } else if (member == "ActiveChanged") {
        lockChanged(firstBool(message));
    } else if (member == "PropertiesChanged") {
        sessionPropertiesChanged(message);
    }
}

// Lockers that tell logind whether the screen is locked set the session's
// LockedHint.
void DBusSystemEvents::sessionPropertiesChanged(const QDBusMessage& message) {
    const auto args = message.arguments();
    if (args.size() < 2 || args.at(0).toString() != kSession) return;
    const auto changed = qdbus_cast<QVariantMap>(args.at(1));
    if (changed.contains("LockedHint")) lockChanged(changed.value("LockedHint").toBool());
}

// One unlock may be announced several times (logind and the locker, two
// names, two objects); only the change from locked to unlocked counts.
// Starting while locked, the first "unlocked" counts too.
void DBusSystemEvents::lockChanged(bool locked) {
    const bool unlocked = !locked && locked_ != false;
    locked_ = locked;
    if (unlocked) resumed_();
}

}  // namespace pelliwig
