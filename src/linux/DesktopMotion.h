#pragma once

#include <filesystem>
#include <istream>
#include <memory>
#include <optional>

#include <QFileSystemWatcher>

namespace pelliwig {

class GSettingsSwitch;

// Whether the desktop asks programs to keep still: GNOME with its
// animations off (org.gnome.desktop.interface enable-animations), KDE with
// AnimationDurationFactor 0 in kdeglobals ("Animation speed: Instant").
// Both are followed while she runs.
class DesktopMotion final {
public:
    // The desktops of this session: GNOME's key only in a GNOME session,
    // KDE's file wherever it is.
    DesktopMotion();
    // KDE's file at `kdeglobals` only; for tests.
    explicit DesktopMotion(std::filesystem::path kdeglobals);
    ~DesktopMotion();
    DesktopMotion(const DesktopMotion&) = delete;
    DesktopMotion& operator=(const DesktopMotion&) = delete;

    bool reduced() const;

    // What a kdeglobals text says: true for a factor of 0, false for
    // another, nothing when it does not say.
    static std::optional<bool> kdeReduces(std::istream& kdeglobals);

private:
    void readKde();

    std::unique_ptr<GSettingsSwitch> gnomeAnimations_;
    std::filesystem::path kdeglobals_;
    QFileSystemWatcher watcher_;
    bool kdeReduced_ = false;
};

}  // namespace pelliwig
