#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include <QIcon>
#include <QString>
#include <QStyle>

class QLabel;
class QWidget;

namespace pelliwig {

// Small shared pieces of the settings tabs.

inline QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string utf8(const QString& text) {
    return text.toStdString();
}

// Buttons, check boxes and tab titles read "&" as a shortcut marker; doubling
// it shows the ampersand ("Writing & docs", "Dates & yours").
inline QString literalTitle(QString text) {
    return text.replace(QLatin1Char('&'), "&&");
}

// The first of `names` the desktop's icon theme has (the monochrome
// "-symbolic" drawings first, where themes keep them), or the style's own
// icon when the theme has none of them.
QIcon themeIcon(std::initializer_list<const char*> names, QStyle::StandardPixmap fallback);

// A plain-text label: never read as markup, whatever it shows.
QLabel* plainLabel(const QString& text, QWidget* parent = nullptr);

// A plain-text, word-wrapped label in the secondary (dimmer) style.
QLabel* secondaryLabel(const QString& text, QWidget* parent = nullptr);

}  // namespace pelliwig
