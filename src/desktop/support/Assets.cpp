#include "desktop/support/Assets.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace pelliwig::Assets {

QStringList searchRoots() {
    QStringList roots;
    if (QCoreApplication::instance()) {
        roots << QDir(QCoreApplication::applicationDirPath()).filePath("../share/pelliwig");
    }
    roots << QStringLiteral(PELLIWIG_INSTALLED_RESOURCES)
          << QStringLiteral(PELLIWIG_SOURCE_RESOURCES);
    return roots;
}

std::optional<QString> url(const QString& name) {
    return url(name, searchRoots());
}

std::optional<QString> url(const QString& name, const QStringList& roots) {
    if (name.isEmpty()) return std::nullopt;
    for (const QString& root : roots) {
        const QFileInfo file(QDir(root).filePath(name));
        if (file.isFile()) return QDir::cleanPath(file.absoluteFilePath());
    }
    return std::nullopt;
}

}  // namespace pelliwig::Assets
