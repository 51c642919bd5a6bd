#pragma once

#include <QColor>
#include <QFont>

namespace pelliwig::Theme {

// Colours of the character box and the speech bubble.
QColor notchBlack();
QColor bubbleBackground();
QColor bubbleBorder();
QColor bubbleText();
QColor bubbleShadow();
QColor buttonText();
QColor closeTint();
QColor zzzTint();

// The fonts. Sizes are pixels, because every other measure of the bubble is
// a pixel too: a point-sized font grows with the screen's logical DPI and
// would no longer fit the widths the bubble is laid out to.
QFont lineFont();    // 14, semibold: the line, and what measures it
QFont buttonFont();  // 12, semibold
QFont zzzFont();     // 12, bold

// The stroke of the close glyph, drawn as a cross since the desktop has no
// symbol font to rely on.
inline constexpr double kCloseGlyphSize = 8;
inline constexpr double kCloseGlyphStroke = 1.6;

}  // namespace pelliwig::Theme
