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

void readEverySetting(Prefs& p) {
    benchmark::DoNotOptimize(p.hasOnboarded.get());
    benchmark::DoNotOptimize(p.language.get());
    benchmark::DoNotOptimize(p.appearance.get());
    benchmark::DoNotOptimize(p.enabledKinds.get());
    benchmark::DoNotOptimize(p.quietStart.get());
    benchmark::DoNotOptimize(p.quietEnd.get());
    benchmark::DoNotOptimize(p.minGap.get());
    benchmark::DoNotOptimize(p.showSeconds.get());
    benchmark::DoNotOptimize(p.bedtime.get());
    benchmark::DoNotOptimize(p.callTime.get());
    benchmark::DoNotOptimize(p.breakEvery.get());
    benchmark::DoNotOptimize(p.waterEvery.get());
    benchmark::DoNotOptimize(p.appTimeLimit.get());
    benchmark::DoNotOptimize(p.birthday.get());
    benchmark::DoNotOptimize(p.anniversary.get());
    benchmark::DoNotOptimize(p.customReminders.get());
    benchmark::DoNotOptimize(p.countdowns.get());
    benchmark::DoNotOptimize(p.specialDates.get());
    benchmark::DoNotOptimize(p.taughtLines.get());
    benchmark::DoNotOptimize(p.photoFolder.get());
    benchmark::DoNotOptimize(p.bigDay.get());
    benchmark::DoNotOptimize(p.bigDayLabel.get());
    benchmark::DoNotOptimize(p.roastLevel.get());
    benchmark::DoNotOptimize(p.watchedBuckets.get());
    benchmark::DoNotOptimize(p.idlePeeks.get());
    benchmark::DoNotOptimize(p.sleepInNotch.get());
    benchmark::DoNotOptimize(p.surprisesPerWeek.get());
}

void BM_ReadAll27Settings(benchmark::State& state) {
    FilledStore filled;
    for (auto _ : state) readEverySetting(filled.prefs);
}
BENCHMARK(BM_ReadAll27Settings)->Unit(benchmark::kMicrosecond);

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
void BM_StoreReadOnly27(benchmark::State& state) {
    FilledStore filled;
    const auto keys = filled.prefs.keys();
    for (auto _ : state) {
        for (const auto& key : keys) benchmark::DoNotOptimize(filled.store.read(key));
    }
}
BENCHMARK(BM_StoreReadOnly27)->Unit(benchmark::kMicrosecond);
}  // namespace
}  // namespace pelliwig
