#include "linux/DBusIdleTime.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>
#include <QVariant>

#include <array>
#include <atomic>
#include <optional>

namespace pelliwig {

namespace {

// One idle-time service: where it lives and how to read its answer.
struct Service {
    const char* name;
    const char* path;
    const char* interface;
    const char* method;
};

// Both answer in milliseconds: Mutter as uint64, ScreenSaver as uint32.
constexpr std::array<Service, 2> kServices{{
    {"org.gnome.Mutter.IdleMonitor", "/org/gnome/Mutter/IdleMonitor/Core",
     "org.gnome.Mutter.IdleMonitor", "GetIdletime"},
    {"org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver", "org.freedesktop.ScreenSaver",
     "GetSessionIdleTime"},
}};

// Connections are named so that each adapter keeps its own; Qt shares
// connections of the same name.
QString uniqueConnectionName() {
    static std::atomic<int> counter{0};
    return QStringLiteral("pelliwig-idle-%1").arg(++counter);
}

}  // namespace

struct DBusIdleTime::Bus {
    QDBusConnection connection;
    bool ours = false;  // the default session bus is Qt's to keep
    mutable std::size_t preferred = 0;  // the service that answered last

    std::optional<double> ask(const Service& service) const {
        auto call = QDBusMessage::createMethodCall(service.name, service.path, service.interface,
                                                   service.method);
        const QDBusMessage answer = connection.call(call, QDBus::Block, kTimeoutMs);
        if (answer.type() != QDBusMessage::ReplyMessage || answer.arguments().size() != 1) {
            return std::nullopt;
        }
        bool ok = false;
        const qulonglong ms = answer.arguments().front().toULongLong(&ok);
        if (!ok) return std::nullopt;
        return static_cast<double>(ms) / 1000.0;
    }
};

DBusIdleTime::DBusIdleTime()
    : bus_(std::make_unique<Bus>(Bus{QDBusConnection::sessionBus()})) {}

DBusIdleTime::DBusIdleTime(const std::string& address)
    : bus_(std::make_unique<Bus>(Bus{
          QDBusConnection::connectToBus(QString::fromStdString(address), uniqueConnectionName()),
          true})) {}

DBusIdleTime::~DBusIdleTime() {
    if (!bus_->ours) return;
    const QString name = bus_->connection.name();
    bus_.reset();
    QDBusConnection::disconnectFromBus(name);
}

double DBusIdleTime::seconds() const {
    if (!bus_->connection.isConnected()) return 0;
    for (std::size_t i = 0; i < kServices.size(); ++i) {
        const std::size_t which = (bus_->preferred + i) % kServices.size();
        if (const auto idle = bus_->ask(kServices[which])) {
            bus_->preferred = which;
            return *idle;
        }
    }
    return 0;
}

}  // namespace pelliwig
