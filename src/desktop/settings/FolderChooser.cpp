#include "desktop/settings/FolderChooser.h"

#include <QFile>
#include <QFileDialog>

namespace pelliwig {

std::optional<std::string> chooseFolderWithDialog(QWidget* parent) {
    QFileDialog dialog(parent);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setLabelText(QFileDialog::Accept, "Use this folder");
    dialog.setWindowModality(Qt::WindowModal);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.size() != 1) return std::nullopt;
    // The path's own bytes, as the file system spells them.
    return QFile::encodeName(chosen.front()).toStdString();
}

}  // namespace pelliwig
