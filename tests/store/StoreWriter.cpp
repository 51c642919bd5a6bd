// A writer of settings through the real store, for the test that kills it:
//   pelliwig-store-writer FILE ACKS
// Writes numbered values to two settings, over and over, and after each
// write has returned appends its number to ACKS. It never ends by itself.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "core/settings/Prefs.h"
#include "core/settings/SqliteStore.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: pelliwig-store-writer FILE ACKS\n", stderr);
        return 2;
    }
    pelliwig::SqliteStore store(argv[1]);
    pelliwig::Prefs prefs(store);
    const int acks = ::open(argv[2], O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (acks < 0) return 1;
    // A run on a file that an earlier run left goes on from where it was.
    for (int i = prefs.surprisesPerWeek.get() + 1;; ++i) {
        prefs.surprisesPerWeek.set(i);
        prefs.bigDayLabel.set("write " + std::to_string(i));
        const std::string line = std::to_string(i) + "\n";
        if (::write(acks, line.data(), line.size()) != static_cast<ssize_t>(line.size())) return 1;
    }
}
