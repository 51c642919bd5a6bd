#include "SimReplay.h"

#include <sstream>

#include "OverlayStore.h"

namespace pelliwig::sim {

// Whether every answer finds its button is only known by playing, so the
// script is played first on a copy of the store with the output held back.
// A run on a store file is then played again for real: the replay is
// deterministic, so the second pass meets the same moments.
void replay(const Options& options, const std::vector<Command>& commands, std::ostream& out) {
    const auto store = openStore(options.storePath);
    std::ostringstream held;
    {
        OverlayStore rehearsal(*store);
        SimWorld(options, held, rehearsal).run(commands);
    }
    if (!options.storePath) {
        out << held.str();
        return;
    }
    SimWorld(options, out, *store).run(commands);
}

}  // namespace pelliwig::sim
