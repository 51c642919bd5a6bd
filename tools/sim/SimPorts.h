#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/platform/EventStore.h"
#include "core/platform/IdleTime.h"
#include "core/platform/NotchSurface.h"
#include "core/platform/Scheduler.h"

// The scripted sensors of a replay that the tests' fakes do not cover.
namespace pelliwig::sim {

// Idle time as the script says: continuous input, input that stopped at some
// instant, or none since the start.
class SimIdleTime final : public IdleTime {
public:
    explicit SimIdleTime(const Scheduler& scheduler) : scheduler_(scheduler) {}

    double seconds() const override;

    void active() { continuous_ = true; }
    void idleFromNow() {
        continuous_ = false;
        lastInput_ = scheduler_.now();
    }

    // Before the script says anything the user is away.
    static constexpr double kNeverTouched = 1e9;

private:
    const Scheduler& scheduler_;
    bool continuous_ = false;
    std::optional<Instant> lastInput_;
};

// A calendar of the script's events; repeating ones occur every day at the
// same wall time, each occurrence half an hour long.
class SimEventStore final : public EventStore {
public:
    struct Entry {
        std::string identifier;
        std::string title;
        Instant start = 0;
        bool allDay = false;
        bool daily = false;
    };

    static constexpr double kDuration = 1800;

    void requestAccess(std::function<void(bool granted)> completion) override;
    // Like the calendar files: a refusal is asked about again once the
    // script grants access.
    bool accessMayHaveChanged() const override { return answered_ && *answered_ != granted_; }
    std::vector<CalendarEvent> events(Instant from, Instant to) const override;

    void add(Entry entry) { entries_.push_back(std::move(entry)); }
    // The answer every later access request gets.
    void setGranted(bool granted) { granted_ = granted; }

private:
    void addOccurrences(const Entry& entry, Instant from, Instant to,
                        std::vector<CalendarEvent>& out) const;

    std::vector<Entry> entries_;
    bool granted_ = true;
    std::optional<bool> answered_;
};

// A notch surface with nothing to draw on.
class NullSurface final : public NotchSurface {
public:
    void build(const NotchGeometry&, const Rect&, NotchModel&) override {}
    void orderFront() override {}
    void orderOut() override {}
};

}  // namespace pelliwig::sim
