#include "linux/calendar/IcalEventStore.h"

#include "core/support/BaseDirectories.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

namespace pelliwig {
namespace fs = std::filesystem;

namespace {

// Links inside the drop folder may point at folders; this bounds a loop.
constexpr int kMaxDropDepth = 4;

bool isCalendarName(const fs::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".ics";
}

bool isRegularFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);  // through links
}

// Non-blocking, so a FIFO named like a calendar cannot hang the caller.
int openForReading(const fs::path& path) {
    return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
}

// Reads at most `limit` bytes; nothing when there is more or reading fails.
std::optional<std::string> readAtMost(int fd, std::uintmax_t limit) {
    std::string text;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        if (got == 0) return text;
        text.append(buffer, static_cast<std::size_t>(got));
        if (text.size() > limit) return std::nullopt;
    }
}

}  // namespace

IcalEventStore::IcalEventStore() : IcalEventStore(dataHome()) {}

IcalEventStore::IcalEventStore(fs::path dataHome) : dataHome_(std::move(dataHome)) {
    // A malformed file must never end the program.
    icalerror_set_errors_are_fatal(0);
}

void IcalEventStore::requestAccess(std::function<void(bool granted)> completion) {
    answered_ = anyReadable();
    completion(*answered_);
}

bool IcalEventStore::accessMayHaveChanged() const {
    return answered_ && anyReadable() != *answered_;
}

bool IcalEventStore::anyReadable() const {
    for (const auto& file : calendarFiles()) {
        const int fd = openForReading(file);
        if (fd < 0) continue;
        ::close(fd);
        return true;
    }
    return false;
}

std::vector<CalendarEvent> IcalEventStore::events(Instant from, Instant to) const {
    const auto files = calendarFiles();
    std::erase_if(loaded_, [&](const auto& entry) {
        return !std::binary_search(files.begin(), files.end(), entry.first);
    });
    std::vector<CalendarEvent> found;
    for (const auto& file : files) {
        if (const auto* calendar = current(file)) {
            auto events = calendar->events(from, to);
            found.insert(found.end(), events.begin(), events.end());
        }
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.start < b.start; });
    return found;
}

const IcalCalendarFile* IcalEventStore::current(const fs::path& file) const {
    const int fd = openForReading(file);
    if (fd < 0) {
        // Not remembered: a file made readable again is read at once.
        loaded_.erase(file);
        return nullptr;
    }
    struct stat info {};
    const bool known = ::fstat(fd, &info) == 0;
    const Version version{
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec,
        static_cast<std::uintmax_t>(info.st_size), static_cast<std::uintmax_t>(info.st_ino)};
    if (const auto it = loaded_.find(file);
        known && it != loaded_.end() && it->second.version == version) {
        ::close(fd);
        return it->second.calendar.get();
    }
    std::shared_ptr<const IcalCalendarFile> calendar;
    if (known && S_ISREG(info.st_mode) && version.size <= kMaxFileBytes) {
        if (const auto text = readAtMost(fd, kMaxFileBytes)) {
            calendar = IcalCalendarFile::parse(*text);
        }
    }
    ::close(fd);
    loaded_[file] = Loaded{version, calendar};
    return calendar.get();
}

std::vector<fs::path> IcalEventStore::calendarFiles() const {
    auto files = evolutionFiles();
    auto dropped = droppedFiles();
    files.insert(files.end(), dropped.begin(), dropped.end());
    std::sort(files.begin(), files.end());
    files.erase(std::unique(files.begin(), files.end()), files.end());
    return files;
}

std::vector<fs::path> IcalEventStore::evolutionFiles() const {
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::directory_iterator it(dataHome_ / "evolution" / "calendar", error), end;
         !error && it != end; it.increment(error)) {
        const auto file = it->path() / "calendar.ics";
        if (isRegularFile(file)) files.push_back(file);
    }
    return files;
}

std::vector<fs::path> IcalEventStore::droppedFiles() const {
    std::vector<fs::path> files;
    std::error_code error;
    const auto options = fs::directory_options::follow_directory_symlink |
                         fs::directory_options::skip_permission_denied;
    for (fs::recursive_directory_iterator it(droppedFolder(dataHome_), options, error), end;
         !error && it != end; it.increment(error)) {
        if (it.depth() >= kMaxDropDepth) it.disable_recursion_pending();
        if (isCalendarName(it->path()) && isRegularFile(it->path())) files.push_back(it->path());
    }
    return files;
}

fs::path IcalEventStore::droppedFolder(const fs::path& dataHome) {
    return dataHome / "pelliwig" / "calendars";
}

fs::path IcalEventStore::dataHome() {
    return BaseDirectories::dataHome();
}

}  // namespace pelliwig
