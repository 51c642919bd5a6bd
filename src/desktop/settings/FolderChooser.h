#pragma once

#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace pelliwig {

// Asks for a folder; the chosen folder's file-system path, or nothing when
// the user cancelled. Injected so tests can answer without a dialog.
using ChooseFolder = std::function<std::optional<std::string>(QWidget* parent)>;

// A modal dialog for one existing directory, confirmed with "Use this folder".
std::optional<std::string> chooseFolderWithDialog(QWidget* parent);

}  // namespace pelliwig
