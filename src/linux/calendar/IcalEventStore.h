#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "core/platform/EventStore.h"
#include "linux/calendar/IcalCalendarFile.h"

namespace pelliwig {

// The user's calendars as iCalendar files: Evolution's local calendars
// ($XDG_DATA_HOME/evolution/calendar/*/calendar.ics) and any .ics file the
// user drops or links into $XDG_DATA_HOME/pelliwig/calendars. A file is
// parsed again only when it changed; one that is malformed or too big is
// skipped and the others still count.
class IcalEventStore final : public EventStore {
public:
    static constexpr std::uintmax_t kMaxFileBytes = 10 * 1024 * 1024;

    // The calendars of the user's data folder.
    IcalEventStore();
    // The calendars under `dataHome`; for tests.
    explicit IcalEventStore(std::filesystem::path dataHome);

    // Granted at once when at least one calendar file can be read now.
    void requestAccess(std::function<void(bool granted)> completion) override;
    // True when that answer would now differ from the last one given: the
    // calendar folders gained a readable file, or lost the last one.
    bool accessMayHaveChanged() const override;
    // Sorted by start; files in path order for equal starts.
    std::vector<CalendarEvent> events(Instant from, Instant to) const override;

    // The calendar files present now, in path order.
    std::vector<std::filesystem::path> calendarFiles() const;

    // $XDG_DATA_HOME when it is an absolute path, otherwise $HOME/.local/share.
    static std::filesystem::path dataHome();
    // The folder under a data folder whose .ics files are read.
    static std::filesystem::path droppedFolder(const std::filesystem::path& dataHome);

private:
    // What tells a changed file from the one read before.
    struct Version {
        std::int64_t modifiedNanoseconds = 0;
        std::uintmax_t size = 0;
        std::uintmax_t inode = 0;
        bool operator==(const Version&) const = default;
    };
    struct Loaded {
        Version version;
        std::shared_ptr<const IcalCalendarFile> calendar;  // none: unusable
    };

    bool anyReadable() const;
    const IcalCalendarFile* current(const std::filesystem::path& file) const;
    std::vector<std::filesystem::path> evolutionFiles() const;
    std::vector<std::filesystem::path> droppedFiles() const;

    std::filesystem::path dataHome_;
    mutable std::map<std::filesystem::path, Loaded> loaded_;
    std::optional<bool> answered_;  // the last answer to requestAccess
};

}  // namespace pelliwig
