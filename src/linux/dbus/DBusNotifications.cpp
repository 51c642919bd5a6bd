#include "linux/dbus/DBusNotifications.h"

#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

#include <cstdio>
#include <utility>

namespace pelliwig {
namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kAnswerKey = QStringLiteral("answer-");

// The server's reasons in NotificationClosed.
constexpr uint kDismissedByUser = 2;

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

// Servers that offer body markup read "&", "<" and ">" as markup.
QString plainBody(const std::string& text) {
    return qt(text).toHtmlEscaped();
}

QDBusMessage notifyCall(uint replaces, const QString& icon, const std::string& summary,
                        const std::string& body, const QStringList& actions, int timeoutMs) {
    auto call = QDBusMessage::createMethodCall(kService, kPath, kInterface, "Notify");
    QVariantMap hints;
    hints.insert("desktop-entry", QStringLiteral("pelliwig"));
    hints.insert("urgency", QVariant::fromValue(uchar(1)));
    call << QStringLiteral("Pelliwig") << replaces << icon << qt(summary) << plainBody(body)
         << actions << hints << timeoutMs;
    return call;
}

}  // namespace

DBusNotifications::DBusNotifications(QDBusConnection sessionBus, QString icon)
    : bus_(std::move(sessionBus)),
      icon_(std::move(icon)),
      relay_([this](const QDBusMessage& signal) { received(signal); }),
      self_(std::make_shared<DBusNotifications*>(this)) {
    relay_.listen(bus_, kService, kPath, kInterface, "ActionInvoked");
    relay_.listen(bus_, kService, kPath, kInterface, "NotificationClosed");
}

DBusNotifications::~DBusNotifications() {
    *self_ = nullptr;
}

void DBusNotifications::show(const Notification& notification) {
    if (awaiting_) {
        nextShow_ = notification;
        nextClose_ = false;
        return;
    }
    send(notification);
}

void DBusNotifications::close() {
    if (awaiting_) {
        nextShow_.reset();
        nextClose_ = true;
        return;
    }
    closeOnServer(id_);
    id_ = 0;
}

void DBusNotifications::announce(const std::string& summary, const std::string& body) {
    // The server's own timeout: it is read once and may go.
    bus_.asyncCall(notifyCall(0, icon_, summary, body, {}, -1));
}

// She takes it away herself when her moment is over: the server keeps it
// until then.
void DBusNotifications::send(const Notification& notification) {
    QStringList actions;
    for (std::size_t i = 0; i < notification.answers.size(); ++i) {
        actions << kAnswerKey + QString::number(i) << qt(notification.answers[i]);
    }
    awaiting_ = true;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(
        notifyCall(id_, icon_, notification.summary, notification.body, actions, 0)));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [self = self_](QDBusPendingCallWatcher* finished) {
                         finished->deleteLater();
                         const QDBusPendingReply<uint> reply = *finished;
                         if (!*self) return;
                         if (reply.isValid()) {
                             (*self)->sent(reply.value());
                         } else {
                             (*self)->failed(reply.error().message().toStdString());
                         }
                     });
}

void DBusNotifications::failed(const std::string& why) {
    if (!saidRefusal_) {
        saidRefusal_ = true;
        std::fprintf(stderr, "pelliwig: the desktop's notifications refuse hers: %s\n",
                     why.c_str());
    }
    sent(0);
}

void DBusNotifications::sent(uint id) {
    awaiting_ = false;
    id_ = id;
    if (nextClose_) {
        nextClose_ = false;
        close();
    } else if (nextShow_) {
        const Notification next = std::move(*nextShow_);
        nextShow_.reset();
        send(next);
    }
}

void DBusNotifications::closeOnServer(uint id) {
    if (id == 0) return;
    auto call = QDBusMessage::createMethodCall(kService, kPath, kInterface, "CloseNotification");
    call << id;
    bus_.asyncCall(call);
}

void DBusNotifications::received(const QDBusMessage& signal) {
    const auto arguments = signal.arguments();
    if (arguments.size() < 2 || id_ == 0 || arguments[0].toUInt() != id_) return;
    if (signal.member() == QLatin1String("ActionInvoked")) {
        const QString key = arguments[1].toString();
        bool isNumber = false;
        const auto index =
            key.startsWith(kAnswerKey) ? key.mid(kAnswerKey.size()).toUInt(&isNumber) : 0;
        if (!isNumber) return;
        // Servers take a notification away once an action of it is picked;
        // what she says next comes as one of its own.
        closeOnServer(id_);
        id_ = 0;
        if (onAnswer) onAnswer(index);
    } else if (signal.member() == QLatin1String("NotificationClosed")) {
        id_ = 0;
        if (arguments[1].toUInt() == kDismissedByUser && onDismiss) onDismiss();
    }
}

}  // namespace pelliwig
