// Cost of reading settings from the real SQLite store, as the engine does on
// every tick, and of the clock's calendar work.
#include <unistd.h>
#include <filesystem>

#include <benchmark/benchmark.h>

#include "core/settings/Prefs.h"
#include "core/settings/SqliteStore.h"
#include "fakes/VirtualScheduler.h"

namespace pelliwig {
namespace {

namespace fs = std::filesystem;

// A store holding a realistic value for every setting.
struct FilledStore {
    fs::path dir = fs::temp_directory_path() / ("pelliwig-bench-" + std::to_string(getpid()));
    SqliteStore store{dir / "defaults.sqlite"};
    Prefs prefs{store};

    FilledStore() {
        prefs.forEach([](auto& cell) { cell.set(cell.fallback()); });
        prefs.hasOnboarded.set(true);
        prefs.language.set(Language::english);
        prefs.appearance.set(Appearance::zuzi);
        prefs.setEnabled(ReminderKind::photo, true);
        prefs.quietStart.set(60);
        prefs.quietEnd.set(480);
        prefs.minGap.set(25);
        prefs.showSeconds.set(9.5);
        prefs.bedtime.set(1380);
        prefs.callTime.set(1080);
        prefs.breakEvery.set(50);
        prefs.waterEvery.set(80);
        prefs.appTimeLimit.set(100);
        prefs.birthday.set(MonthDay{3, 7});
        prefs.anniversary.set(MonthDay{11, 2});
        prefs.customReminders.set({CustomReminder{Uuid::random(), "Stand up", 600, true},
                                   CustomReminder{Uuid::random(), "Pills", 1260, true}});
        prefs.countdowns.set({Countdown{Uuid::random(), "Goa", 8e8}});
        prefs.specialDates.set({SpecialDate{Uuid::random(), "Diwali", MonthDay{11, 1}}});
        prefs.taughtLines.set({TaughtLine{Uuid::random(), "You've got this"}});
        prefs.photoFolder.set(std::string("/home/me/Pictures/us"));
        prefs.bigDay.set(8e8);
        prefs.bigDayLabel.set("Launch");
        prefs.roastLevel.set(RoastLevel::savage);
        prefs.watchedBuckets.set(watchedBuckets());
        prefs.idlePeeks.set(true);
        prefs.sleepInNotch.set(false);
        prefs.surprisesPerWeek.set(4);
    }
    ~FilledStore() { fs::remove_all(dir); }
};

void readEverySetting(const Prefs& p) {
    p.forEach([](const auto& cell) { benchmark::DoNotOptimize(cell.get()); });
}

void BM_ReadAllSettings(benchmark::State& state) {
    FilledStore filled;
    for (auto _ : state) readEverySetting(filled.prefs);
}
BENCHMARK(BM_ReadAllSettings)->Unit(benchmark::kMicrosecond);

void BM_ClockDayKey(benchmark::State& state) {
    VirtualScheduler scheduler(1.7e9);
    Clock clock(scheduler);
    for (auto _ : state) benchmark::DoNotOptimize(clock.dayKey(scheduler.now()));
}
BENCHMARK(BM_ClockDayKey)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pelliwig

namespace pelliwig {
namespace {
void BM_StoreReadOnlyAll(benchmark::State& state) {
    FilledStore filled;
    const auto keys = filled.prefs.keys();
    for (auto _ : state) {
        for (const auto& key : keys) benchmark::DoNotOptimize(filled.store.read(key));
    }
}
BENCHMARK(BM_StoreReadOnlyAll)->Unit(benchmark::kMicrosecond);
}  // namespace
}  // namespace pelliwig
