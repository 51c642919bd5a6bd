#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <utility>

#include "core/platform/Scheduler.h"

namespace pelliwig {

// Virtual time. Nothing runs until the test (or the simulator) advances the
// clock; tasks then run in order of their due time, ties in the order they
// were scheduled, each with now() equal to its due time.
class VirtualScheduler final : public Scheduler {
public:
    explicit VirtualScheduler(Instant start = 0) : now_(start) {}

    Instant now() const override { return now_; }
    TaskHandle after(double seconds, std::function<void()> task) override;
    TaskHandle every(double seconds, std::function<void()> task) override;

    // Runs every task due up to now + seconds, then sets now to that time.
    void advance(double seconds);
    // Runs every task due up to t (t not before now), then sets now to t.
    void advanceTo(Instant t);
    // Runs every task due strictly before t, then sets now to t: whatever the
    // caller does next at t comes before the tasks due at that same instant.
    void advanceBefore(Instant t);
    // The clock jumps to t, as after a suspend or the clock set forward: what
    // fell due meanwhile runs once, at t, in its order; a repeating task then
    // keeps its period from t.
    void jumpTo(Instant t);
    // Runs the next pending task (moving the clock to its due time); false if none.
    bool runNext();
    // Number of pending, uncancelled tasks.
    std::size_t pending();

private:
    struct Task {
        std::function<void()> run;
        double interval = 0;  // 0 for one-shot tasks
        std::shared_ptr<bool> cancelled;
    };
    using Key = std::pair<Instant, std::uint64_t>;

    TaskHandle schedule(Instant due, double interval, std::function<void()> task);
    void dropCancelled();
    // Runs the earliest task if it is due before `limit` (or at it, when
    // `inclusive`); false when there is none.
    bool runNextBy(Instant limit, bool inclusive);

    Instant now_;
    std::uint64_t sequence_ = 0;
    std::map<Key, Task> tasks_;
};

}  // namespace pelliwig
