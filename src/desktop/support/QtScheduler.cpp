#include "desktop/support/QtScheduler.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <utility>

#include <QDateTime>
#include <QTimer>

namespace pelliwig {

namespace {

int milliseconds(double seconds, bool repeat) {
    const double ms = std::ceil(std::max(0.0, seconds) * 1000);
    const double smallest = repeat ? 1 : 0;  // a zero-interval repeat would spin
    return static_cast<int>(std::clamp(ms, smallest, double(std::numeric_limits<int>::max())));
}

// Long repeats (the engine's tick, the battery poll, the update check) fire
// on whole seconds, so the ones that fall due together wake the process once,
// not a few milliseconds apart. Everything else keeps the millisecond: a
// coarse timer may be 5 % late, and a one-off set for a moment (the end of a
// pause) must not fire before it.
Qt::TimerType timerType(double seconds, bool repeat) {
    constexpr double kWholeSecondRepeat = 20;
    return repeat && seconds >= kWholeSecondRepeat ? Qt::VeryCoarseTimer : Qt::PreciseTimer;
}

}  // namespace

QtScheduler::QtScheduler() = default;

// Pending timers are children of timers_ and go with it.
QtScheduler::~QtScheduler() = default;

Instant QtScheduler::now() const {
    return QDateTime::currentMSecsSinceEpoch() / 1000.0;
}

TaskHandle QtScheduler::after(double seconds, std::function<void()> task) {
    return schedule(seconds, false, std::move(task));
}

TaskHandle QtScheduler::every(double seconds, std::function<void()> task) {
    return schedule(seconds, true, std::move(task));
}

TaskHandle QtScheduler::schedule(double seconds, bool repeat, std::function<void()> task) {
    auto cancelled = std::make_shared<bool>(false);
    auto* timer = new QTimer(&timers_);
    timer->setTimerType(timerType(seconds, repeat));
    timer->setSingleShot(!repeat);
    timer->setInterval(milliseconds(seconds, repeat));
    QObject::connect(timer, &QTimer::timeout, timer,
                     [timer, cancelled, repeat, task = std::move(task)] {
                         if (*cancelled) return;
                         if (!repeat) {
                             *cancelled = true;  // finished, so the handle reads inactive
                             timer->deleteLater();
                         }
                         task();
                     });
    timer->start();
    QPointer<QTimer> guard(timer);
    return TaskHandle(cancelled, [guard] {
        if (guard) guard->deleteLater();
    });
}

}  // namespace pelliwig
