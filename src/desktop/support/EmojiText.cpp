#include "desktop/support/EmojiText.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <optional>

#include <QPainter>
#include <QTextCharFormat>

namespace pelliwig::EmojiText {

namespace {

constexpr char32_t kJoiner = 0x200D;
constexpr char32_t kEmojiSelector = 0xFE0F;
constexpr char32_t kKeycap = 0x20E3;

bool continuesEmoji(char32_t c) {
    return c == kJoiner || c == kEmojiSelector || c == kKeycap ||
           u_hasBinaryProperty(UChar32(c), UCHAR_EMOJI_MODIFIER) || (c >= 0xE0020 && c <= 0xE007F);
}

QTextCharFormat emojiFormat() {
    QTextCharFormat format;
    format.setFontFamilies({QString::fromLatin1(kEmojiFamily)});
    return format;
}

// A laid-out text; `lineWidth` none for one unbroken line.
std::unique_ptr<QTextLayout> laidOut(const QString& text, const QFont& font,
                                     std::optional<double> lineWidth, const QTextOption& option) {
    auto layout = std::make_unique<QTextLayout>(text, font);
    layout->setTextOption(option);
    layout->setFormats(emojiRuns(text));
    layout->beginLayout();
    double y = 0;
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        if (lineWidth) {
            line.setLineWidth(*lineWidth);
        } else {
            line.setNumColumns(std::numeric_limits<int>::max());
        }
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout->endLayout();
    return layout;
}

QSizeF extent(const QTextLayout& layout) {
    double width = 0;
    double height = 0;
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        width = std::max(width, line.naturalTextWidth());
        height = std::max(height, line.y() + line.height());
    }
    return {width, height};
}

QTextOption singleLine() {
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    return option;
}

}  // namespace

bool isEmoji(char32_t c) {
    if (u_hasBinaryProperty(UChar32(c), UCHAR_REGIONAL_INDICATOR)) return true;
    if (c >= 0x2300 && u_hasBinaryProperty(UChar32(c), UCHAR_EXTENDED_PICTOGRAPHIC)) return true;
    return false;
}

QList<QTextLayout::FormatRange> emojiRuns(const QString& text) {
    QList<QTextLayout::FormatRange> runs;
    const QTextCharFormat format = emojiFormat();
    const auto* units = reinterpret_cast<const UChar*>(text.utf16());
    const int32_t length = int32_t(text.size());
    int32_t i = 0;
    while (i < length) {
        const int32_t start = i;
        UChar32 c;
        U16_NEXT(units, i, length, c);
        if (!isEmoji(char32_t(c))) continue;
        int32_t end = i;
        while (end < length) {
            int32_t next = end;
            UChar32 d;
            U16_NEXT(units, next, length, d);
            if (!isEmoji(char32_t(d)) && !continuesEmoji(char32_t(d))) break;
            end = next;
        }
        if (!runs.isEmpty() && runs.back().start + runs.back().length == start) {
            runs.back().length += end - start;
        } else {
            runs.append({start, end - start, format});
        }
        i = end;
    }
    return runs;
}

double width(const QString& text, const QFont& font) {
    return size(text, font).width();
}

QSizeF size(const QString& text, const QFont& font) {
    return extent(*laidOut(text, font, std::nullopt, singleLine()));
}

QList<QGlyphRun> glyphRuns(const QString& text, const QFont& font) {
    return laidOut(text, font, std::nullopt, singleLine())->glyphRuns();
}

double height(const QString& text, const QFont& font, double width, const QTextOption& option) {
    return extent(*laidOut(text, font, width, option)).height();
}

void draw(QPainter& painter, const QRectF& rect, const QString& text, const QFont& font,
          const QTextOption& option) {
    laidOut(text, font, rect.width(), option)->draw(&painter, rect.topLeft());
}

void drawLine(QPainter& painter, const QRectF& rect, const QString& text, const QFont& font,
              Qt::Alignment alignment) {
    const auto layout = laidOut(text, font, std::nullopt, singleLine());
    const QSizeF size = extent(*layout);
    QPointF at = rect.topLeft();
    if (alignment & Qt::AlignHCenter) at.rx() += (rect.width() - size.width()) / 2;
    if (alignment & Qt::AlignRight) at.rx() += rect.width() - size.width();
    if (alignment & Qt::AlignVCenter) at.ry() += (rect.height() - size.height()) / 2;
    if (alignment & Qt::AlignBottom) at.ry() += rect.height() - size.height();
    layout->draw(&painter, at);
}

QString html(const QString& text) {
    QString result;
    qsizetype done = 0;
    for (const auto& run : emojiRuns(text)) {
        result += text.mid(done, run.start - done).toHtmlEscaped();
        result += QStringLiteral("<span style=\"font-family:'%1'\">%2</span>")
                      .arg(QString::fromLatin1(kEmojiFamily),
                           text.mid(run.start, run.length).toHtmlEscaped());
        done = run.start + run.length;
    }
    result += text.mid(done).toHtmlEscaped();
    return result.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
}

}  // namespace pelliwig::EmojiText
