#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <ostream>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "linux/calendar/IcalCalendarFile.h"
#include "linux/calendar/IcalCalendarFolders.h"

namespace pelliwig {

// The calendars as one look at the folders found them. Never changed once
// published: a newer look publishes a new one.
struct IcalCalendarSnapshot {
    struct Calendar {
        std::filesystem::path path;
        std::shared_ptr<const IcalCalendarFile> file;
    };
    std::vector<Calendar> calendars;           // the usable ones, in path order
    std::vector<std::filesystem::path> files;  // every calendar file found, in path order
    bool anyReadable = false;
    bool looked = false;  // false until the first look is done
};

// Looks at the calendar folders on its own thread whenever asked, reads the
// files that changed since the last look (by metadata, each file once by
// device and inode) and publishes what it found. Asking never waits for the
// work, and reading the latest snapshot only waits for a pointer copy.
class IcalCalendarLoader {
public:
    static constexpr std::uintmax_t kMaxFileBytes = 10 * 1024 * 1024;

    // `budget` bounds the time one file may take; a file that takes longer
    // is left out until it changes.
    IcalCalendarLoader(std::filesystem::path dataHome, std::chrono::milliseconds budget,
                       std::ostream& log);
    ~IcalCalendarLoader();
    IcalCalendarLoader(const IcalCalendarLoader&) = delete;
    IcalCalendarLoader& operator=(const IcalCalendarLoader&) = delete;

    std::shared_ptr<const IcalCalendarSnapshot> snapshot() const;
    // Asks for another look; returns at once.
    void requestLook();
    // Asks for another look and waits until it is published.
    void waitForLook();

private:
    using FileKey = std::pair<dev_t, ino_t>;
    struct Loaded {
        IcalCalendarFolders::Found found;
        std::shared_ptr<const IcalCalendarFile> file;  // none: unusable
        bool readable = false;
    };

    void run();
    void look();
    Loaded load(const IcalCalendarFolders::Found& found);
    void say(const std::string& line);

    const std::filesystem::path dataHome_;
    const std::chrono::milliseconds budget_;
    std::ostream& log_;

    mutable std::mutex snapshotMutex_;  // held only to copy or swap the pointer
    std::shared_ptr<const IcalCalendarSnapshot> snapshot_;

    std::mutex requestMutex_;  // never held while looking
    std::condition_variable wake_;
    std::condition_variable looked_;
    std::uint64_t requested_ = 0;
    std::uint64_t completed_ = 0;
    bool stopping_ = false;

    // The worker's own.
    std::map<FileKey, Loaded> loaded_;
    // Snapshots replaced but perhaps still being read: freeing a big one
    // takes milliseconds, which must not fall to the thread that read it last.
    std::vector<std::shared_ptr<const IcalCalendarSnapshot>> retired_;
    std::set<std::string> saidLastLook_;
    std::set<std::string> saidThisLook_;

    std::thread worker_;  // last, so it starts after everything it uses
};

}  // namespace pelliwig
