// What the calendar costs the event loop: one tick's question to the store
// (the window nine to eleven minutes ahead) with big and hostile files, the
// longest a tick waits while the worker is reading a big file again, and
// the memory a big file keeps resident.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "linux/calendar/IcalEventStore.h"

namespace pelliwig {
namespace {

namespace fs = std::filesystem;

// 2026-03-02 08:50 UTC, inside every generated calendar.
constexpr Instant kNow = 1772441400;

std::string stamp(long long seconds) {
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm parts{};
    gmtime_r(&time, &parts);
    char text[20];
    std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &parts);
    return text;
}

// A data folder of its own holding one generated calendar file.
class BenchFolder {
public:
    explicit BenchFolder(const std::function<void(std::ostream&)>& events) {
        std::string pattern = (fs::temp_directory_path() / "calendar-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        folder_ = pattern;
        file_ = folder_ / "pelliwig" / "calendars" / "generated.ics";
        fs::create_directories(file_.parent_path());
        std::ofstream out(file_, std::ios::binary);
        out << "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Bench//EN\r\n";
        events(out);
        out << "END:VCALENDAR\r\n";
    }
    ~BenchFolder() { fs::remove_all(folder_); }
    const fs::path& folder() const { return folder_; }
    const fs::path& file() const { return file_; }

private:
    fs::path folder_;
    fs::path file_;
};

// 100 000 single events of half an hour, one every five minutes around
// now: about 9.5 MB, close to the largest file read.
void manyEvents(std::ostream& out) {
    const long long first = static_cast<long long>(kNow) - 50000LL * 300;
    for (int i = 0; i < 100000; ++i) {
        out << "BEGIN:VEVENT\r\nUID:" << i << "\r\nSUMMARY:E" << i
            << "\r\nDTSTART:" << stamp(first + i * 300LL) << "\r\nDURATION:PT30M\r\nEND:VEVENT\r\n";
    }
}

// 1 000 daily rules since 2000 counting 100 000 occurrences: all still running.
void countedRules(std::ostream& out) {
    for (int i = 0; i < 1000; ++i) {
        out << "BEGIN:VEVENT\r\nUID:rule-" << i << "@bench\r\nSUMMARY:Rule " << i
            << "\r\nDTSTART:" << stamp(946717200LL + i * 60) << "\r\nDURATION:PT30M"
            << "\r\nRRULE:FREQ=DAILY;COUNT=100000\r\nEND:VEVENT\r\n";
    }
}

// The same with counts short enough to follow, most of them ended.
void endedRules(std::ostream& out) {
    for (int i = 0; i < 1000; ++i) {
        out << "BEGIN:VEVENT\r\nUID:ended-" << i << "@bench\r\nSUMMARY:Ended " << i
            << "\r\nDTSTART:" << stamp(946717200LL + i * 60)
            << "\r\nRRULE:FREQ=WEEKLY;COUNT=" << (1 + i % 50) << "\r\nEND:VEVENT\r\n";
    }
}

// 1 000 rules on 30 February.
void impossibleRules(std::ostream& out) {
    for (int i = 0; i < 1000; ++i) {
        out << "BEGIN:VEVENT\r\nUID:never-" << i << "@bench\r\nSUMMARY:Never " << i
            << "\r\nDTSTART:" << stamp(946717200LL + i * 60)
            << "\r\nRRULE:FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=30;COUNT=100000\r\nEND:VEVENT\r\n";
    }
}

void tick(benchmark::State& state, void (*generate)(std::ostream&)) {
    const BenchFolder data(generate);
    std::ostringstream log;
    IcalEventStore store(data.folder(), IcalEventStore::kFileBudget, log);
    store.waitForLook();
    if (store.calendarFiles().empty()) state.SkipWithError("no calendar found");
    std::size_t found = 0;
    for (auto _ : state) {
        const auto events = store.events(kNow + 540, kNow + 660);
        found = events.size();
        benchmark::DoNotOptimize(events.data());
    }
    state.counters["events"] = static_cast<double>(found);
    state.SetLabel(log.str().empty() ? "" : "logged: " + log.str());
}
BENCHMARK_CAPTURE(tick, manyEvents, manyEvents)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(tick, countedRules, countedRules)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(tick, endedRules, endedRules)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(tick, impossibleRules, impossibleRules)->Unit(benchmark::kMicrosecond);

// The worker's side: how long a file takes to be found and read.
void load(benchmark::State& state, void (*generate)(std::ostream&)) {
    const BenchFolder data(generate);
    for (auto _ : state) {
        std::ostringstream log;
        IcalEventStore store(data.folder(), IcalEventStore::kFileBudget, log);
        store.waitForLook();
        benchmark::DoNotOptimize(store.calendarFiles());
    }
}
BENCHMARK_CAPTURE(load, manyEvents, manyEvents)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(load, countedRules, countedRules)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(load, impossibleRules, impossibleRules)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// Ticks while the worker reads the big file again and again: the longest
// single tick is what the event loop may wait.
void tickWhileReading(benchmark::State& state) {
    const BenchFolder data(manyEvents);
    std::ostringstream log;
    IcalEventStore store(data.folder(), IcalEventStore::kFileBudget, log);
    store.waitForLook();
    double longest = 0;
    long long touches = 0;
    for (auto _ : state) {
        // A new modification time makes the next look read the file again.
        const timespec times[2] = {{0, UTIME_OMIT}, {1000000000 + ++touches, 0}};
        ::utimensat(AT_FDCWD, data.file().c_str(), times, 0);
        const auto started = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(store.events(kNow + 540, kNow + 660));
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - started;
        longest = std::max(longest, took.count());
    }
    state.counters["longest_ms"] = longest;
}
BENCHMARK(tickWhileReading)->Unit(benchmark::kMicrosecond)->Iterations(20000);

long long residentKilobytes() {
    std::ifstream statm("/proc/self/statm");
    long long pages = 0;
    long long resident = 0;
    statm >> pages >> resident;
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

// What stays resident once 100 000 events are loaded. Meaningful alone in
// its process (--benchmark_filter=resident): the other benchmarks leave
// memory behind.
void residentAfterLoading(benchmark::State& state) {
    const BenchFolder data(manyEvents);
    for (auto _ : state) {
        const long long before = residentKilobytes();
        std::ostringstream log;
        IcalEventStore store(data.folder(), IcalEventStore::kFileBudget, log);
        store.waitForLook();
        benchmark::DoNotOptimize(store.events(kNow + 540, kNow + 660));
        state.counters["grown_MB"] = static_cast<double>(residentKilobytes() - before) / 1024;
    }
}
BENCHMARK(residentAfterLoading)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace pelliwig
