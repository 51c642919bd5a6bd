#pragma once

#include <functional>
#include <memory>

#include <QDBusConnection>
#include <QMenu>
#include <QObject>
#include <QPoint>

#include "core/menu/MenuContent.h"

class QDBusServiceWatcher;
class QSystemTrayIcon;

namespace pelliwig {

class TrayItemClicks;

// Her menu: a tray icon titled "Zuzi" with a heart where the desktop has a
// tray, and the same menu at any point (right-clicking her in the notch)
// where it has none. The entries are computed afresh from `state` each time
// the menu is about to show; the actions must outlive the menu.
//
// The shortcuts the menu shows work while it is open and in her own windows
// while one of them is active, never system-wide: Ctrl+Q in another program
// is that program's. (A tray host that draws the menu itself, over D-Bus,
// keeps its keys to itself.)
class TrayMenu final : public QObject {
    Q_OBJECT

public:
    using StateSource = std::function<MenuState()>;

    TrayMenu(StateSource state, MenuActions& actions, QObject* parent = nullptr);
    ~TrayMenu() override;

    // The service a StatusNotifier tray host (GNOME's AppIndicator
    // extension, KDE, swaybar, waybar…) registers.
    static constexpr const char* kWatcherService = "org.kde.StatusNotifierWatcher";

    // Shows the tray icon when the desktop has a tray. False when it has none.
    bool showIcon();

    // Shows the icon now if the desktop has a tray, else as soon as a tray
    // host appears on `bus`. Each time a host appears again, Qt announces the
    // icon to it anew by itself. Qt decides once per process which tray protocol
    // an icon uses, so it is not asked before there is a tray.
    void showIconWhenTrayAppears(QDBusConnection bus);

    // Opens the menu at a point on the screen.
    void popupAt(const QPoint& globalPosition);

    // Recomputes the entries now; the menu does this itself before showing.
    void rebuild();

    // The entries' shortcuts act in `window` while it is the active window.
    // The window may go first.
    void serveShortcutsIn(QWidget* window);

    QMenu* menu() { return &menu_; }

signals:
    // The icon was shown, later than at start.
    void iconShown();

public:
    QSystemTrayIcon* icon() const { return icon_.get(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fill(QMenu& menu, const std::vector<MenuEntry>& entries);
    // Runs the entry with `id` as the menu now stands.
    void trigger(const std::string& id);
    static void addLine(QMenu& menu, const MenuEntry& entry);
    // Where the click on her icon was, for her menu to open there.
    QPoint clickPoint() const;

    StateSource state_;
    MenuActions& actions_;
    QMenu menu_;
    std::unique_ptr<QSystemTrayIcon> icon_;
    TrayItemClicks* clicks_ = nullptr;  // owned by the icon's D-Bus object
    std::unique_ptr<QDBusServiceWatcher> hostWatch_;
    // Kept until the next rebuild, as the QActions call into them.
    std::vector<MenuEntry> entries_;
};

}  // namespace pelliwig
