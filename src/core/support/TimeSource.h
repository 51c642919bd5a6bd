#pragma once

#include "core/support/Instant.h"

namespace pelliwig {

// Where "now" comes from: the scheduler in the program, virtual time in the
// tests and the simulator. The clock needs only this of the scheduler.
class TimeSource {
public:
    virtual ~TimeSource() = default;

    // The current instant.
    virtual Instant now() const = 0;
};

}  // namespace pelliwig
