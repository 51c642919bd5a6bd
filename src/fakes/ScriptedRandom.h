#pragma once

#include <cmath>
#include <deque>
#include <initializer_list>

#include "core/platform/Random.h"

namespace pelliwig {

// Hands out the uniform values it was given, in order; when they run out it
// repeats `fallback`. index(n) maps the next value u to floor(u * n) and
// coin() is u < 0.5, so a test states every choice as a number in [0, 1).
class ScriptedRandom final : public Random {
public:
    ScriptedRandom(std::initializer_list<double> values = {}, double fallback = 0.0)
        : values_(values), fallback_(fallback) {}

    void push(double value) { values_.push_back(value); }
    std::size_t remaining() const { return values_.size(); }

    double uniform() override { return next(); }
    std::size_t index(std::size_t n) override {
        if (n <= 1) {
            next();
            return 0;
        }
        const auto i = static_cast<std::size_t>(std::floor(next() * static_cast<double>(n)));
        return i < n ? i : n - 1;
    }
    bool coin() override { return next() < 0.5; }

private:
    double next() {
        if (values_.empty()) return fallback_;
        const double v = values_.front();
        values_.pop_front();
        return v;
    }

    std::deque<double> values_;
    double fallback_;
};

}  // namespace pelliwig
