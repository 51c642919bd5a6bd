#include "desktop/settings/WheelGuard.h"

#include <QEvent>
#include <QObject>
#include <QWidget>

namespace pelliwig {
namespace {

class WheelGuard : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Wheel) return false;
        auto* control = qobject_cast<QWidget*>(watched);
        if (!control || control->hasFocus()) return false;
        // Ignored and handled: the application hands it to the parents.
        event->ignore();
        return true;
    }
};

}  // namespace

void turnsOnlyWhenFocused(QWidget* control) {
    static WheelGuard* const guard = new WheelGuard;
    control->setFocusPolicy(Qt::StrongFocus);
    control->installEventFilter(guard);
}

}  // namespace pelliwig
