#include "desktop/notch/BubbleButton.h"

#include <QKeyEvent>
#include <QPainter>

#include "desktop/support/Theme.h"

namespace pelliwig {

BubbleButton::BubbleButton(const QString& objectName, const QString& label, QWidget* parent)
    : QAbstractButton(parent) {
    setObjectName(objectName);
    setText(label);  // for screen readers and tests; never drawn from here
    setAccessibleName(label);
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_NoSystemBackground);
}

void BubbleButton::paintEvent(QPaintEvent*) {
    if (!hasFocus()) return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Theme::buttonText(), 1.5));
    const QRectF ring = QRectF(rect()).adjusted(1, 1, -1, -1);
    p.drawRoundedRect(ring, 6, 6);
}

// Return picks the answer as Space does; the arrows move between answers.
void BubbleButton::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            click();
            return;
        case Qt::Key_Right:
        case Qt::Key_Down:
            focusNextPrevChild(true);
            return;
        case Qt::Key_Left:
        case Qt::Key_Up:
            focusNextPrevChild(false);
            return;
        default:
            QAbstractButton::keyPressEvent(event);
    }
}

}  // namespace pelliwig
