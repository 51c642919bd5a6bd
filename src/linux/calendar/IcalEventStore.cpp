#include "linux/calendar/IcalEventStore.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "linux/calendar/IcalCalendarFolders.h"

namespace pelliwig {
namespace fs = std::filesystem;

namespace {

fs::path homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir) return user->pw_dir;
    return {};
}

}  // namespace

IcalEventStore::IcalEventStore() : IcalEventStore(dataHome()) {}

IcalEventStore::IcalEventStore(fs::path dataHome, std::chrono::milliseconds budget,
                               std::ostream& log) {
    // A malformed file must never end the program.
    icalerror_set_errors_are_fatal(0);
    loader_ = std::make_unique<IcalCalendarLoader>(std::move(dataHome), budget, log);
}

void IcalEventStore::requestAccess(std::function<void(bool granted)> completion) {
    loader_->requestLook();
    answered_ = loader_->snapshot()->anyReadable;
    completion(*answered_);
}

bool IcalEventStore::accessMayHaveChanged() const {
    loader_->requestLook();
    return answered_ && loader_->snapshot()->anyReadable != *answered_;
}

std::vector<CalendarEvent> IcalEventStore::events(Instant from, Instant to) const {
    loader_->requestLook();
    const auto snapshot = loader_->snapshot();
    std::vector<CalendarEvent> found;
    for (const auto& calendar : snapshot->calendars) {
        auto events = calendar.file->events(from, to);
        found.insert(found.end(), events.begin(), events.end());
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.start < b.start; });
    return found;
}

std::vector<fs::path> IcalEventStore::calendarFiles() const {
    return loader_->snapshot()->files;
}

fs::path IcalEventStore::droppedFolder(const fs::path& dataHome) {
    return IcalCalendarFolders::droppedFolder(dataHome);
}

fs::path IcalEventStore::dataHome() {
    // A relative value is invalid and ignored, as the base directory rules say.
    if (const char* value = std::getenv("XDG_DATA_HOME"); value && fs::path(value).is_absolute()) {
        return value;
    }
    return homeFolder() / ".local" / "share";
}

}  // namespace pelliwig
