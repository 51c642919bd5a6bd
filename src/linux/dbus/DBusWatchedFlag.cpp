#include "linux/dbus/DBusWatchedFlag.h"

#include <QDBusArgument>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QVariantMap>

#include <utility>

#include "linux/dbus/DBusSignalRelay.h"

namespace pelliwig {
namespace {

const QString kNotifications = QStringLiteral("org.freedesktop.Notifications");
const QString kNotificationsPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kInhibited = QStringLiteral("Inhibited");

const QString kXfconf = QStringLiteral("org.xfce.Xfconf");
const QString kXfconfPath = QStringLiteral("/org/xfce/Xfconf");
const QString kNotifyd = QStringLiteral("xfce4-notifyd");
const QString kDoNotDisturb = QStringLiteral("/do-not-disturb");

// A variant argument arrives wrapped once more.
QVariant unwrapped(const QVariant& value) {
    if (value.canConvert<QDBusVariant>()) return value.value<QDBusVariant>().variant();
    return value;
}

std::optional<bool> asBool(const QVariant& value) {
    const QVariant inner = unwrapped(value);
    if (inner.metaType().id() != QMetaType::Bool) return std::nullopt;
    return inner.toBool();
}

std::optional<bool> firstArgument(const QDBusMessage& reply) {
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return std::nullopt;
    }
    return asBool(reply.arguments().at(0));
}

// PropertiesChanged(interface, changed, invalidated) of the notification
// server.
std::optional<bool> inhibitedChanged(const QDBusMessage& message) {
    const auto args = message.arguments();
    if (args.size() < 2 || args.at(0).toString() != kNotifications) return std::nullopt;
    const auto changed = qdbus_cast<QVariantMap>(args.at(1));
    if (!changed.contains(kInhibited)) return std::nullopt;
    return asBool(changed.value(kInhibited));
}

// PropertyChanged(channel, property, value) and PropertyRemoved(channel,
// property); a removed switch is off again.
std::optional<bool> notifydChanged(const QDBusMessage& message) {
    const auto args = message.arguments();
    if (args.size() < 2 || args.at(0).toString() != kNotifyd ||
        args.at(1).toString() != kDoNotDisturb) {
        return std::nullopt;
    }
    if (message.member() == "PropertyRemoved") return false;
    if (args.size() < 3) return std::nullopt;
    return asBool(args.at(2));
}

}  // namespace

DBusWatchedFlag::DBusWatchedFlag(QDBusConnection bus, Source source)
    : bus_(std::move(bus)),
      source_(std::move(source)),
      relay_(std::make_unique<DBusSignalRelay>([this](const QDBusMessage& message) {
          if (const auto value = source_.fromSignal(message)) on_ = *value;
      })) {
    if (!bus_.isConnected()) return;
    for (const auto& name : source_.signalNames) {
        relay_->listen(bus_, source_.service, name.path, name.interface, name.member);
    }
    // A service that starts later, or starts again, is asked afresh; one
    // that goes away takes its switch with it.
    presence_ = std::make_unique<QDBusServiceWatcher>(source_.service, bus_);
    QObject::connect(presence_.get(), &QDBusServiceWatcher::serviceRegistered, presence_.get(),
                     [this] { ask(); });
    QObject::connect(presence_.get(), &QDBusServiceWatcher::serviceUnregistered, presence_.get(),
                     [this] { on_ = false; });
    ask();
}

DBusWatchedFlag::~DBusWatchedFlag() = default;

// Without blocking start-up, and without waking a service that is not
// running: it may be another desktop's, installed but unused.
void DBusWatchedFlag::ask() {
    QDBusMessage call = source_.read;
    call.setAutoStartService(false);
    pending_ = std::make_unique<QDBusPendingCallWatcher>(bus_.asyncCall(call));
    QObject::connect(pending_.get(), &QDBusPendingCallWatcher::finished, pending_.get(),
                     [this](QDBusPendingCallWatcher* finished) { answered(finished); });
}

void DBusWatchedFlag::answered(QDBusPendingCallWatcher* call) {
    if (const auto value = source_.fromReply(call->reply())) on_ = *value;
}

std::unique_ptr<DoNotDisturb> notificationsInhibited(QDBusConnection bus) {
    auto read = QDBusMessage::createMethodCall(kNotifications, kNotificationsPath, kProperties,
                                               QStringLiteral("Get"));
    read << kNotifications << kInhibited;
    return std::make_unique<DBusWatchedFlag>(
        std::move(bus),
        DBusWatchedFlag::Source{kNotifications,
                                read,
                                firstArgument,
                                {{kNotificationsPath, kProperties, "PropertiesChanged"}},
                                inhibitedChanged});
}

std::unique_ptr<DoNotDisturb> xfceDoNotDisturb(QDBusConnection bus) {
    auto read = QDBusMessage::createMethodCall(kXfconf, kXfconfPath, kXfconf,
                                               QStringLiteral("GetProperty"));
    read << kNotifyd << kDoNotDisturb;
    return std::make_unique<DBusWatchedFlag>(
        std::move(bus), DBusWatchedFlag::Source{kXfconf,
                                                read,
                                                firstArgument,
                                                {{kXfconfPath, kXfconf, "PropertyChanged"},
                                                 {kXfconfPath, kXfconf, "PropertyRemoved"}},
                                                notifydChanged});
}

}  // namespace pelliwig
