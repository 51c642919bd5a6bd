#include "desktop/settings/HomePath.h"

#include "core/support/BaseDirectories.h"

namespace pelliwig {

std::string abbreviateHome(std::string_view path, std::string_view home) {
    while (home.size() > 1 && home.back() == '/') home.remove_suffix(1);
    if (home.empty() || home == "/") return std::string(path);
    if (!path.starts_with(home)) return std::string(path);
    const std::string_view rest = path.substr(home.size());
    if (rest.empty() || rest == "/") return "~";
    if (rest.front() != '/') return std::string(path);
    return "~" + std::string(rest);
}

std::string homeFolder() {
    return BaseDirectories::home().string();
}

std::string shownPath(std::string_view path) {
    return abbreviateHome(path, homeFolder());
}

}  // namespace pelliwig
