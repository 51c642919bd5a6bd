#include "desktop/app/TrayMenu.h"

#include <utility>

#include <QCursor>
#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QShortcut>
#include <QSystemTrayIcon>
#include <QWidgetAction>

#include "desktop/app/TrayItemClicks.h"
#include "desktop/support/Assets.h"
#include "desktop/support/TimeText.h"
#include "linux/x11/X11Desktop.h"

namespace pelliwig {
namespace {

// Where the entries' text starts in Qt's own menu style.
constexpr int kLineIndent = 28;

// Menus read "&" as a mnemonic marker; a release's version must not.
QString literal(const std::string& text) {
    return QString::fromStdString(text).replace(QLatin1Char('&'), "&&");
}

// Her heart, the one the welcome window points to, drawn for each size a
// tray asks for; the desktop theme's when the files are missing.
QIcon heartIcon() {
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64}) {
        if (const auto file = Assets::url(QString("icons/pelliwig-tray-%1.png").arg(size))) {
            icon.addFile(*file, QSize(size, size));
        }
    }
    return icon.isNull() ? QIcon::fromTheme("emblem-favorite") : icon;
}

QFont captionFont(const QFont& base) {
    QFont font = base;
    if (font.pointSizeF() > 0) font.setPointSizeF(font.pointSizeF() * 0.85);
    return font;
}

}  // namespace

TrayMenu::TrayMenu(StateSource state, MenuActions& actions, QObject* parent)
    : QObject(parent), state_(std::move(state)), actions_(actions) {
    menu_.setObjectName("trayMenu");
    // A popup menu takes the keyboard, and Qt does not look for the
    // shortcuts of a menu that sits in no menu bar: it is done here.
    menu_.installEventFilter(this);
    connect(&menu_, &QMenu::aboutToShow, this, &TrayMenu::rebuild);
    rebuild();  // a tray host may read the menu before it ever opens it
}

TrayMenu::~TrayMenu() {
    if (icon_) icon_->setContextMenu(nullptr);
}

bool TrayMenu::showIcon() {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) return false;
    if (!icon_) {
        icon_ = std::make_unique<QSystemTrayIcon>(heartIcon());
        icon_->setObjectName("trayIcon");
        icon_->setToolTip("Zuzi");
        icon_->setContextMenu(&menu_);
        // A left click opens the menu too: it is her only handle. A right
        // click reaches her as well where the tray draws no menu of its own
        // (swaybar asks the item for one).
        connect(icon_.get(), &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::Context) {
                        popupAt(clickPoint());
                    }
                });
    }
    icon_->show();
    if (!clicks_) clicks_ = TrayItemClicks::takeOver();
    return true;
}

void TrayMenu::showIconWhenTrayAppears(QDBusConnection bus) {
    hostWatch_ = std::make_unique<QDBusServiceWatcher>(kWatcherService, bus,
                                                       QDBusServiceWatcher::WatchForRegistration);
    connect(hostWatch_.get(), &QDBusServiceWatcher::serviceRegistered, this, [this] {
        // Qt announces an icon already shown to a host that restarted; a
        // second announcement from here would list her twice there.
        if (icon_) return;
        if (showIcon()) emit iconShown();
    });
    const auto* daemon = bus.interface();
    const bool host = daemon && daemon->isServiceRegistered(kWatcherService).value();
    if (host || X11Desktop::xembedTray()) showIcon();
}

// The host's point is in device pixels, as X programs are placed; without
// one the pointer is where the X server last saw it, which is right on an
// X desktop.
QPoint TrayMenu::clickPoint() const {
    const auto click = clicks_ ? clicks_->lastClick() : std::nullopt;
    if (!click) return QCursor::pos();
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect frame = screen->geometry();
        const double scale = screen->devicePixelRatio();
        const QRectF device(frame.topLeft(), QSizeF(frame.size()) * scale);
        if (device.contains(*click)) {
            return frame.topLeft() + ((*click - frame.topLeft()) / scale);
        }
    }
    return *click;
}

void TrayMenu::popupAt(const QPoint& globalPosition) {
    menu_.popup(globalPosition);
}

void TrayMenu::rebuild() {
    // QActions are deleted before the entries their slots call into. Clearing
    // a menu leaves its submenus alive, so they go by hand.
    for (auto* submenu : menu_.findChildren<QMenu*>(Qt::FindDirectChildrenOnly)) delete submenu;
    menu_.clear();
    // Times written by the very function the settings' time fields use.
    entries_ = menuContent(state_(), actions_,
                           [](int minutes) { return timeOfDayText(minutes).toStdString(); });
    fill(menu_, entries_);
}

void TrayMenu::fill(QMenu& menu, const std::vector<MenuEntry>& entries) {
    for (const auto& entry : entries) {
        const QString id = QString::fromStdString(entry.id);
        if (entry.type == MenuEntry::Type::separator) {
            menu.addSeparator()->setObjectName(id);
            continue;
        }
        if (entry.type == MenuEntry::Type::submenu) {
            auto* submenu = menu.addMenu(literal(entry.title));
            submenu->setObjectName(id);
            submenu->menuAction()->setObjectName(id);
            submenu->installEventFilter(this);
            fill(*submenu, entry.children);
            continue;
        }
        if (!entry.action) {
            addLine(menu, entry);
            continue;
        }
        auto* action = menu.addAction(literal(entry.title));
        action->setObjectName(id);
        if (!entry.shortcut.empty()) {
            action->setShortcut(QKeySequence(QString::fromStdString(entry.shortcut)));
        }
        connect(action, &QAction::triggered, this, [&entry] { entry.action(); });
    }
}

// A line that only shows state: plain readable text rather than a greyed
// entry, and nothing happens when it is clicked.
void TrayMenu::addLine(QMenu& menu, const MenuEntry& entry) {
    auto* line = new QLabel(QString::fromStdString(entry.title));
    line->setTextFormat(Qt::PlainText);
    if (!entry.tooltip.empty()) {
        line->setToolTip(QString::fromStdString(entry.tooltip));
        line->setAccessibleDescription(line->toolTip());
    }
    line->setContentsMargins(kLineIndent, 3, kLineIndent, 3);
    if (entry.type == MenuEntry::Type::caption) line->setFont(captionFont(menu.font()));
    auto* action = new QWidgetAction(&menu);
    action->setObjectName(QString::fromStdString(entry.id));
    action->setText(QString::fromStdString(entry.title));
    action->setToolTip(QString::fromStdString(entry.tooltip));
    action->setDefaultWidget(line);
    menu.addAction(action);
}

void TrayMenu::serveShortcutsIn(QWidget* window) {
    for (const auto& entry : entries_) {
        if (entry.shortcut.empty()) continue;
        auto* shortcut =
            new QShortcut(QKeySequence(QString::fromStdString(entry.shortcut)), window);
        shortcut->setObjectName(QString::fromStdString("shortcut." + entry.id));
        connect(shortcut, &QShortcut::activated, this, [this, id = entry.id] { trigger(id); });
    }
}

bool TrayMenu::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const QKeySequence pressed(key->keyCombination());
    for (const QAction* action : menu_.actions()) {
        if (action->shortcut().isEmpty() || action->shortcut() != pressed) continue;
        const std::string id = action->objectName().toStdString();
        // Closed first, so a window the entry opens comes up in front.
        for (auto* submenu : menu_.findChildren<QMenu*>()) submenu->hide();
        menu_.hide();
        trigger(id);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void TrayMenu::trigger(const std::string& id) {
    for (const auto& entry : entries_) {
        if (entry.id != id || !entry.action) continue;
        // Copied: the action may rebuild the menu and with it the entries.
        const auto action = entry.action;
        action();
        return;
    }
}

}  // namespace pelliwig
