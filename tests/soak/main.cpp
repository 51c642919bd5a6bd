// pelliwig-soak: a seeded random stretch of her life in virtual time on a
// real SQLite file, checked after every day.
//   pelliwig-soak [--seed N] [--days N] [--store FILE]
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "SoakRun.h"

int main(int argc, char** argv) {
    using namespace pelliwig::soak;
    SoakOptions options;
    options.store = std::filesystem::temp_directory_path() /
                    ("pelliwig-soak-" + std::to_string(::getpid()) + ".sqlite");
    bool keep = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--seed" && i + 1 < argc) {
            options.seed = std::stoull(argv[++i]);
        } else if (arg == "--days" && i + 1 < argc) {
            options.days = std::stoi(argv[++i]);
        } else if (arg == "--store" && i + 1 < argc) {
            options.store = argv[++i];
            keep = true;
        } else {
            std::cerr << "usage: pelliwig-soak [--seed N] [--days N] [--store FILE]\n";
            return 2;
        }
    }
    const auto began = std::chrono::steady_clock::now();
    const SoakFigures f = SoakRun(options).run();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - began;
    if (!keep) std::filesystem::remove(options.store);

    std::cout << "seed " << options.seed << ": " << f.days << " days in " << took.count() << " s; "
              << f.shown << " cues shown, " << f.presented << " moments, " << f.answers
              << " answers, " << f.restarts << " restarts, " << f.zoneChanges << " zone changes, "
              << f.clockJumps << " clock jumps, " << f.pauses << " pauses, " << f.settingsChanges
              << " settings changes; largest memory " << f.largestMemory
              << " bytes, largest fired log " << f.largestFiredLog << " keys\n";
    for (const auto& problem : f.problems) std::cout << "problem: " << problem << '\n';
    return f.problems.empty() ? 0 : 1;
}
