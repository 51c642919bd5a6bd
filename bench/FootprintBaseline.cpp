// The yardstick for bench/Footprint.sh: the least a Qt 6 tray program can
// be, a tray icon with a one-entry menu and nothing else.
#include <QApplication>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QMenu menu;
    menu.addAction("Quit", &app, &QApplication::quit);
    QSystemTrayIcon icon(QIcon::fromTheme("emblem-favorite"));
    icon.setContextMenu(&menu);
    icon.show();
    return QApplication::exec();
}
