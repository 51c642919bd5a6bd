#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/support/DefaultZone.h"
#include "core/support/Instant.h"

// What every harness shares: a fixed zone, so that a crash found on one
// machine happens on every other, and a check that stops the run with a
// message the way a crash would.
namespace pelliwig::fuzz {

inline void fixZone() {
    DefaultZone::use("Europe/Berlin");
}

inline std::string text(const std::uint8_t* data, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

// 2026-03-29 12:00 UTC, the day Berlin moves its clocks forward: seconds
// since 1970, as the scheduler counts.
constexpr Instant kNow = 1774785600;

#define PELLIWIG_FUZZ_EXPECT(condition)                                                   \
    do {                                                                                  \
        if (!(condition)) {                                                               \
            std::fprintf(stderr, "%s:%d: expected %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                 \
        }                                                                                 \
    } while (false)

}  // namespace pelliwig::fuzz
