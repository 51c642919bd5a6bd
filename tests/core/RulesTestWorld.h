#pragma once

// A world for rule tests: settings, memory and a clock at a chosen local time,
// all in memory and virtual time.

#include <optional>
#include <string>
#include <vector>

#include "core/engine/Memory.h"
#include "core/engine/Rules.h"
#include "core/sensors/TickContext.h"
#include "core/settings/Prefs.h"
#include "core/support/Clock.h"
#include "fakes/MemoryStore.h"
#include "fakes/ScriptedRandom.h"
#include "fakes/VirtualScheduler.h"

namespace pelliwig {

class RulesTestWorld {
public:
    // Sets the clock to that local day ("2025-3-7") and minute of the day,
    // forward or back: a fresh scheduler in the same place, so the clock
    // keeps following it.
    void setTime(const std::string& day, int minutes) {
        Instant t = clock.dateFromDayKey(day).value() + minutes * 60.0;
        // On a daylight-saving day the wall clock is an hour off from there.
        t += (minutes - clock.minutesOfDay(t)) * 60.0;
        scheduler.emplace(t);
    }

    // An active user at the current time, fresh stretches, no front app.
    TickContext context() const {
        TickContext c;
        c.now = clock.now();
        c.minutesOfDay = clock.minutesOfDay(c.now);
        c.dayKey = clock.dayKey(c.now);
        c.isActive = true;
        c.streakKey = "1700000000";
        c.frontKey = "-|1700000000";
        return c;
    }

    std::vector<Cue> cues(const TickContext& c) {
        return Rules::cues(c, prefs, memory, clock, random);
    }
    std::vector<Cue> cues() { return cues(context()); }
    std::vector<Cue> herWorld() { return Rules::herWorld(context(), prefs, clock, random); }

    static std::vector<std::string> keys(const std::vector<Cue>& cues) {
        std::vector<std::string> out;
        for (const auto& cue : cues) out.push_back(cue.onceKey.value_or("<none>"));
        return out;
    }

    std::optional<VirtualScheduler> scheduler{std::in_place, 1'600'000'000};
    Clock clock{*scheduler};
    MemoryStore store;
    Prefs prefs{store};
    Memory memory{store, clock};
    ScriptedRandom random;
};

}  // namespace pelliwig
