#pragma once

namespace pelliwig {

// An instant: seconds since 1970-01-01 00:00:00 UTC. Durations are plain
// seconds as double too.
using Instant = double;

// Stored JSON dates count from 2001-01-01 00:00:00 UTC instead.
inline constexpr double kReferenceDateOffset = 978307200.0;

inline constexpr Instant kDistantPast = -62135596800.0;  // 0001-01-01

inline constexpr double toReferenceSeconds(Instant t) {
    return t - kReferenceDateOffset;
}
inline constexpr Instant fromReferenceSeconds(double s) {
    return s + kReferenceDateOffset;
}

}  // namespace pelliwig
