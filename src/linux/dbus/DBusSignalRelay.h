#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QString>

#include <functional>

namespace pelliwig {

// Hands D-Bus signals to a function. QtDBus delivers signals only to slots of
// a QObject; this is that QObject, so the adapters themselves need no Qt
// object model. Subscriptions end when the relay is destroyed.
class DBusSignalRelay final : public QObject {
    Q_OBJECT

public:
    explicit DBusSignalRelay(std::function<void(const QDBusMessage&)> handler);

    // Subscribes to a signal; an empty path matches every object of the
    // sender. False when the bus refused (or there is no bus).
    bool listen(QDBusConnection& bus, const QString& service, const QString& path,
                const QString& interface, const QString& name);

public Q_SLOTS:
    void deliver(const QDBusMessage& message);

private:
    std::function<void(const QDBusMessage&)> handler_;
};

}  // namespace pelliwig
