#include "linux/dbus/DBusIdleTime.h"

#include <QDBusMessage>
#include <QString>
#include <QVariant>

#include <array>
#include <optional>
#include <utility>

namespace pelliwig {

namespace {

// One idle-time service: where it lives and what to call.
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

std::optional<double> ask(const QDBusConnection& bus, const Service& service) {
    const auto call = QDBusMessage::createMethodCall(service.name, service.path, service.interface,
                                                     service.method);
    const QDBusMessage answer = bus.call(call, QDBus::Block, DBusIdleTime::kTimeoutMs);
    if (answer.type() != QDBusMessage::ReplyMessage || answer.arguments().size() != 1) {
        return std::nullopt;
    }
    bool ok = false;
    const qulonglong ms = answer.arguments().front().toULongLong(&ok);
    if (!ok) return std::nullopt;
    return static_cast<double>(ms) / 1000.0;
}

}  // namespace

DBusIdleTime::DBusIdleTime(QDBusConnection sessionBus) : bus_(std::move(sessionBus)) {}

double DBusIdleTime::seconds() const {
    if (!bus_.isConnected()) return 0;
    for (std::size_t i = 0; i < kServices.size(); ++i) {
        const std::size_t which = (preferred_ + i) % kServices.size();
        if (const auto idle = ask(bus_, kServices[which])) {
            preferred_ = which;
            return *idle;
        }
    }
    return 0;
}

}  // namespace pelliwig
