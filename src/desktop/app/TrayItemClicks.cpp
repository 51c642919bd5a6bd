#include "desktop/app/TrayItemClicks.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QMetaClassInfo>
#include <QMetaObject>

#include <cstdio>
#include <vector>

namespace pelliwig {

namespace {

constexpr const char* kItemPath = "/StatusNotifierItem";
constexpr const char* kInterface = "org.kde.StatusNotifierItem";
constexpr int kInstancesTried = 8;

QDBusAbstractAdaptor* itemAdaptorOf(QObject* item) {
    for (auto* adaptor : item->findChildren<QDBusAbstractAdaptor*>(Qt::FindDirectChildrenOnly)) {
        const QMetaObject* meta = adaptor->metaObject();
        const int info = meta->indexOfClassInfo("D-Bus Interface");
        if (info >= 0 && qstrcmp(meta->classInfo(info).value(), kInterface) == 0) return adaptor;
    }
    return nullptr;
}

}  // namespace

// Qt puts a tray icon on a connection of its own named after the bus name
// it takes, "org.kde.StatusNotifierItem-<pid>-<n>", n counting every tray
// icon Qt made in this process, the ones it makes to find out whether there
// is a tray included; on the session bus itself in some versions.
TrayItemClicks* TrayItemClicks::takeOver() {
    std::vector<QDBusConnection> connections{QDBusConnection::sessionBus()};
    for (int n = 1; n <= kInstancesTried; ++n) {
        connections.emplace_back(QStringLiteral("org.kde.StatusNotifierItem-%1-%2")
                                     .arg(QCoreApplication::applicationPid())
                                     .arg(n));
    }
    for (const QDBusConnection& connection : connections) {
        if (!connection.isConnected()) continue;
        QObject* item = connection.objectRegisteredAt(QString::fromLatin1(kItemPath));
        QDBusAbstractAdaptor* qtItem = item ? itemAdaptorOf(item) : nullptr;
        if (!qtItem || qobject_cast<TrayItemClicks*>(qtItem)) continue;
        return new TrayItemClicks(item, qtItem);
    }
    return nullptr;
}

// A second adaptor of the same interface on an object replaces the first
// for every call and property, and its signals are the ones sent; Qt's keep
// coming through this one.
TrayItemClicks::TrayItemClicks(QObject* item, QDBusAbstractAdaptor* qtItem)
    : QDBusAbstractAdaptor(item), qtItem_(qtItem) {
    setAutoRelaySignals(true);
    for (const char* signal : {SIGNAL(NewAttentionIcon()), SIGNAL(NewIcon()),
                               SIGNAL(NewOverlayIcon()), SIGNAL(NewMenu()), SIGNAL(NewTitle()),
                               SIGNAL(NewToolTip()), SIGNAL(NewStatus(QString))}) {
        connect(qtItem_, signal, this, signal);
    }
}

void TrayItemClicks::clickedAt(int x, int y) {
    if (x == 0 && y == 0) {
        lastClick_.reset();
    } else {
        lastClick_ = QPoint(x, y);
    }
}

void TrayItemClicks::Activate(int x, int y) {
    clickedAt(x, y);
    QMetaObject::invokeMethod(qtItem_, "Activate", Q_ARG(int, x), Q_ARG(int, y));
}

void TrayItemClicks::ContextMenu(int x, int y) {
    clickedAt(x, y);
    QMetaObject::invokeMethod(qtItem_, "ContextMenu", Q_ARG(int, x), Q_ARG(int, y));
}

void TrayItemClicks::SecondaryActivate(int x, int y) {
    QMetaObject::invokeMethod(qtItem_, "SecondaryActivate", Q_ARG(int, x), Q_ARG(int, y));
}

void TrayItemClicks::Scroll(int delta, const QString& orientation) {
    QMetaObject::invokeMethod(qtItem_, "Scroll", Q_ARG(int, delta), Q_ARG(QString, orientation));
}

}  // namespace pelliwig
