#pragma once

#include <ostream>
#include <vector>

#include "SimScript.h"
#include "SimWorld.h"

namespace pelliwig::sim {

// Plays a whole script and writes what happened at the notch to `out`.
// Throws ScriptError, with nothing written to `out` or to the store, when
// an answer finds no such button on show.
void replay(const Options& options, const std::vector<Command>& commands, std::ostream& out);

}  // namespace pelliwig::sim
