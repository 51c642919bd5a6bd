#include "fakes/VirtualScheduler.h"

#include <algorithm>
#include <limits>

namespace pelliwig {

TaskHandle VirtualScheduler::after(double seconds, std::function<void()> task) {
    return schedule(now_ + std::max(0.0, seconds), 0, std::move(task));
}

TaskHandle VirtualScheduler::every(double seconds, std::function<void()> task) {
    const double interval = std::max(seconds, 1e-3);
    return schedule(now_ + interval, interval, std::move(task));
}

TaskHandle VirtualScheduler::schedule(Instant due, double interval, std::function<void()> task) {
    auto cancelled = std::make_shared<bool>(false);
    tasks_.emplace(Key{due, sequence_++}, Task{std::move(task), interval, cancelled});
    return TaskHandle(cancelled);
}

void VirtualScheduler::dropCancelled() {
    std::erase_if(tasks_, [](const auto& entry) { return *entry.second.cancelled; });
}

std::size_t VirtualScheduler::pending() {
    dropCancelled();
    return tasks_.size();
}

bool VirtualScheduler::runNext() {
    return runNextBy(std::numeric_limits<Instant>::infinity(), true);
}

// Cancelled tasks are dropped as they come up rather than by a sweep of the
// whole queue, so a long replay stays linear in the tasks it runs.
bool VirtualScheduler::runNextBy(Instant limit, bool inclusive) {
    while (!tasks_.empty()) {
        auto first = tasks_.begin();
        if (*first->second.cancelled) {
            tasks_.erase(first);
            continue;
        }
        const Instant due = first->first.first;
        if (due > limit || (due == limit && !inclusive)) return false;
        auto node = tasks_.extract(first);
        Task& task = node.mapped();
        now_ = std::max(now_, due);
        if (task.interval > 0) {
            // Re-queue before running so the task may cancel itself.
            tasks_.emplace(Key{due + task.interval, sequence_++},
                           Task{task.run, task.interval, task.cancelled});
            task.run();
        } else {
            auto run = std::move(task.run);  // the task may drop its own handle
            *task.cancelled = true;          // a one-shot task is finished once it runs
            run();
        }
        return true;
    }
    return false;
}

void VirtualScheduler::advanceTo(Instant t) {
    while (runNextBy(t, true)) {
    }
    now_ = std::max(now_, t);
}

void VirtualScheduler::advanceBefore(Instant t) {
    while (runNextBy(t, false)) {
    }
    now_ = std::max(now_, t);
}

void VirtualScheduler::jumpTo(Instant t) {
    if (t <= now_) return;
    std::map<Key, Task> missed;
    while (!tasks_.empty() && tasks_.begin()->first.first < t) {
        auto node = tasks_.extract(tasks_.begin());
        missed.emplace(Key{t, node.key().second}, std::move(node.mapped()));
    }
    tasks_.merge(missed);
    advanceTo(t);
}

void VirtualScheduler::advance(double seconds) {
    advanceTo(now_ + seconds);
}

}  // namespace pelliwig
