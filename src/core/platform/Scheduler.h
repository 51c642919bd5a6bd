#pragma once

#include <functional>
#include <memory>
#include <utility>

#include "core/support/Instant.h"
#include "core/support/TimeSource.h"

namespace pelliwig {

// A scheduled task's lifetime. Destroying or cancelling the handle stops the
// task; an object that owns the handle of its own delayed work therefore never
// sees that work run after it is gone. The handle may outlive the scheduler.
class TaskHandle {
public:
    TaskHandle() = default;
    TaskHandle(std::shared_ptr<bool> cancelled, std::function<void()> onCancel = {})
        : cancelled_(std::move(cancelled)), onCancel_(std::move(onCancel)) {}
    TaskHandle(TaskHandle&& other) noexcept
        : cancelled_(std::move(other.cancelled_)), onCancel_(std::exchange(other.onCancel_, {})) {}
    TaskHandle& operator=(TaskHandle&& other) noexcept {
        if (this != &other) {
            cancel();
            cancelled_ = std::move(other.cancelled_);
            onCancel_ = std::exchange(other.onCancel_, {});
        }
        return *this;
    }
    TaskHandle(const TaskHandle&) = delete;
    TaskHandle& operator=(const TaskHandle&) = delete;
    ~TaskHandle() { cancel(); }

    void cancel() {
        if (cancelled_) {
            *cancelled_ = true;
            cancelled_.reset();
        }
        if (onCancel_) std::exchange(onCancel_, {})();
    }

    // True while the task is still to run: a one-shot task that has not run
    // yet, or a repeating task that was not cancelled. Schedulers mark a
    // one-shot task finished by setting the shared flag once it has run.
    bool active() const { return cancelled_ && !*cancelled_; }

private:
    std::shared_ptr<bool> cancelled_;
    std::function<void()> onCancel_;
};

// Time and timers. All tasks run on the main thread. Its now() is the only
// source of "now" in core.
class Scheduler : public TimeSource {
public:
    // Runs task once, `seconds` from now.
    [[nodiscard]] virtual TaskHandle after(double seconds, std::function<void()> task) = 0;

    // Runs task every `seconds`, first `seconds` from now.
    [[nodiscard]] virtual TaskHandle every(double seconds, std::function<void()> task) = 0;
};

}  // namespace pelliwig
