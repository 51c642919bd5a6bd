#include "desktop/settings/SettingsWidgets.h"

#include <QApplication>
#include <QLabel>

namespace pelliwig {

QIcon themeIcon(std::initializer_list<const char*> names, QStyle::StandardPixmap fallback) {
    for (const char* name : names) {
        const QString themed = QString::fromLatin1(name);
        if (QIcon::hasThemeIcon(themed)) return QIcon::fromTheme(themed);
    }
    return QApplication::style()->standardIcon(fallback);
}

QLabel* plainLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    return label;
}

QLabel* secondaryLabel(const QString& text, QWidget* parent) {
    auto* label = plainLabel(text, parent);
    label->setWordWrap(true);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

}  // namespace pelliwig
