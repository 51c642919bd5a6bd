#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace pelliwig {

// Where the user's calendar files are: Evolution's local calendars
// ($XDG_DATA_HOME/evolution/calendar/*/calendar.ics) and any .ics file the
// user drops or links into $XDG_DATA_HOME/pelliwig/calendars. The walk is
// bounded in depth and in entries; a folder or file reached by several
// paths (links) is taken once, under its first path; only regular files
// count, so a FIFO or a device named like a calendar is never opened.
class IcalCalendarFolders {
public:
    static constexpr int kMaxDepth = 4;
    static constexpr int kMaxEntries = 4096;
    static constexpr int kMaxFiles = 256;

    // A calendar file as its metadata tells: what sets one file apart from
    // another, and a changed file from the one read before.
    struct Found {
        std::filesystem::path path;
        dev_t device = 0;
        ino_t inode = 0;
        std::int64_t modifiedNanoseconds = 0;
        std::uintmax_t size = 0;
    };

    struct Listing {
        std::vector<Found> files;        // in path order
        std::vector<std::string> notes;  // the bounds that cut the walk short
    };

    static Listing find(const std::filesystem::path& dataHome);
    // The folder under a data folder whose .ics files are read.
    static std::filesystem::path droppedFolder(const std::filesystem::path& dataHome);
};

}  // namespace pelliwig
