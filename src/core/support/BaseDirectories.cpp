#include "core/support/BaseDirectories.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>

namespace pelliwig::BaseDirectories {

namespace fs = std::filesystem;

namespace {

std::optional<fs::path> absoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !fs::path(value).is_absolute()) return std::nullopt;
    return fs::path(value);
}

// Only absolute entries count; empty and relative ones are skipped.
std::vector<fs::path> absoluteList(const char* name) {
    std::vector<fs::path> paths;
    const char* value = std::getenv(name);
    std::string_view rest = value ? value : "";
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        const fs::path path(rest.substr(0, colon));
        if (path.is_absolute()) paths.push_back(path);
        rest = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon + 1);
    }
    return paths;
}

// ~/<relative>, or nothing at all when there is no home: a relative path
// would put files into whatever folder the program was started in.
fs::path inHome(const char* relative) {
    const fs::path base = home();
    return base.empty() ? fs::path() : base / relative;
}

}  // namespace

fs::path home() {
    if (auto value = absoluteVariable("HOME")) return *value;
    if (const passwd* user = ::getpwuid(::getuid());
        user && user->pw_dir && fs::path(user->pw_dir).is_absolute()) {
        return user->pw_dir;
    }
    return {};
}

fs::path configHome() {
    return absoluteVariable("XDG_CONFIG_HOME").value_or(inHome(".config"));
}

fs::path dataHome() {
    return absoluteVariable("XDG_DATA_HOME").value_or(inHome(".local/share"));
}

std::vector<fs::path> dataDirs() {
    auto dirs = absoluteList("XDG_DATA_DIRS");
    if (dirs.empty()) dirs = {"/usr/local/share", "/usr/share"};
    return dirs;
}

std::optional<fs::path> runtimeDir() {
    return absoluteVariable("XDG_RUNTIME_DIR");
}

}  // namespace pelliwig::BaseDirectories
