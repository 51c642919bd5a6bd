#include "linux/xdg/XdgAutostart.h"

#include "core/support/BaseDirectories.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <utility>

namespace pelliwig {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kGroup = "[Desktop Entry]";

// Bytes a UTF-8 sequence starting with `lead` takes; 0 if it cannot start one.
int sequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

// Rules out overlong forms, surrogates and code points past U+10FFFF.
bool secondByteFits(unsigned char lead, unsigned char second) {
    switch (lead) {
        case 0xE0:
            return second >= 0xA0;
        case 0xED:
            return second <= 0x9F;
        case 0xF0:
            return second >= 0x90;
        case 0xF4:
            return second <= 0x8F;
        default:
            return true;
    }
}

bool isUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = sequenceLength(lead);
        if (length == 0 || i + length > text.size()) return false;
        for (int k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        }
        if (length > 1 && !secondByteFits(lead, static_cast<unsigned char>(text[i + 1]))) {
            return false;
        }
        i += length;
    }
    return true;
}

bool hasControl(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return true;
    }
    return false;
}

// Desktop entries are UTF-8 without control characters, and the program's
// own path may not hold "=".
bool canBeProgramPath(const fs::path& path) {
    const std::string& text = path.native();
    return path.is_absolute() && isUtf8(text) && !hasControl(text) &&
           text.find('=') == std::string::npos;
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// Whether a line of the entry group switches the entry off.
bool switchesOff(std::string_view line) {
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) return false;
    const auto key = trim(line.substr(0, equals));
    const auto value = trim(line.substr(equals + 1));
    return (key == "Hidden" && value == "true") ||
           (key == "X-GNOME-Autostart-enabled" && value == "false");
}

// Only keys of the [Desktop Entry] group count.
bool isActiveEntry(std::istream& in) {
    bool inGroup = false;
    bool sawGroup = false;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with('[')) {
            inGroup = line == kGroup;
            sawGroup = sawGroup || inGroup;
        } else if (inGroup && switchesOff(line)) {
            return false;
        }
    }
    return sawGroup;
}

// Missing folders are made owner-only, as the base directory rules ask.
bool makeFolders(const fs::path& folder) {
    fs::path built;
    for (const auto& part : folder) {
        built /= part;
        ::mkdir(built.c_str(), 0700);
    }
    std::error_code error;
    return fs::is_directory(folder, error);
}

bool writeWhole(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

void syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// Written beside the target and renamed over it, so the session sees the old
// entry or the new one, never half of one. The temporary name does not end
// in ".desktop", so a session starting meanwhile ignores it.
bool replaceFile(const fs::path& target, std::string_view bytes) {
    std::string temporary =
        (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return false;
    const bool written = ::fchmod(fd, 0644) == 0 && writeWhole(fd, bytes) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    syncFolder(target.parent_path());
    return true;
}

// Quotes an argument holding a reserved character, and doubles "%" so it
// is not taken for a field code.
std::string quoteArgument(std::string_view argument) {
    constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
    const bool quote = argument.find_first_of(kReserved) != std::string_view::npos;
    std::string quoted = quote ? "\"" : "";
    for (const char c : argument) {
        if (quote && std::string_view("\"`$\\").find(c) != std::string_view::npos) quoted += '\\';
        if (c == '%') quoted += '%';
        quoted += c;
    }
    if (quote) quoted += '"';
    return quoted;
}

// Every string value escapes its backslashes once more, after quoting.
std::string escapeBackslashes(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        if (c == '\\') escaped += '\\';
        escaped += c;
    }
    return escaped;
}

}  // namespace

XdgAutostart::XdgAutostart() : entryPath_(configHome() / "autostart" / kFileName) {}

XdgAutostart::XdgAutostart(fs::path configHome, fs::path executable)
    : entryPath_(std::move(configHome) / "autostart" / kFileName),
      executable_(std::move(executable)) {}

bool XdgAutostart::registerItem() {
    // Read at each registration: after an upgrade in place the path is the
    // new binary's.
    const auto executable = executable_ ? executable_ : runningExecutable();
    if (!executable) return false;
    const auto text = entryText(*executable);
    return text && makeFolders(entryPath_.parent_path()) && replaceFile(entryPath_, *text);
}

bool XdgAutostart::unregisterItem() {
    return ::unlink(entryPath_.c_str()) == 0 || errno == ENOENT;
}

bool XdgAutostart::isRegistered() const {
    std::ifstream in(entryPath_);
    return in && isActiveEntry(in);
}

fs::path XdgAutostart::configHome() {
    return BaseDirectories::configHome();
}

std::optional<fs::path> XdgAutostart::runningExecutable() {
    std::error_code error;
    std::string target = fs::read_symlink("/proc/self/exe", error).native();
    if (error || target.empty()) return std::nullopt;
    // A binary replaced while running reads as "<path> (deleted)"; its
    // successor at the same path is the one to start next time.
    constexpr std::string_view kDeleted = " (deleted)";
    if (target.ends_with(kDeleted)) target.erase(target.size() - kDeleted.size());
    return fs::path(target);
}

std::optional<std::string> XdgAutostart::entryText(const fs::path& executable) {
    if (!canBeProgramPath(executable)) return std::nullopt;
    std::string text(kGroup);
    text += "\nType=Application\n";
    // Named and drawn as in the desktop's menu, so the session's list of
    // programs started at login shows her as the user knows her.
    text += "Name=Zuzi\n";
    text += "Comment=Zuzi, the companion who lives at the top of your screen\n";
    text += "Icon=pelliwig\n";
    // Once the program is removed the session skips the entry instead of
    // failing to start it at every login.
    text += "TryExec=" + escapeBackslashes(executable.native()) + "\n";
    text += "Exec=" + execArgument(executable.native()) + " --login-item\n";
    text += "Terminal=false\n";
    return text;
}

std::string XdgAutostart::execArgument(std::string_view argument) {
    return escapeBackslashes(quoteArgument(argument));
}

}  // namespace pelliwig
