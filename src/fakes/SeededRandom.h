#pragma once

#include "core/platform/SystemRandom.h"

namespace pelliwig {

// A reproducible random source: the real generator with a fixed seed.
class SeededRandom final : public Random {
public:
    explicit SeededRandom(unsigned long long seed = 42) : random_(seed) {}
    double uniform() override { return random_.uniform(); }
    std::size_t index(std::size_t n) override { return random_.index(n); }
    bool coin() override { return random_.coin(); }

private:
    SystemRandom random_;
};

}  // namespace pelliwig
