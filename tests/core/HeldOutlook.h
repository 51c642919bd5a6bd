#pragma once

#include <optional>

#include "core/engine/Outlook.h"
#include "support/TestTime.h"

namespace pelliwig {

// An outlook held back by `hold` with water still coming at 14:30 in Berlin
// on 7 March 2026, so that only the hold can explain the line written for it.
inline Outlook heldOutlook(GateVerdict hold, std::optional<Instant> until = std::nullopt,
                           bool camera = false) {
    Outlook out;
    out.hold = hold;
    out.until = until;
    out.camera = camera;
    out.next = ReminderKind::water;
    out.nextAt = testing::utc(2026, 3, 7, 13, 30);
    return out;
}

}  // namespace pelliwig
