#pragma once

#include <optional>

#include <QString>
#include <QStringList>

namespace pelliwig::Assets {

// The folders resource names are looked up in, in order: the data folder next
// to the program (../share/pelliwig, for a relocated install), the installed
// data folder, then the source tree's resources for a development run.
QStringList searchRoots();

// The file for a relative resource name such as "portraits/zuzi.png": the
// first root holding it.
std::optional<QString> url(const QString& name);
std::optional<QString> url(const QString& name, const QStringList& roots);

}  // namespace pelliwig::Assets
