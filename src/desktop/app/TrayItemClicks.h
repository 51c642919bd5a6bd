#pragma once

#include <optional>

#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QPoint>
#include <QString>
#include <QVariant>

namespace pelliwig {

// Where a StatusNotifier host says its item was clicked. Qt's tray icon
// answers a host's Activate(x, y) and ContextMenu(x, y) but forgets x and y,
// and where the pointer is over a Wayland panel (swaybar) no X program can
// ask: this adaptor takes the item's interface over from Qt's, keeps the
// point, and hands every call and property on to Qt's own.
//
// It relies only on what Qt's D-Bus tray registers publicly on the bus: an
// object at /StatusNotifierItem whose adaptor carries the interface. Where
// that is not found, nothing is taken over and the point stays unknown.
class TrayItemClicks final : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    Q_PROPERTY(QString AttentionIconName READ attentionIconName)
    Q_PROPERTY(QVariant AttentionIconPixmap READ attentionIconPixmap)
    Q_PROPERTY(QString AttentionMovieName READ attentionMovieName)
    Q_PROPERTY(QString Category READ category)
    Q_PROPERTY(QString IconName READ iconName)
    Q_PROPERTY(QVariant IconPixmap READ iconPixmap)
    Q_PROPERTY(QString Id READ id)
    Q_PROPERTY(bool ItemIsMenu READ itemIsMenu)
    Q_PROPERTY(QDBusObjectPath Menu READ menu)
    Q_PROPERTY(QString OverlayIconName READ overlayIconName)
    Q_PROPERTY(QVariant OverlayIconPixmap READ overlayIconPixmap)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(QString Title READ title)
    Q_PROPERTY(QVariant ToolTip READ toolTip)

public:
    // Takes over the item of the process's first tray icon once Qt has put
    // it on the bus; null where there is none (an XEmbed tray, no bus).
    static TrayItemClicks* takeOver();

    // The point of the host's last Activate or ContextMenu, in the host's
    // screen coordinates; none when it sent none, or 0, 0 (which some
    // hosts send for "unknown").
    std::optional<QPoint> lastClick() const { return lastClick_; }

    QString attentionIconName() const { return text("AttentionIconName"); }
    QVariant attentionIconPixmap() const { return qtItem_->property("AttentionIconPixmap"); }
    QString attentionMovieName() const { return text("AttentionMovieName"); }
    QString category() const { return text("Category"); }
    QString iconName() const { return text("IconName"); }
    QVariant iconPixmap() const { return qtItem_->property("IconPixmap"); }
    QString id() const { return text("Id"); }
    bool itemIsMenu() const { return qtItem_->property("ItemIsMenu").toBool(); }
    QDBusObjectPath menu() const { return qtItem_->property("Menu").value<QDBusObjectPath>(); }
    QString overlayIconName() const { return text("OverlayIconName"); }
    QVariant overlayIconPixmap() const { return qtItem_->property("OverlayIconPixmap"); }
    QString status() const { return text("Status"); }
    QString title() const { return text("Title"); }
    QVariant toolTip() const { return qtItem_->property("ToolTip"); }

public Q_SLOTS:
    void Activate(int x, int y);
    void ContextMenu(int x, int y);
    void SecondaryActivate(int x, int y);
    void Scroll(int delta, const QString& orientation);

Q_SIGNALS:
    void NewAttentionIcon();
    void NewIcon();
    void NewOverlayIcon();
    void NewMenu();
    void NewStatus(const QString& status);
    void NewTitle();
    void NewToolTip();

private:
    TrayItemClicks(QObject* item, QDBusAbstractAdaptor* qtItem);
    QString text(const char* name) const { return qtItem_->property(name).toString(); }
    void clickedAt(int x, int y);

    QDBusAbstractAdaptor* qtItem_;
    std::optional<QPoint> lastClick_;
};

}  // namespace pelliwig
