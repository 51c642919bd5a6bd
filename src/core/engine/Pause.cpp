#include "core/engine/Pause.h"

namespace pelliwig {

std::optional<Instant> Pause::until() const {
    const auto end = prefs_.pausedUntil.get();
    if (!end || *end <= clock_.now()) return std::nullopt;
    return end;
}

void Pause::forMinutes(int minutes) {
    if (minutes <= 0) {
        resume();
        return;
    }
    prefs_.pausedUntil.set(clock_.now() + minutes * 60.0);
}

void Pause::untilTomorrow() {
    prefs_.pausedUntil.set(clock_.nextAt(kTomorrowAt, clock_.now()));
}

void Pause::resume() {
    if (prefs_.pausedUntil.get()) prefs_.pausedUntil.reset();
}

}  // namespace pelliwig
