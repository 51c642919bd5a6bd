#include "desktop/notch/BubbleButton.h"

namespace pelliwig {

BubbleButton::BubbleButton(const QString& objectName, const QString& label, QWidget* parent)
    : QAbstractButton(parent) {
    setObjectName(objectName);
    setText(label);  // for accessibility and tests; never drawn from here
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_NoSystemBackground);
}

}  // namespace pelliwig
