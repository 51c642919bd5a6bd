#pragma once

// A world for engine tests: the real engine, notch controller, settings and
// sensors over scripted ports, in virtual time, in Berlin. The engine can be
// stopped and started again on the same store, like a relaunch.

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/engine/ReminderEngine.h"
#include "core/notch/NotchController.h"
#include "core/settings/Prefs.h"
#include "fakes/FakeSensors.h"
#include "fakes/FixedScreens.h"
#include "fakes/MemoryStore.h"
#include "fakes/RecordingSurface.h"
#include "fakes/ScriptedEventStore.h"
#include "fakes/ScriptedIdleTime.h"
#include "fakes/ScriptedRandom.h"
#include "fakes/VirtualScheduler.h"
#include "support/TestTime.h"

namespace pelliwig {

// A local time in Berlin in January 2026, an hour ahead of UTC; 2026-01-12 is
// a Monday.
inline Instant berlin(int day, int hour, int minute = 0) {
    return testing::utc(2026, 1, day, hour - 1, minute);
}

class ReminderEngineWorld : public FakeSensors {
public:
    // Starts the clock at that UTC time with a calm user: only the kinds a test
    // enables, no surprises, no idle peeks, every random draw 0.99 (no dice
    // comes up), English lines. The engine is not started yet.
    explicit ReminderEngineWorld(Instant start) : scheduler(start) {
        prefs.enabledKinds.set({});
        prefs.surprisesPerWeek.set(0);
        prefs.idlePeeks.set(false);
        prefs.language.set(Language::english);
    }

    // Traced from its first tick: every presentation is kept, every verdict
    // goes to onGated if set.
    ReminderEngine& start() {
        ReminderEngine::Trace trace;
        trace.presented = [this](const ReminderEngine::Presentation& p) {
            presentations.push_back(p);
        };
        trace.gated = [this](const Cue& cue, ReminderEngine::Gate gate) {
            if (onGated) onGated(cue, gate);
        };
        engine.emplace(notch, prefs, ports(), std::move(trace));
        return *engine;
    }
    void stop() { engine.reset(); }

    ReminderEngine::Ports ports() {
        return FakeSensors::ports(scheduler, random, store, idle, events);
    }

    void enable(std::initializer_list<ReminderKind> kinds) {
        for (auto kind : kinds) prefs.setEnabled(kind, true);
    }

    const NotchModel& model() const { return notch.model(); }
    std::optional<Moment> shown() const {
        if (!model().isShown()) return std::nullopt;
        return model().moment();
    }
    std::optional<ReminderKind> shownKind() const {
        const auto m = shown();
        return m ? std::optional(m->kind) : std::nullopt;
    }

    // Rests the pointer in the notch, long enough for her to come out.
    void pointerIntoNotch() {
        const Rect n = notch.geometry()->notchRect;
        pointer.moveTo(n.midX(), n.midY());
        scheduler.advance(HoverMonitor::kEntryDelay);
    }
    void pointerAt(double offset) {
        const Rect n = notch.geometry()->notchRect;
        pointer.moveTo(n.midX() + offset, n.midY());
    }
    void pointerAway() {
        pointer.moveTo(5, 800);
        scheduler.advance(HoverMonitor::kExitDelay);
    }

    static Cue cue(ReminderKind kind, std::optional<std::string> onceKey = std::nullopt,
                   MomentStyle style = MomentStyle::normal) {
        return Cue{kind, std::move(onceKey), std::nullopt, style, std::nullopt, std::nullopt};
    }

    VirtualScheduler scheduler;
    ScriptedRandom random = ScriptedRandom({}, 0.99);
    MemoryStore store;
    Prefs prefs{store};
    ScriptedIdleTime idle;
    ScriptedEventStore events;
    FixedScreens screens{{Screen{.name = "desk", .frame = {0, 0, 1920, 1080}}}, 27};
    RecordingSurface surface;
    NotchController notch{scheduler, screens, surface};
    std::optional<ReminderEngine> engine;
    std::vector<ReminderEngine::Presentation> presentations;
    std::function<void(const Cue&, ReminderEngine::Gate)> onGated;
};

}  // namespace pelliwig
