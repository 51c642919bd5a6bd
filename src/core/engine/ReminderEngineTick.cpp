#include <algorithm>

#include "core/engine/ReminderEngine.h"
#include "core/engine/Rules.h"

namespace pelliwig {

void ReminderEngine::tick() {
    memory_.rollDayIfNeeded();
    fired_.rollDayIfNeeded();
    const TickContext context = activity_->snapshot();
    std::optional<AppBucket> bucket;
    if (context.frontApp) bucket = appBucketOf(*context.frontApp);
    // Each tick counts as one interval, however long the machine really slept.
    if (context.isActive) memory_.recordTick(kTickSeconds, context.activeStreak, bucket);

    if (trackMeeting(context)) return;
    noticeApp(context, bucket);

    auto cues = Rules::cues(context, prefs_, memory_, clock_, ports_.random);
    if (context.isActive && prefs_.isEnabled(ReminderKind::calendar)) {
        auto upcoming = calendar_.cues(context);
        cues.insert(cues.end(), std::make_move_iterator(upcoming.begin()),
                    std::make_move_iterator(upcoming.end()));
    }
    // The list order is the priority: the first cue through is shown, and the
    // gap or the occupied notch holds back the rest.
    for (const auto& cue : cues) fire(cue);

    presence(context);
}

ReminderEngine::Gate ReminderEngine::fire(const Cue& cue) {
    const Gate gate = verdict(cue);
    if (trace_.gated) trace_.gated(cue, gate);
    if (gate != Gate::shown) return gate;
    show(cue);
    if (cue.onceKey) fired_.mark(*cue.onceKey);
    return gate;
}

ReminderEngine::Gate ReminderEngine::verdict(const Cue& cue) const {
    const CueFacts facts{.kindEnabled = prefs_.isEnabled(cue.kind),
                         .onceKeyUsed = cue.onceKey && fired_.contains(*cue.onceKey)};
    return CueGate::verdict(cue.kind, facts, gateWorld());
}

GateWorld ReminderEngine::gateWorld() const {
    const Instant now = clock_.now();
    return GateWorld{
        .inCall = meetingStart_.has_value(),
        .paused = pause_.active(),
        .doNotDisturb = doNotDisturbOn(),
        .fullScreen = fullScreenOn(),
        .quietHours = inQuietHours(clock_.minutesOfDay(now)),
        .sinceShown = now - lastShown_,
        .minimumGap = minimumGap(),
        .notchBusy = notchBusyWithNudge(),
    };
}

bool ReminderEngine::inQuietHours(int minutesOfDay) const {
    return Rules::inWindow(minutesOfDay, prefs_.quietStart.get(), prefs_.quietEnd.get());
}

bool ReminderEngine::doNotDisturbOn() const {
    return prefs_.followDoNotDisturb.get() && ports_.doNotDisturb.on();
}

bool ReminderEngine::fullScreenOn() const {
    return prefs_.quietDuringFullScreen.get() && ports_.fullScreen.focusedWindowIsFullScreen();
}

// The gate's own rule, for the peeks that do not pass through it.
bool ReminderEngine::fullScreenHolds(ReminderKind kind) const {
    return CueGate::holdFor(kind, GateWorld{.fullScreen = fullScreenOn()}) ==
           GateVerdict::fullScreen;
}

bool ReminderEngine::asleep(int minutesOfDay) const {
    return inQuietHours(minutesOfDay) || pause_.active() || doNotDisturbOn();
}

// In seconds, as a double so that no stored number of minutes can overflow.
double ReminderEngine::minimumGap() const {
    const double gap = prefs_.minGap.get() * 60.0;
    return prefs_.bigDayActive(clock_) ? gap * 2 : gap;
}

}  // namespace pelliwig
