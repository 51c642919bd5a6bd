#include "SimScheduler.h"

#include <algorithm>

namespace pelliwig::sim {

TaskHandle SimScheduler::after(double seconds, std::function<void()> task) {
    return schedule(now_ + std::max(0.0, seconds), 0, std::move(task));
}

TaskHandle SimScheduler::every(double seconds, std::function<void()> task) {
    const double interval = std::max(seconds, 1e-3);
    return schedule(now_ + interval, interval, std::move(task));
}

TaskHandle SimScheduler::schedule(Instant due, double interval, std::function<void()> task) {
    auto cancelled = std::make_shared<bool>(false);
    tasks_.emplace(Key{due, sequence_++}, Task{std::move(task), interval, cancelled});
    return TaskHandle(cancelled);
}

bool SimScheduler::runNext(Instant limit, bool inclusive) {
    while (!tasks_.empty()) {
        auto first = tasks_.begin();
        if (*first->second.cancelled) {
            tasks_.erase(first);  // cancelled tasks leave when their time comes
            continue;
        }
        const Instant due = first->first.first;
        if (due > limit || (due == limit && !inclusive)) return false;
        auto node = tasks_.extract(first);
        Task& task = node.mapped();
        now_ = std::max(now_, due);
        if (task.interval > 0) {
            // Queued again before it runs, so that it may cancel itself.
            tasks_.emplace(Key{due + task.interval, sequence_++},
                           Task{task.run, task.interval, task.cancelled});
            task.run();
        } else {
            auto run = std::move(task.run);  // the task may drop its own handle
            *task.cancelled = true;
            run();
        }
        return true;
    }
    return false;
}

void SimScheduler::runUntil(Instant t) {
    while (runNext(t, false)) {
    }
    now_ = std::max(now_, t);
}

void SimScheduler::runThrough(Instant t) {
    while (runNext(t, true)) {
    }
    now_ = std::max(now_, t);
}

}  // namespace pelliwig::sim
