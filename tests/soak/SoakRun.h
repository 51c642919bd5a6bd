#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/support/Instant.h"

namespace pelliwig::soak {

struct SoakOptions {
    unsigned long long seed = 1;
    int days = 365;
    // The SQLite file she keeps; replaced by a fresh one at the start.
    std::filesystem::path store;
};

struct SoakFigures {
    int days = 0;
    int shown = 0;      // cues the gate let through
    int presented = 0;  // moments handed to the notch, peeks and reactions included
    int answers = 0;
    int restarts = 0;
    int zoneChanges = 0;
    int clockJumps = 0;
    int pauses = 0;
    int settingsChanges = 0;
    std::size_t largestMemory = 0;    // bytes of the stored memory document
    std::size_t largestFiredLog = 0;  // entries of the stored fired log
    std::vector<std::string> problems;
};

// A seeded random stretch of days of her life: the user comes and goes,
// switches applications, takes calls, runs the battery down, answers her or
// not, changes settings (now and then to bytes that mean nothing), restarts
// her, crosses time zones and suspends the machine. The real engine and notch
// controller run on a virtual clock over a real SQLite file. What must hold
// is checked as it happens and after every day; each breach is a problem.
class SoakRun {
public:
    explicit SoakRun(SoakOptions options);
    ~SoakRun();
    SoakRun(const SoakRun&) = delete;
    SoakRun& operator=(const SoakRun&) = delete;

    // Plays every day, stopping after the day of the first problems.
    SoakFigures run();

    // What "bounded" means for the stored documents.
    static constexpr std::size_t kMemoryBytesLimit = 64 * 1024;
    static constexpr std::size_t kMemoryDaysLimit = 31;
    static constexpr std::size_t kFiredLogLimit = 2000;

private:
    class World;
    std::unique_ptr<World> world_;
};

}  // namespace pelliwig::soak
