#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <vector>

#include "core/platform/EventStore.h"
#include "linux/calendar/IcalCalendarLoader.h"

namespace pelliwig {

// The user's calendars as iCalendar files (see IcalCalendarFolders). The
// files are found and read on a worker thread, again only when they change;
// asking for events answers from the latest calendars read and never waits
// for that work. One that is malformed, too big or too slow to read is left
// out and the others still count.
class IcalEventStore final : public EventStore {
public:
    static constexpr std::uintmax_t kMaxFileBytes = IcalCalendarLoader::kMaxFileBytes;
    static constexpr std::chrono::milliseconds kFileBudget{3000};

    // The calendars of the user's data folder.
    IcalEventStore();
    // The calendars under `dataHome`; for tests.
    explicit IcalEventStore(std::filesystem::path dataHome,
                            std::chrono::milliseconds budget = kFileBudget,
                            std::ostream& log = std::cerr);

    // Granted at once when at least one calendar file could be read at the
    // last look; a first look not done yet refuses, and the change is then
    // told by accessMayHaveChanged.
    void requestAccess(std::function<void(bool granted)> completion) override;
    // True when that answer would now differ from the last one given: the
    // calendar folders gained a readable file, or lost the last one.
    bool accessMayHaveChanged() const override;
    // Sorted by start; files in path order for equal starts. Each call also
    // asks for another look at the folders, seen by a later call.
    std::vector<CalendarEvent> events(Instant from, Instant to) const override;

    // The calendar files found at the last look, in path order.
    std::vector<std::filesystem::path> calendarFiles() const;
    // Waits for a look at the folders that starts after this call.
    void waitForLook() const { loader_->waitForLook(); }

    // $XDG_DATA_HOME when it is an absolute path, otherwise $HOME/.local/share.
    static std::filesystem::path dataHome();
    // The folder under a data folder whose .ics files are read.
    static std::filesystem::path droppedFolder(const std::filesystem::path& dataHome);

private:
    std::unique_ptr<IcalCalendarLoader> loader_;
    std::optional<bool> answered_;  // the last answer to requestAccess
};

}  // namespace pelliwig
