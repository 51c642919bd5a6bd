#pragma once

#include "core/engine/ReminderEngine.h"
#include "fakes/ScriptedDoNotDisturb.h"
#include "fakes/ScriptedFrontApp.h"
#include "fakes/ScriptedFullScreen.h"
#include "fakes/ScriptedMediaDevices.h"
#include "fakes/ScriptedPointerEvents.h"
#include "fakes/ScriptedPowerSources.h"

namespace pelliwig {

// A scripted fake of each sensor the engine reads, for everything that runs
// the real engine without a desktop: its tests, the simulator, the soak and
// the benchmarks. A new port of the engine gets its fake here, once.
struct FakeSensors {
    ScriptedFrontApp front;
    ScriptedPowerSources power;
    ScriptedMediaDevices media;
    ScriptedPointerEvents pointer;
    ScriptedDoNotDisturb doNotDisturb;
    ScriptedFullScreen fullScreen;

    // The engine's ports over these sensors, with the time, the chance, the
    // store, the idle time and the calendar that each user of them chooses.
    ReminderEngine::Ports ports(Scheduler& scheduler, Random& random, KeyValueStore& store,
                                const IdleTime& idle, EventStore& events) {
        return {.scheduler = scheduler,
                .random = random,
                .store = store,
                .idle = idle,
                .front = front,
                .power = power,
                .media = media,
                .events = events,
                .pointer = pointer,
                .doNotDisturb = doNotDisturb,
                .fullScreen = fullScreen};
    }
};

}  // namespace pelliwig
