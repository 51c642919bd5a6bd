#pragma once

#include <filesystem>
#include <optional>
#include <vector>

namespace pelliwig {

// The XDG base-directory rules, read from the environment at each call. A
// value that is not an absolute path is invalid and ignored, as the rules
// say; then the default applies. Every folder the program keeps or reads
// files in comes from here.
namespace BaseDirectories {

// $HOME when it is an absolute path, else the home folder the password
// database gives this user (HOME is unset under some service managers and
// sudo set-ups). Empty when neither names one.
std::filesystem::path home();

// $XDG_CONFIG_HOME, else ~/.config.
std::filesystem::path configHome();

// $XDG_DATA_HOME, else ~/.local/share.
std::filesystem::path dataHome();

// The absolute entries of $XDG_DATA_DIRS, else /usr/local/share and /usr/share.
std::vector<std::filesystem::path> dataDirs();

// $XDG_RUNTIME_DIR when it is set and absolute; nothing otherwise (there is
// no default: the caller picks a private fallback of its own).
std::optional<std::filesystem::path> runtimeDir();

}  // namespace BaseDirectories
}  // namespace pelliwig
