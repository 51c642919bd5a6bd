#include "linux/dbus/DBusSignalRelay.h"

#include <utility>

namespace pelliwig {

DBusSignalRelay::DBusSignalRelay(std::function<void(const QDBusMessage&)> handler)
    : handler_(std::move(handler)) {}

bool DBusSignalRelay::listen(QDBusConnection& bus, const QString& service, const QString& path,
                             const QString& interface, const QString& name) {
    return bus.isConnected() &&
           bus.connect(service, path, interface, name, this, SLOT(deliver(QDBusMessage)));
}

void DBusSignalRelay::deliver(const QDBusMessage& message) {
    handler_(message);
}

}  // namespace pelliwig
