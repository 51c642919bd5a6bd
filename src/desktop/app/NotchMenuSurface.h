#pragma once

#include <functional>

#include <QObject>
#include <QPoint>

#include "core/platform/NotchSurface.h"

namespace pelliwig {

class NotchPanel;

// The notch panel with her menu on a right click: each window the panel
// builds is watched for a right button press on her, which opens the menu
// at the pointer. On a desktop with no tray this is the way to her menu.
class NotchMenuSurface final : public QObject, public NotchSurface {
    Q_OBJECT

public:
    using OpenMenu = std::function<void(const QPoint& globalPosition)>;

    NotchMenuSurface(NotchPanel& panel, OpenMenu openMenu);

    void build(const NotchGeometry& geometry, const Rect& frame, NotchModel& model) override;
    void orderFront() override;
    void orderOut() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    NotchPanel& panel_;
    OpenMenu openMenu_;
};

}  // namespace pelliwig
