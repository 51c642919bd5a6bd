#include <cmath>
#include <cstdint>

#include "core/engine/ReminderEngine.h"

namespace pelliwig {

void ReminderEngine::hoverEntered() {
    if (!prefs_.isEnabled(ReminderKind::hover)) return;
    if (notchBusy()) return;  // a hover never interrupts a moment
    const auto& t = LineBank::tables();
    const std::string text = memory_.state.coldUntilApology
                                 ? lines_.pick(t.coldHover, language(), "coldHover")
                                 : lines_.pick(t.hover, language(), "hover");
    hoverMoment_ = Moment{ReminderKind::hover,        text,         MomentStyle::normal,
                          Face::pose(Pose::lookDown), std::nullopt, false};
    present(*hoverMoment_, std::nullopt);
}

// Only the hover moment itself follows the pointer: an idle peek is of kind
// hover too, and must not be turned into an old hover line.
bool ReminderEngine::motionReduced() const {
    return prefs_.reduceMotion.get() || (desktopReducesMotion && desktopReducesMotion());
}

void ReminderEngine::hoverMoved(double offset) {
    if (!hoverMoment_ || motionReduced()) return;
    const auto& model = notch_.model();
    if (!model.isShown() || !model.moment()) return;
    const Moment& shown = *model.moment();
    if (shown.kind != ReminderKind::hover || shown.style != hoverMoment_->style ||
        shown.line != hoverMoment_->line) {
        return;
    }
    Pose pose = Pose::lookDown;
    if (offset < -kHoverEyesReach) pose = Pose::lookLeft;
    if (offset > kHoverEyesReach) pose = Pose::lookRight;
    if (hoverMoment_->face == Face::pose(pose)) return;
    hoverMoment_->face = Face::pose(pose);
    notch_.model().setMoment(*hoverMoment_);  // her eyes move; the panel stays put
    if (trace_.presented) {
        trace_.presented(Presentation{Presentation::How::face, *hoverMoment_, std::nullopt});
    }
}

void ReminderEngine::hoverLeft() {
    const auto& model = notch_.model();
    if (!model.isShown() || !model.moment() || model.moment()->kind != ReminderKind::hover) return;
    hoverMoment_.reset();
    notch_.dismiss();
}

void ReminderEngine::presence(const TickContext& context) {
    if (!context.isActive) return;
    if (notchBusy()) return;
    // Over a full-screen window not even a peek: she would sit on the film.
    if (fullScreenHolds(ReminderKind::surprise)) return;
    if (asleep(context.minutesOfDay)) {
        sleepingPeek(context);
        return;
    }
    surpriseOrIdlePeek();
}

void ReminderEngine::sleepingPeek(const TickContext& context) {
    if (!prefs_.sleepInNotch.get()) return;
    if (context.now - lastSleepPeek_ < kSleepPeekEvery) return;
    lastSleepPeek_ = context.now;
    present(Moment{ReminderKind::surprise, "", MomentStyle::peek, Face::pose(Pose::sleeping),
                   std::nullopt, true},
            kSleepPeekSeconds);
}

// A tick every 30 seconds is 20160 ticks a week; 4800 keeps the odds where
// the setting's "per week" was tuned, counting only the user's active time.
void ReminderEngine::surpriseOrIdlePeek() {
    if (prefs_.isEnabled(ReminderKind::surprise) &&
        ports_.random.uniform() < prefs_.surprisesPerWeek.get() / 4800.0) {
        fire(plainCue(ReminderKind::surprise, std::nullopt, "{surprise}"));
        return;
    }
    if (prefs_.idlePeeks.get() && ports_.random.uniform() < 1.0 / 120) {
        present(Moment{ReminderKind::hover, "", MomentStyle::peek, moodFace(), std::nullopt, false},
                kIdlePeekSeconds);
    }
}

Face ReminderEngine::moodFace() const {
    const int mood = memory_.state.mood;
    if (mood <= -3) return Face::mood(Mood::annoyed);
    if (mood <= -1) return Face::mood(Mood::pouty);
    if (mood <= 2) return Face::mood(Mood::happy);
    return Face::mood(Mood::love);
}

bool ReminderEngine::trackMeeting(const TickContext& context) {
    if (meetings_.inCall()) {
        if (!meetingStart_) meetingStart_ = context.now;
        return true;
    }
    if (!meetingStart_) return false;
    const Instant start = *meetingStart_;
    meetingStart_.reset();
    memory_.state.lastMeetingEnd = clock_.now();
    memory_.save(false);
    if (context.now - start >= kMeetingWorthAsking) {
        const auto startSeconds = static_cast<std::int64_t>(std::trunc(start));
        fire(plainCue(ReminderKind::meeting, "meeting|" + std::to_string(startSeconds)));
    }
    return false;
}

// A fresh tracker: both stretches start again now, and the snapshot taken at
// once makes it know the application in front, as the old one did.
void ReminderEngine::resumed() {
    activity_.emplace(clock_, ports_.idle, ports_.front);
    (void)activity_->snapshot();
    later(kResumeDelay, [](ReminderEngine& engine) { engine.tick(); });
}

}  // namespace pelliwig
