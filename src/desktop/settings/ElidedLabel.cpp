#include "desktop/settings/ElidedLabel.h"

#include <algorithm>

#include <QFontMetrics>

namespace pelliwig {

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void ElidedLabel::setFullText(const QString& text) {
    full_ = text;
    // Tool tips take anything that looks like markup as markup; escaped, a
    // folder named "<b>x</b>" is shown as named, on one line.
    setToolTip(QString("<p style='white-space:pre'>%1</p>").arg(text.toHtmlEscaped()));
    // A screen reader reads the tool tip as the description, markup and
    // all; it gets the text itself, whole, also where the label elides it.
    setAccessibleName(text);
    setAccessibleDescription(text);
    elide();
}

QSize ElidedLabel::minimumSizeHint() const {
    return {0, QLabel::minimumSizeHint().height()};
}

QSize ElidedLabel::sizeHint() const {
    return {fontMetrics().horizontalAdvance(full_), QLabel::sizeHint().height()};
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    elide();
}

void ElidedLabel::elide() {
    setText(fontMetrics().elidedText(full_, Qt::ElideMiddle, std::max(0, contentsRect().width())));
}

}  // namespace pelliwig
