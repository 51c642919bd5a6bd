#include "linux/hardware/ProcMediaDevices.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string_view>

namespace pelliwig {
namespace {

constexpr std::string_view kVideoNode = "/dev/video";
constexpr std::string_view kRunning = "state: RUNNING";

// A directory listing that closes itself; holds no listing when the folder
// cannot be opened.
class Listing {
public:
    Listing(int parentFd, const char* path)
        : dir_(openDir(openat(parentFd, path, O_RDONLY | O_DIRECTORY | O_CLOEXEC))) {}
    Listing(const Listing&) = delete;
    Listing& operator=(const Listing&) = delete;
    ~Listing() {
        if (dir_) closedir(dir_);
    }

    explicit operator bool() const { return dir_ != nullptr; }
    int fd() const { return dirfd(dir_); }
    // The next entry other than "." and "..", or null at the end.
    const dirent* next() {
        while (const dirent* entry = readdir(dir_)) {
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
                return entry;
            }
        }
        return nullptr;
    }

private:
    static DIR* openDir(int fd) {
        if (fd < 0) return nullptr;
        DIR* dir = fdopendir(fd);
        if (!dir) close(fd);
        return dir;
    }

    DIR* dir_;
};

bool allDigits(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// "prefix" followed by a number, as in "card0" or "sub12".
bool numbered(std::string_view name, std::string_view prefix) {
    return name.starts_with(prefix) && allDigits(name.substr(prefix.size()));
}

bool mayBeFolder(const dirent& entry) {
    return entry.d_type == DT_DIR || entry.d_type == DT_UNKNOWN;
}

bool isVideoNode(std::string_view target) {
    return target.starts_with(kVideoNode) && target.size() > kVideoNode.size() &&
           allDigits(target.substr(kVideoNode.size(), 1));
}

// Whether one process holds a video node open. A process that ended or
// belongs to someone else has an unreadable fd folder and counts as no.
bool holdsVideoNode(int procFd, std::string_view pid) {
    char path[32];
    if (pid.size() > 20) return false;
    std::snprintf(path, sizeof path, "%.*s/fd", static_cast<int>(pid.size()), pid.data());
    Listing fds(procFd, path);
    if (!fds) return false;
    char target[32];  // long enough to tell "/dev/videoN" from anything else
    while (const dirent* entry = fds.next()) {
        const ssize_t length = readlinkat(fds.fd(), entry->d_name, target, sizeof target);
        if (length > 0 && isVideoNode({target, static_cast<std::size_t>(length)})) return true;
    }
    return false;
}

// Whether a substream's status file says it is running (a closed substream
// reads "closed"); nothing when there is no status to read.
std::optional<bool> substreamRunning(int subFd) {
    const int fd = openat(subFd, "status", O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    char text[kRunning.size()];
    const ssize_t length = read(fd, text, sizeof text);
    close(fd);
    if (length < 0) return std::nullopt;
    return std::string_view(text, static_cast<std::size_t>(length)) == kRunning;
}

bool isCapturePcm(std::string_view name) {
    return name.starts_with("pcm") && name.ends_with('c') &&
           allDigits(name.substr(3, name.size() - 4));
}

// Folds one stream's answer into the answer so far: running wins, idle beats
// nothing.
void fold(std::optional<bool>& result, std::optional<bool> answer) {
    if (answer && !result.value_or(false)) result = answer;
}

// Over the substreams of one capture device: true when one runs, false when
// all are idle, nothing when none could be read.
std::optional<bool> pcmCapturing(int cardFd, const char* pcm) {
    Listing subs(cardFd, pcm);
    std::optional<bool> result;
    while (subs && !result.value_or(false)) {
        const dirent* entry = subs.next();
        if (!entry) break;
        if (!numbered(entry->d_name, "sub")) continue;
        Listing sub(subs.fd(), entry->d_name);
        if (sub) fold(result, substreamRunning(sub.fd()));
    }
    return result;
}

// The same over every capture device of one sound card.
std::optional<bool> cardCapturing(int asoundFd, const char* card) {
    Listing pcms(asoundFd, card);
    std::optional<bool> result;
    while (pcms && !result.value_or(false)) {
        const dirent* entry = pcms.next();
        if (!entry) break;
        if (isCapturePcm(entry->d_name)) fold(result, pcmCapturing(pcms.fd(), entry->d_name));
    }
    return result;
}

}  // namespace

ProcMediaDevices::ProcMediaDevices(const std::filesystem::path& procRoot)
    : procRoot_(procRoot.string()), asoundRoot_((procRoot / "asound").string()) {}

std::vector<std::optional<bool>> ProcMediaDevices::cameras() const {
    const auto open = anyVideoDeviceOpen();
    if (!open) return {};
    return {open};
}

std::optional<bool> ProcMediaDevices::defaultInputRunning() const {
    return anyCaptureRunning();
}

std::optional<bool> ProcMediaDevices::anyVideoDeviceOpen() const {
    Listing processes(AT_FDCWD, procRoot_.c_str());
    if (!processes) return std::nullopt;
    while (const dirent* entry = processes.next()) {
        if (mayBeFolder(*entry) && allDigits(entry->d_name) &&
            holdsVideoNode(processes.fd(), entry->d_name)) {
            return true;
        }
    }
    return false;
}

std::optional<bool> ProcMediaDevices::anyCaptureRunning() const {
    Listing cards(AT_FDCWD, asoundRoot_.c_str());
    std::optional<bool> result;
    while (cards && !result.value_or(false)) {
        const dirent* entry = cards.next();
        if (!entry) break;
        if (numbered(entry->d_name, "card")) fold(result, cardCapturing(cards.fd(), entry->d_name));
    }
    return result;
}

}  // namespace pelliwig
