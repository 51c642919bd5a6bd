#include "core/engine/CueGate.h"

namespace pelliwig::CueGate {

GateVerdict verdict(ReminderKind kind, const CueFacts& facts, const GateWorld& world) {
    if (!facts.kindEnabled) return GateVerdict::kindOff;
    if (facts.onceKeyUsed) return GateVerdict::onceKeyUsed;
    return holdFor(kind, world);
}

GateVerdict holdFor(ReminderKind kind, const GateWorld& world) {
    if (world.inCall) return GateVerdict::inCall;
    if (world.paused) return GateVerdict::paused;
    if (world.doNotDisturb) return GateVerdict::doNotDisturb;
    // A film or a game is no reason to let the battery run flat unwarned.
    if (world.fullScreen && kind != ReminderKind::battery) return GateVerdict::fullScreen;
    if (world.quietHours) return GateVerdict::quietHours;
    // A charger plugged in deserves a thank-you however recent the last nudge.
    if (kind != ReminderKind::charger && world.sinceShown < world.minimumGap) {
        return GateVerdict::gap;
    }
    if (world.notchBusy) return GateVerdict::notchOccupied;
    return GateVerdict::shown;
}

}  // namespace pelliwig::CueGate
