#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/platform/LoginItem.h"

namespace pelliwig {

// The login item as an XDG autostart entry: a desktop entry in the user's
// autostart folder that the session starts at login, with "--login-item",
// named and drawn as her menu entry, and skipped once the program is gone.
class XdgAutostart final : public LoginItem {
public:
    static constexpr std::string_view kFileName = "pelliwig.desktop";

    // The entry for the running program in the user's configuration folder.
    XdgAutostart();
    // The entry in `configHome`/autostart, starting `executable`; for tests.
    XdgAutostart(std::filesystem::path configHome, std::filesystem::path executable);

    // Writes the entry atomically, replacing any earlier one, including one
    // the user switched off.
    bool registerItem() override;
    bool unregisterItem() override;
    // An entry exists and is not switched off with Hidden=true (or GNOME's
    // X-GNOME-Autostart-enabled=false).
    bool isRegistered() const override;

    const std::filesystem::path& entryPath() const { return entryPath_; }

    // $XDG_CONFIG_HOME when it is an absolute path, otherwise $HOME/.config.
    static std::filesystem::path configHome();
    // The running binary, from /proc/self/exe; nothing when unreadable.
    static std::optional<std::filesystem::path> runningExecutable();
    // The entry's text for `executable`; nothing when the path cannot be
    // written in a desktop entry (not UTF-8, or control characters).
    static std::optional<std::string> entryText(const std::filesystem::path& executable);
    // One Exec argument, quoted and escaped as desktop entries require.
    static std::string execArgument(std::string_view argument);

private:
    std::filesystem::path entryPath_;
    std::optional<std::filesystem::path> executable_;
};

}  // namespace pelliwig
