#pragma once

#include <random>

#include "core/platform/Random.h"

namespace pelliwig {

// The real random source: a Mersenne twister seeded from the system.
class SystemRandom final : public Random {
public:
    SystemRandom() : engine_(std::random_device{}()) {}
    explicit SystemRandom(unsigned long long seed) : engine_(seed) {}

    double uniform() override { return std::uniform_real_distribution<double>(0.0, 1.0)(engine_); }
    std::size_t index(std::size_t n) override {
        return n <= 1 ? 0 : std::uniform_int_distribution<std::size_t>(0, n - 1)(engine_);
    }
    bool coin() override { return std::bernoulli_distribution(0.5)(engine_); }

private:
    std::mt19937_64 engine_;
};

}  // namespace pelliwig
