#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace pelliwig {

// Display names of installed applications, looked up by an X window's
// WM_CLASS. Built from the desktop entries in the XDG applications folders on
// first use and rebuilt when one of the folders changes, so the lookup that
// runs on every tick reads no files.
class DesktopEntryIndex {
public:
    // The applications folders of $XDG_DATA_HOME (default ~/.local/share) and
    // $XDG_DATA_DIRS (default /usr/local/share:/usr/share), in that order.
    DesktopEntryIndex();
    // The given applications folders, earlier ones winning; for tests.
    explicit DesktopEntryIndex(std::vector<std::filesystem::path> folders);

    // The Name of the entry whose StartupWMClass equals the class or the
    // instance (ignoring case), else of the entry whose id (file name without
    // .desktop) does; nothing when no entry matches.
    std::optional<std::string> nameFor(const std::string& className, const std::string& instance);

    static std::vector<std::filesystem::path> defaultFolders();

    // The key of a localized value that fits the locale in $LC_ALL,
    // $LC_MESSAGES or $LANG best, in the order desktop entries define:
    // lang_COUNTRY@MODIFIER, lang_COUNTRY, lang@MODIFIER, lang.
    static std::vector<std::string> localeSuffixes();

private:
    void refresh();
    void rebuild();
    void addFolder(const std::filesystem::path& folder, std::set<std::string>& seen);
    void addEntry(const std::string& id, const std::map<std::string, std::string>& keys);
    std::filesystem::file_time_type stamp(const std::filesystem::path& folder) const;

    std::vector<std::filesystem::path> folders_;
    std::vector<std::filesystem::file_time_type> stamps_;
    bool built_ = false;
    std::vector<std::string> locales_;
    // Display names by lower-case desktop-file id and StartupWMClass.
    std::map<std::string, std::string> byId_;
    std::map<std::string, std::string> byStartupClass_;
};

}  // namespace pelliwig
