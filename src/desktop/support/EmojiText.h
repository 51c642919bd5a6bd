#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QRectF>
#include <QString>
#include <QTextLayout>
#include <QTextOption>

class QPainter;

namespace pelliwig {

// Text with its emoji in colour. Qt 6.4 takes a character from the first font
// that has it, and the usual text fonts (DejaVu Sans) have black outline
// glyphs for many emoji (❤ ☀ ☕ 😏); here every emoji run is set in the
// colour emoji font instead, and the rest in the font given. Measuring and
// drawing go through the same layout, so both agree.
namespace EmojiText {

// The colour emoji font of Debian's fonts-noto-color-emoji.
inline constexpr const char* kEmojiFamily = "Noto Color Emoji";

// Whether the character starts or continues an emoji: pictographs from
// U+2300 on (not ©, ®, ™ or arrows, which read as text), flag letters,
// skin tones, the joiner, the emoji variation selector and keycaps.
bool isEmoji(char32_t c);

// The runs of `text` to set in the emoji font.
QList<QTextLayout::FormatRange> emojiRuns(const QString& text);

// Width of `text` on one line.
double width(const QString& text, const QFont& font);
// Height of `text` wrapped at `width` with `option`'s wrap mode.
double height(const QString& text, const QFont& font, double width, const QTextOption& option);
// Size of `text` on one line.
QSizeF size(const QString& text, const QFont& font);

// The glyphs `text` is drawn with on one line, each run with its font.
QList<QGlyphRun> glyphRuns(const QString& text, const QFont& font);

// Draws `text` in `rect`, wrapped at its width, from its top left.
void draw(QPainter& painter, const QRectF& rect, const QString& text, const QFont& font,
          const QTextOption& option);
// Draws `text` on one line, placed in `rect` by `alignment`.
void drawLine(QPainter& painter, const QRectF& rect, const QString& text, const QFont& font,
              Qt::Alignment alignment);

// `text` as rich text for a label, every character escaped and the emoji
// runs in the colour emoji font.
QString html(const QString& text);

}  // namespace EmojiText

}  // namespace pelliwig
