#pragma once

// Qt's event loop and QtDBus connections inside GoogleTest tests, for the
// adapters that take their input from QtDBus.

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>
#include <QTimer>

#include <functional>
#include <string>

namespace pelliwig::testing {

// The process's QCoreApplication, made on first use (GoogleTest owns main).
inline QCoreApplication& coreApplication() {
    static int argc = 1;
    static char name[] = "pelliwig-test";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
    return *QCoreApplication::instance();
}

// Runs the event loop until `done` holds or `timeoutMs` passes; whether it
// holds. Returns as soon as it does: this waits for events, it does not sleep.
inline bool runEventsUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    coreApplication();
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.start(timeoutMs);
    while (!done() && deadline.isActive()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return done();
}

// A connection of its own to the bus at `address`, closed when dropped. Not
// connected when nothing listens there.
class BusConnection {
public:
    explicit BusConnection(const std::string& address)
        : name_(QStringLiteral("pelliwig-test-%1").arg(++count())),
          connection_((coreApplication(),
                       QDBusConnection::connectToBus(QString::fromStdString(address), name_))) {}
    BusConnection(const BusConnection&) = delete;
    BusConnection& operator=(const BusConnection&) = delete;
    ~BusConnection() { QDBusConnection::disconnectFromBus(name_); }

    QDBusConnection& get() { return connection_; }

    // Lets every signal that already reached this connection be handled: a
    // round trip to the bus daemon returns only after the messages that came
    // before its reply were dispatched, then the deliveries they posted run.
    void settle() {
        connection_.call(
            QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                           "org.freedesktop.DBus", "GetId"),
            QDBus::Block, 5000);
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }

private:
    static int& count() {
        static int n = 0;
        return n;
    }

    QString name_;
    QDBusConnection connection_;
};

// An address where no bus listens.
inline const std::string kNoBus = "unix:path=/nonexistent/pelliwig-no-bus";

}  // namespace pelliwig::testing
