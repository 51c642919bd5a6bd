#include "linux/xdg/DesktopEntryIndex.h"

#include "core/support/BaseDirectories.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <string_view>
#include <system_error>
#include <utility>

namespace pelliwig {
namespace fs = std::filesystem;

namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return std::string(text.substr(first, last - first + 1));
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The value escapes a display name may use.
std::string unescaped(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        switch (value[++i]) {
            case 's':
                out += ' ';
                break;
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            default:
                out += value[i];
                break;
        }
    }
    return out;
}

// The keys of the [Desktop Entry] group this index needs, as "Key" or
// "Key[locale]" to value.
std::map<std::string, std::string> mainGroup(const fs::path& file) {
    std::map<std::string, std::string> keys;
    std::ifstream in(file);
    bool inMain = false;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        if (line[0] == '[') {
            if (inMain) break;  // the main group comes first and ends here
            inMain = trimmed(line) == "[Desktop Entry]";
            continue;
        }
        const auto equals = line.find('=');
        if (!inMain || equals == std::string::npos) continue;
        const std::string key = trimmed(std::string_view(line).substr(0, equals));
        if (key.starts_with("Name") || key == "StartupWMClass" || key == "Type" ||
            key == "Hidden") {
            keys.emplace(key, unescaped(trimmed(std::string_view(line).substr(equals + 1))));
        }
    }
    return keys;
}

std::string desktopId(const fs::path& relative) {
    std::string id = relative.string();
    id.resize(id.size() - std::string_view(".desktop").size());
    std::replace(id.begin(), id.end(), '/', '-');
    return id;
}

}  // namespace

DesktopEntryIndex::DesktopEntryIndex() : DesktopEntryIndex(defaultFolders()) {}

DesktopEntryIndex::DesktopEntryIndex(std::vector<fs::path> folders)
    : folders_(std::move(folders)), locales_(localeSuffixes()) {}

std::vector<fs::path> DesktopEntryIndex::defaultFolders() {
    // No home at all leaves only the system's folders: a relative one would
    // read the folder the program happened to start in.
    std::vector<fs::path> bases;
    if (auto home = BaseDirectories::dataHome(); !home.empty()) bases.push_back(home);
    const auto system = BaseDirectories::dataDirs();
    bases.insert(bases.end(), system.begin(), system.end());
    std::vector<fs::path> folders;
    for (const auto& base : bases) folders.push_back(base / "applications");
    return folders;
}

std::vector<std::string> DesktopEntryIndex::localeSuffixes() {
    std::string locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = environment(name);
        if (!locale.empty()) break;
    }
    std::string modifier;
    if (const auto at = locale.find('@'); at != std::string::npos) {
        modifier = locale.substr(at);
        locale.erase(at);
    }
    if (const auto dot = locale.find('.'); dot != std::string::npos) locale.erase(dot);
    if (locale.empty() || locale == "C" || locale == "POSIX") return {};
    const std::string language = locale.substr(0, locale.find('_'));
    std::vector<std::string> suffixes;
    auto add = [&](const std::string& s) {
        if (std::find(suffixes.begin(), suffixes.end(), s) == suffixes.end()) suffixes.push_back(s);
    };
    if (!modifier.empty()) add(locale + modifier);
    add(locale);
    if (!modifier.empty()) add(language + modifier);
    add(language);
    return suffixes;
}

std::optional<std::string> DesktopEntryIndex::nameFor(const std::string& className,
                                                      const std::string& instance) {
    refresh();
    const std::string keys[] = {lower(className), lower(instance)};
    for (const auto* table : {&byStartupClass_, &byId_}) {
        for (const auto& key : keys) {
            if (key.empty()) continue;
            if (auto found = table->find(key); found != table->end()) return found->second;
        }
    }
    return std::nullopt;
}

void DesktopEntryIndex::refresh() {
    std::vector<fs::file_time_type> stamps;
    for (const auto& folder : folders_) stamps.push_back(stamp(folder));
    if (built_ && stamps == stamps_) return;
    stamps_ = std::move(stamps);
    rebuild();
    built_ = true;
}

fs::file_time_type DesktopEntryIndex::stamp(const fs::path& folder) const {
    std::error_code error;
    const auto time = fs::last_write_time(folder, error);
    return error ? fs::file_time_type::min() : time;
}

void DesktopEntryIndex::rebuild() {
    std::set<std::string> seen;
    byId_.clear();
    byStartupClass_.clear();
    for (const auto& folder : folders_) addFolder(folder, seen);
}

void DesktopEntryIndex::addFolder(const fs::path& folder, std::set<std::string>& seen) {
    std::error_code error;
    fs::recursive_directory_iterator files(folder, fs::directory_options::skip_permission_denied,
                                           error);
    for (const fs::recursive_directory_iterator end; !error && files != end;
         files.increment(error)) {
        const fs::path& file = files->path();
        // A broken link is skipped; it must not end the walk.
        std::error_code unreadable;
        if (file.extension() != ".desktop" || !files->is_regular_file(unreadable)) continue;
        const std::string id = lower(desktopId(file.lexically_relative(folder)));
        // An entry in an earlier folder hides later ones with the same id,
        // even when it is Hidden: that is how a user removes an application.
        if (!seen.insert(id).second) continue;
        addEntry(id, mainGroup(file));
    }
}

void DesktopEntryIndex::addEntry(const std::string& id,
                                 const std::map<std::string, std::string>& keys) {
    auto value = [&](const std::string& key) {
        const auto found = keys.find(key);
        return found == keys.end() ? std::string() : found->second;
    };
    if (value("Hidden") == "true") return;
    if (const auto type = value("Type"); !type.empty() && type != "Application") return;
    std::string name = value("Name");
    for (const auto& suffix : locales_) {
        if (const auto localized = value("Name[" + suffix + "]"); !localized.empty()) {
            name = localized;
            break;
        }
    }
    if (name.empty()) return;
    byId_.emplace(id, name);
    if (const auto startupClass = lower(value("StartupWMClass")); !startupClass.empty()) {
        byStartupClass_.emplace(startupClass, name);
    }
}

}  // namespace pelliwig
