#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <utility>

#include "core/platform/Scheduler.h"

namespace pelliwig::sim {

// Virtual time for a replay. Unlike the tests' scheduler it can stop just
// before an instant, so that script commands at a time come before the tasks
// due at that same time.
class SimScheduler final : public Scheduler {
public:
    explicit SimScheduler(Instant start = 0) : now_(start) {}

    Instant now() const override { return now_; }
    TaskHandle after(double seconds, std::function<void()> task) override;
    TaskHandle every(double seconds, std::function<void()> task) override;

    // Runs every task due strictly before t, then sets the clock to t.
    void runUntil(Instant t);
    // Runs every task due up to and including t, then sets the clock to t.
    void runThrough(Instant t);

private:
    struct Task {
        std::function<void()> run;
        double interval = 0;  // 0 for one-shot tasks
        std::shared_ptr<bool> cancelled;
    };
    using Key = std::pair<Instant, std::uint64_t>;

    TaskHandle schedule(Instant due, double interval, std::function<void()> task);
    // Runs the earliest task if it is due before `limit` (or at it, when
    // `inclusive`); false when there is none.
    bool runNext(Instant limit, bool inclusive);

    Instant now_;
    std::uint64_t sequence_ = 0;
    std::map<Key, Task> tasks_;
};

}  // namespace pelliwig::sim
