// What her heartbeat costs: one engine tick on the real SQLite store, a
// whole year of workdays replayed by pelliwig-sim, and 400 days of them in
// one run.
//
// Goals on the reference machine: a tick well under 100 microseconds, a
// year in under 60 seconds, 400 days in one run in proportion to the year.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "core/engine/ReminderEngine.h"
#include "core/notch/NotchController.h"
#include "core/settings/Prefs.h"
#include "core/settings/SqliteStore.h"
#include "fakes/FakeSensors.h"
#include "fakes/FixedScreens.h"
#include "fakes/RecordingSurface.h"
#include "fakes/ScriptedEventStore.h"
#include "fakes/ScriptedIdleTime.h"
#include "fakes/SeededRandom.h"
#include "fakes/VirtualScheduler.h"

namespace pelliwig {
namespace {

namespace fs = std::filesystem;

fs::path scratchDir() {
    const fs::path dir =
        fs::temp_directory_path() / ("pelliwig-engine-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    return dir;
}

// Her whole application on the real store, with every default kind on and
// a user busy in an editor: each tick reads the settings, runs the rules
// and now and then shows, records and stores.
struct EngineOnDisk {
    fs::path dir = scratchDir();
    SqliteStore store{dir / "defaults.sqlite"};
    Prefs prefs{store};
    VirtualScheduler scheduler{1768204800};  // Monday 2026-01-12 09:00 in Berlin
    SeededRandom random{1};
    ScriptedIdleTime idle;
    ScriptedEventStore events;
    FakeSensors sensors;
    FixedScreens screens{{Screen{.name = "desk", .frame = {0, 0, 1920, 1080}}}, 27};
    RecordingSurface surface;
    NotchController notch{scheduler, screens, surface};
    std::optional<ReminderEngine> engine;

    EngineOnDisk() {
        sensors.front.current = "Xcode";
        sensors.power.battery(80, false);
        engine.emplace(notch, prefs, sensors.ports(scheduler, random, store, idle, events));
    }
    ~EngineOnDisk() {
        engine.reset();
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }
};

// One 30-second step of virtual time: the tick and whatever it set going
// (a moment's time-out, the dismissal steps). The clock runs on through
// days and nights, so the ticks cover quiet ones and busy ones alike. Most
// ticks write nothing; about one in four stores the memory, and those wait
// for the disk, so the median is the figure to read, with the mean beside it.
void BM_Tick(benchmark::State& state) {
    EngineOnDisk world;
    std::vector<double> seconds;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        world.scheduler.advance(ReminderEngine::kTickSeconds);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        seconds.push_back(took.count());
    }
    std::ranges::nth_element(seconds, seconds.begin() + seconds.size() / 2);
    state.counters["median_us"] = seconds[seconds.size() / 2] * 1e6;
    state.SetLabel("real SQLite store");
}
BENCHMARK(BM_Tick)->Unit(benchmark::kMicrosecond)->UseManualTime()->MinTime(2);

// What her menu and a status bar ask when they open or poll: the outlook
// over the real store, an hour into a working morning. It reads the settings
// and the sensors but changes nothing, so every iteration asks the same.
void BM_Outlook(benchmark::State& state) {
    EngineOnDisk world;
    world.scheduler.advance(3600);
    for (auto _ : state) benchmark::DoNotOptimize(world.engine->outlook());
    state.SetLabel("real SQLite store");
}
BENCHMARK(BM_Outlook)->Unit(benchmark::kMicrosecond);

// The same workday every day for `days` days from Monday 2026-01-05: at the
// desk, lunch in the browser, back to work, a video in the evening, dinner,
// late work.
std::string workdays(int days) {
    std::string script =
        "2026-01-05 08:50  set language \"english\"\n"
        "2026-01-05 08:50  app Xcode\n";
    static constexpr const char* kDay[] = {
        " 09:00  active", " 12:45  app Safari", " 13:30  app Xcode", " 18:30  app YouTube",
        " 19:00  idle",   " 19:30  active",     " 19:35  app Xcode", " 23:30  idle",
    };
    static constexpr int kDaysIn[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int year = 2026, month = 1, date = 5;
    for (int i = 0; i < days; ++i) {
        char prefix[40];
        std::snprintf(prefix, sizeof prefix, "%04d-%02d-%02d", year, month, date);
        for (const char* line : kDay) script += std::string(prefix) + line + "\n";
        if (++date > kDaysIn[month - 1]) {
            date = 1;
            if (++month > 12) month = 1, ++year;
        }
    }
    return script;
}

// Next to this program in the build tree.
fs::path simulator() {
    return fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "tools" / "sim" /
           "pelliwig-sim";
}

// Seconds of CPU the finished children of this process have used.
double childCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The wall time of the real program, start to exit, output discarded, and
// the CPU it used (counter cpu_s).
void replayWorkdays(benchmark::State& state, int days) {
    const fs::path sim = simulator();
    if (!fs::exists(sim)) {
        state.SkipWithError("pelliwig-sim is not built");
        return;
    }
    const fs::path dir = scratchDir();
    const fs::path script = dir / "workdays.sim";
    std::ofstream(script) << workdays(days);
    const std::string command =
        "'" + sim.string() + "' --tz Europe/Berlin --seed 1 '" + script.string() + "' > /dev/null";
    const double cpuBefore = childCpuSeconds();
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("pelliwig-sim failed");
            break;
        }
    }
    state.counters["cpu_s"] = childCpuSeconds() - cpuBefore;
    std::error_code ignored;
    fs::remove_all(dir, ignored);
    state.SetLabel(std::to_string(days) + " workdays, one run");
}

void BM_YearReplay(benchmark::State& state) {
    replayWorkdays(state, 365);
}
BENCHMARK(BM_YearReplay)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// Months on end without a restart: every once-key she shows goes into the
// fired log, which must not grow with the days (nor its every save cost).
// The simulator plays a script twice (a rehearsal, then for real), so the
// engine runs 800 days here.
void BM_ContinuousReplay400Days(benchmark::State& state) {
    replayWorkdays(state, 400);
}
BENCHMARK(BM_ContinuousReplay400Days)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace
}  // namespace pelliwig
