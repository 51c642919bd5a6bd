#include "desktop/support/Theme.h"

#include <QFontDatabase>

namespace pelliwig::Theme {

namespace {

QColor black(double opacity) {
    return QColor::fromRgbF(0, 0, 0, float(opacity));
}

QFont systemFont(int pixels, QFont::Weight weight) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(pixels);
    font.setWeight(weight);
    // Measured widths decide the layout, so glyph positions must not be
    // snapped differently when drawing than when measuring.
    font.setHintingPreference(QFont::PreferVerticalHinting);
    return font;
}

}  // namespace

QColor notchBlack() {
    return Qt::black;
}
QColor bubbleBackground() {
    return Qt::white;
}
QColor bubbleBorder() {
    return black(0.08);
}
QColor bubbleText() {
    return black(0.9);
}
QColor bubbleShadow() {
    return black(0.16);
}
QColor buttonText() {
    return black(0.75);
}
QColor closeTint() {
    return black(0.35);
}
QColor zzzTint() {
    return QColor::fromRgbF(1, 1, 1, 0.8f);
}

QFont lineFont() {
    return systemFont(14, QFont::DemiBold);
}
QFont buttonFont() {
    return systemFont(12, QFont::DemiBold);
}
QFont zzzFont() {
    return systemFont(12, QFont::Bold);
}

}  // namespace pelliwig::Theme
