#include "linux/calendar/IcalCalendarLoader.h"

#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

namespace pelliwig {
namespace fs = std::filesystem;

namespace {

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

bool sameVersion(const IcalCalendarFolders::Found& a, const IcalCalendarFolders::Found& b) {
    return a.modifiedNanoseconds == b.modifiedNanoseconds && a.size == b.size;
}

}  // namespace

IcalCalendarLoader::IcalCalendarLoader(fs::path dataHome, std::chrono::milliseconds budget,
                                       std::ostream& log)
    : dataHome_(std::move(dataHome)),
      budget_(budget),
      log_(log),
      snapshot_(std::make_shared<IcalCalendarSnapshot>()),
      requested_(1),  // the first look starts at once
      worker_([this] { run(); }) {}

IcalCalendarLoader::~IcalCalendarLoader() {
    {
        std::lock_guard lock(requestMutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    worker_.join();
}

std::shared_ptr<const IcalCalendarSnapshot> IcalCalendarLoader::snapshot() const {
    std::lock_guard lock(snapshotMutex_);
    return snapshot_;
}

void IcalCalendarLoader::requestLook() {
    {
        std::lock_guard lock(requestMutex_);
        ++requested_;
    }
    wake_.notify_one();
}

void IcalCalendarLoader::waitForLook() {
    std::unique_lock lock(requestMutex_);
    const std::uint64_t wanted = ++requested_;
    wake_.notify_one();
    looked_.wait(lock, [&] { return completed_ >= wanted || stopping_; });
}

void IcalCalendarLoader::run() {
    for (;;) {
        std::uint64_t target = 0;
        {
            std::unique_lock lock(requestMutex_);
            wake_.wait(lock, [&] { return stopping_ || requested_ > completed_; });
            if (stopping_) break;
            target = requested_;
        }
        look();
        {
            std::lock_guard lock(requestMutex_);
            completed_ = target;
        }
        looked_.notify_all();
    }
    looked_.notify_all();
}

void IcalCalendarLoader::look() {
    const auto listing = IcalCalendarFolders::find(dataHome_);
    for (const auto& note : listing.notes) say("the calendar folder holds " + note);
    auto next = std::make_shared<IcalCalendarSnapshot>();
    next->looked = true;
    std::map<FileKey, Loaded> kept;
    bool readAny = false;
    for (const auto& found : listing.files) {
        const FileKey key{found.device, found.inode};
        auto it = loaded_.find(key);
        Loaded entry;
        if (it != loaded_.end() && it->second.readable && sameVersion(it->second.found, found) &&
            ::access(found.path.c_str(), R_OK) == 0) {
            entry = it->second;
        } else {
            entry = load(found);
            readAny = true;
        }
        next->files.push_back(found.path);
        next->anyReadable = next->anyReadable || entry.readable;
        if (entry.file) next->calendars.push_back({found.path, entry.file});
        kept.emplace(key, std::move(entry));
        std::lock_guard lock(requestMutex_);
        if (stopping_) return;
    }
    loaded_ = std::move(kept);  // a file no longer found is forgotten
    std::shared_ptr<const IcalCalendarSnapshot> old;
    {
        std::lock_guard lock(snapshotMutex_);
        old = std::exchange(snapshot_, std::move(next));
    }
    // Only this thread holds a snapshot that is not published and not in use.
    std::erase_if(retired_, [](const auto& retired) { return retired.use_count() == 1; });
    retired_.push_back(std::move(old));
    // A big file's parse leaves freed memory behind that would stay resident.
    if (readAny) ::malloc_trim(0);
    saidLastLook_ = std::move(saidThisLook_);
    saidThisLook_.clear();
}

IcalCalendarLoader::Loaded IcalCalendarLoader::load(const IcalCalendarFolders::Found& found) {
    Loaded loaded{found, nullptr, false};
    // Non-blocking, so a file swapped for a FIFO since the walk cannot hang the worker.
    const int fd = ::open(found.path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return loaded;
    loaded.readable = true;
    struct stat info {};
    std::optional<std::string> text;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
        static_cast<std::uintmax_t>(info.st_size) <= kMaxFileBytes) {
        text = readAtMost(fd, kMaxFileBytes);
    }
    ::close(fd);
    if (!text) {
        say(found.path.string() + " is too big or cannot be read; it is left out");
        return loaded;
    }
    const auto started = std::chrono::steady_clock::now();
    const auto deadline = started + budget_;
    auto parsed = IcalCalendarFile::parse(*text, deadline);
    if (parsed.tooSlow || std::chrono::steady_clock::now() > deadline) {
        say(found.path.string() + " takes too long to read; it is left out until it changes");
        return loaded;
    }
    for (const auto& note : parsed.notes) say(found.path.string() + ": " + note);
    loaded.file = std::move(parsed.file);
    return loaded;
}

// Each line once while it holds, not once a look.
void IcalCalendarLoader::say(const std::string& line) {
    saidThisLook_.insert(line);
    if (saidLastLook_.count(line) == 0) log_ << "calendar: " << line << std::endl;
}

}  // namespace pelliwig
