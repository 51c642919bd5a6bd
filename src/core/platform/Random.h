#pragma once

#include <cstddef>

namespace pelliwig {

// The source of every random choice, so tests can fix it.
class Random {
public:
    virtual ~Random() = default;

    // Uniform in [0, 1).
    virtual double uniform() = 0;

    // Uniform index in [0, n); n must be at least 1.
    virtual std::size_t index(std::size_t n) = 0;

    // A fair coin.
    virtual bool coin() = 0;
};

}  // namespace pelliwig
