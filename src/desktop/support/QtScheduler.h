#pragma once

#include <QObject>
#include <QPointer>

#include "core/platform/Scheduler.h"

namespace pelliwig {

// Core's timers on the Qt event loop of the main thread. Each task is its own
// QTimer, deleted when the task is cancelled, has run once, or when the
// scheduler goes; handles may outlive all of these.
class QtScheduler final : public Scheduler {
public:
    QtScheduler();
    ~QtScheduler() override;
    QtScheduler(const QtScheduler&) = delete;
    QtScheduler& operator=(const QtScheduler&) = delete;

    Instant now() const override;
    TaskHandle after(double seconds, std::function<void()> task) override;
    TaskHandle every(double seconds, std::function<void()> task) override;

private:
    TaskHandle schedule(double seconds, bool repeat, std::function<void()> task);

    QObject timers_;  // parent of every pending timer
};

}  // namespace pelliwig
