#include "core/sensors/NotifiedIdleTime.h"

#include <algorithm>

namespace pelliwig {

NotifiedIdleTime::NotifiedIdleTime(const Scheduler& clock, double timeoutSeconds)
    : clock_(clock), timeout_(timeoutSeconds) {}

void NotifiedIdleTime::idled() {
    // A repeated idled() keeps the first: the input it refers to is the same.
    if (!lastInput_) lastInput_ = clock_.now() - timeout_;
}

void NotifiedIdleTime::resumed() {
    lastInput_.reset();
}

double NotifiedIdleTime::seconds() const {
    if (!lastInput_) return 0;
    return std::max(0.0, clock_.now() - *lastInput_);
}

}  // namespace pelliwig
