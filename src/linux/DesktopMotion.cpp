#include "linux/DesktopMotion.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <utility>

#include "linux/SessionTraits.h"
#include "linux/dbus/GSettingsDoNotDisturb.h"
#include "linux/xdg/XdgAutostart.h"

namespace pelliwig {
namespace {

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

}  // namespace

DesktopMotion::DesktopMotion() : DesktopMotion(XdgAutostart::configHome() / "kdeglobals") {
    if (SessionTraits::current().gnome) {
        gnomeAnimations_ =
            GSettingsSwitch::open("org.gnome.desktop.interface", "enable-animations");
    }
}

DesktopMotion::DesktopMotion(std::filesystem::path kdeglobals)
    : kdeglobals_(std::move(kdeglobals)) {
    readKde();
    // KDE writes the file anew (a rename), which ends a watch on the file
    // itself; its folder is watched too, and the file again whenever it is
    // back.
    watcher_.addPath(QString::fromStdString(kdeglobals_.parent_path().string()));
    QObject::connect(&watcher_, &QFileSystemWatcher::directoryChanged, &watcher_,
                     [this] { readKde(); });
    QObject::connect(&watcher_, &QFileSystemWatcher::fileChanged, &watcher_, [this] { readKde(); });
}

DesktopMotion::~DesktopMotion() = default;

bool DesktopMotion::reduced() const {
    return kdeReduced_ || (gnomeAnimations_ && !gnomeAnimations_->value());
}

void DesktopMotion::readKde() {
    std::ifstream in(kdeglobals_);
    kdeReduced_ = in && kdeReduces(in).value_or(false);
    const QString file = QString::fromStdString(kdeglobals_.string());
    if (in && !watcher_.files().contains(file)) watcher_.addPath(file);
}

std::optional<bool> DesktopMotion::kdeReduces(std::istream& kdeglobals) {
    constexpr std::string_view kKey = "AnimationDurationFactor";
    bool inGroup = false;
    std::optional<bool> reduces;
    for (std::string text; std::getline(kdeglobals, text);) {
        const std::string_view line = trimmed(text);
        if (line.starts_with('[')) {
            inGroup = line == "[KDE]";
            continue;
        }
        if (!inGroup || !line.starts_with(kKey)) continue;
        std::string_view rest = line.substr(kKey.size());
        // "AnimationDurationFactor[$i]=0": KDE's markers stand before "=".
        if (rest.starts_with('[')) rest.remove_prefix(std::min(rest.find(']') + 1, rest.size()));
        rest = trimmed(rest);
        if (!rest.starts_with('=')) continue;
        rest = trimmed(rest.substr(1));
        double factor = 1;
        const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), factor);
        if (error != std::errc() || end != rest.data() + rest.size()) continue;
        reduces = factor <= 0;
    }
    return reduces;
}

}  // namespace pelliwig
