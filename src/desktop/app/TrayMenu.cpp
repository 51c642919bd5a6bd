#include "desktop/app/TrayMenu.h"

#include <utility>

#include <QCursor>
#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>
#include <QLabel>
#include <QSystemTrayIcon>
#include <QWidgetAction>

#include "desktop/support/Assets.h"
#include "desktop/support/X11Desktop.h"

namespace pelliwig {
namespace {

// Where the entries' text starts in Qt's own menu style.
constexpr int kLineIndent = 28;

// Menus read "&" as a mnemonic marker; a release's version must not.
QString literal(const std::string& text) {
    return QString::fromStdString(text).replace(QLatin1Char('&'), "&&");
}

// Her heart, or the desktop theme's when the icon file is missing.
QIcon heartIcon() {
    if (const auto file = Assets::url("icons/pelliwig.png")) return QIcon(*file);
    return QIcon::fromTheme("emblem-favorite");
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
        // A left click opens the menu too: it is her only handle.
        connect(icon_.get(), &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    if (reason == QSystemTrayIcon::Trigger) popupAt(QCursor::pos());
                });
    }
    icon_->show();
    return true;
}

void TrayMenu::showIconWhenTrayAppears(QDBusConnection bus) {
    hostWatch_ = std::make_unique<QDBusServiceWatcher>(kWatcherService, bus,
                                                       QDBusServiceWatcher::WatchForRegistration);
    connect(hostWatch_.get(), &QDBusServiceWatcher::serviceRegistered, this, [this] {
        // A host that restarted knows nothing of an icon shown before.
        if (icon_) icon_->hide();
        const bool late = !icon_;
        if (showIcon() && late) emit iconShown();
    });
    const auto* daemon = bus.interface();
    const bool host = daemon && daemon->isServiceRegistered(kWatcherService).value();
    if (host || X11Desktop::xembedTray()) showIcon();
}

void TrayMenu::popupAt(const QPoint& globalPosition) {
    menu_.popup(globalPosition);
}

void TrayMenu::rebuild() {
    // QActions are deleted before the entries their slots call into. Clearing
    // a menu leaves its submenus alive, so they go by hand.
    for (auto* submenu : menu_.findChildren<QMenu*>(Qt::FindDirectChildrenOnly)) delete submenu;
    menu_.clear();
    entries_ = menuContent(state_(), actions_);
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
    line->setContentsMargins(kLineIndent, 3, kLineIndent, 3);
    if (entry.type == MenuEntry::Type::caption) line->setFont(captionFont(menu.font()));
    auto* action = new QWidgetAction(&menu);
    action->setObjectName(QString::fromStdString(entry.id));
    action->setText(QString::fromStdString(entry.title));
    action->setDefaultWidget(line);
    menu.addAction(action);
}

}  // namespace pelliwig
