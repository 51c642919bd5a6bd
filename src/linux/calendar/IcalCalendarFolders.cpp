#include "linux/calendar/IcalCalendarFolders.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <system_error>
#include <utility>

namespace pelliwig {
namespace fs = std::filesystem;

namespace {

bool isCalendarName(const fs::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".ics";
}

// Through links; nothing is opened.
bool statOf(const fs::path& path, struct stat& info) {
    return ::stat(path.c_str(), &info) == 0;
}

IcalCalendarFolders::Found foundOf(const fs::path& path, const struct stat& info) {
    return {path, info.st_dev, info.st_ino,
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec,
            static_cast<std::uintmax_t>(info.st_size)};
}

// One walk of the drop folder, within its bounds.
class Walk {
public:
    explicit Walk(IcalCalendarFolders::Listing& listing) : listing_(listing) {}

    void folder(const fs::path& path, int depth) {
        struct stat info {};
        if (!statOf(path, info) || !S_ISDIR(info.st_mode)) return;
        if (!folders_.insert({info.st_dev, info.st_ino}).second) return;  // seen by another path
        std::vector<fs::path> entries;
        std::error_code error;
        for (fs::directory_iterator it(path, error), end; !error && it != end;
             it.increment(error)) {
            if (++visited_ > IcalCalendarFolders::kMaxEntries) {
                cut("more than " + std::to_string(IcalCalendarFolders::kMaxEntries) +
                    " entries; the rest are not read");
                break;
            }
            entries.push_back(it->path());
        }
        std::sort(entries.begin(), entries.end());
        for (const auto& entry : entries) this->entry(entry, depth);
    }

private:
    void entry(const fs::path& path, int depth) {
        struct stat info {};
        if (!statOf(path, info)) return;  // a broken link
        if (S_ISDIR(info.st_mode)) {
            if (depth + 1 < IcalCalendarFolders::kMaxDepth) folder(path, depth + 1);
            return;
        }
        if (!S_ISREG(info.st_mode) || !isCalendarName(path)) return;
        if (listing_.files.size() >= static_cast<std::size_t>(IcalCalendarFolders::kMaxFiles)) {
            cut("more than " + std::to_string(IcalCalendarFolders::kMaxFiles) +
                " calendar files; the rest are not read");
            return;
        }
        listing_.files.push_back(foundOf(path, info));
    }

    void cut(const std::string& why) {
        if (cut_) return;
        cut_ = true;
        listing_.notes.push_back(why);
    }

    IcalCalendarFolders::Listing& listing_;
    std::set<std::pair<dev_t, ino_t>> folders_;
    int visited_ = 0;
    bool cut_ = false;
};

void addEvolutionFiles(const fs::path& dataHome, std::vector<IcalCalendarFolders::Found>& files) {
    std::error_code error;
    int visited = 0;
    for (fs::directory_iterator it(dataHome / "evolution" / "calendar", error), end;
         !error && it != end && ++visited <= IcalCalendarFolders::kMaxEntries;
         it.increment(error)) {
        const auto file = it->path() / "calendar.ics";
        struct stat info {};
        if (statOf(file, info) && S_ISREG(info.st_mode)) files.push_back(foundOf(file, info));
    }
}

}  // namespace

IcalCalendarFolders::Listing IcalCalendarFolders::find(const fs::path& dataHome) {
    Listing listing;
    Walk(listing).folder(droppedFolder(dataHome), 0);
    addEvolutionFiles(dataHome, listing.files);
    auto& files = listing.files;
    std::sort(files.begin(), files.end(),
              [](const Found& a, const Found& b) { return a.path < b.path; });
    std::set<std::pair<dev_t, ino_t>> seen;
    std::erase_if(files, [&](const Found& file) {
        return !seen.insert({file.device, file.inode}).second;
    });
    return listing;
}

fs::path IcalCalendarFolders::droppedFolder(const fs::path& dataHome) {
    return dataHome / "pelliwig" / "calendars";
}

}  // namespace pelliwig
