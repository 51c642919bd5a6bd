#pragma once

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "SimPorts.h"
#include "SimReport.h"
#include "SimScript.h"
#include "core/engine/Pause.h"
#include "core/engine/ReminderEngine.h"
#include "core/notch/NotchController.h"
#include "core/platform/KeyValueStore.h"
#include "core/settings/Prefs.h"
#include "fakes/FakeSensors.h"
#include "fakes/FixedScreens.h"
#include "fakes/SeededRandom.h"
#include "fakes/VirtualScheduler.h"

namespace pelliwig::sim {

struct Options {
    bool jsonl = false;
    bool explain = false;
    unsigned long long seed = 1;
    std::optional<std::string> storePath;  // none: a fresh store in memory
    std::optional<Instant> until;          // none: the last line's time
};

// The store a replay runs on: the SQLite file at the path, or a fresh one in
// memory.
std::unique_ptr<KeyValueStore> openStore(const std::optional<std::string>& path);

// Her whole application, the real engine and notch controller, on scripted
// sensors and a virtual clock, replaying a script on `store` and reporting
// every event at the notch.
class SimWorld {
public:
    SimWorld(const Options& options, std::ostream& out, KeyValueStore& store);
    ~SimWorld();

    // Plays the commands (sorted by time) from the first line's time. Throws
    // ScriptError for an answer that no button on show can give.
    void run(const std::vector<Command>& commands);

private:
    void launch();
    void quit();
    void observe();
    ReminderEngine::Trace trace();
    bool beforeLaunch(const Command& command) const;
    void apply(const Command& command);
    void applyToSensors(const Command& command);
    void applyToApp(const Command& command);
    void press(const Command& command);
    void applyPause(const Command& command);
    void pointerTo(double offset);

    Options options_;
    SimReport report_;
    VirtualScheduler scheduler_;
    SeededRandom random_;
    KeyValueStore& store_;
    Prefs prefs_;
    Clock clock_{scheduler_};
    Pause pause_{prefs_, clock_};
    SimIdleTime idle_{scheduler_};
    FakeSensors sensors_;
    SimEventStore events_;
    FixedScreens screens_;
    NullSurface surface_;
    std::unique_ptr<NotchController> notch_;
    std::unique_ptr<ReminderEngine> engine_;
    std::vector<Connection> observers_;
    bool timedOut_ = false;  // the dismissal that follows a time-out is part of it
};

}  // namespace pelliwig::sim
