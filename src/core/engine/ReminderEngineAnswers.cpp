#include "core/engine/ReminderEngine.h"

namespace pelliwig {

void ReminderEngine::answer(const Moment& moment, const Answer& answer) {
    switch (answer.tone) {
        case Answer::Tone::good:
        case Answer::Tone::bad:
            memory_.recordAck(moment.kind);
            break;
        case Answer::Tone::snooze:
            memory_.recordSnooze(moment.kind);
            break;
        case Answer::Tone::apology:
            memory_.state.coldUntilApology = false;
            memory_.state.mood = 1;
            memory_.save(false);
            break;
    }
    replyTo(moment, answer.tone);
    if (answer.tone == Answer::Tone::snooze) snoozeReturn(moment);
}

void ReminderEngine::replyTo(const Moment& moment, Answer::Tone tone) {
    swap(reaction(tone, moment.kind), kReactionSeconds);
}

Moment ReminderEngine::reaction(Answer::Tone tone, ReminderKind kind) {
    int snoozeStreak = 0;
    const auto record = memory_.state.kinds.find(rawString(kind));
    if (record != memory_.state.kinds.end()) snoozeStreak = record->second.snoozeStreak;

    Mood mood = Mood::love;
    switch (tone) {
        case Answer::Tone::good:
            if (kind == ReminderKind::focus || kind == ReminderKind::breaks) mood = Mood::proud;
            break;
        case Answer::Tone::bad:
            mood = Mood::pouty;
            break;
        case Answer::Tone::snooze:
            mood = Mood::annoyed;
            break;
        case Answer::Tone::apology:
            break;
    }
    return Moment{ReminderKind::surprise, lines_.reaction(tone, language(), snoozeStreak),
                  MomentStyle::reaction,  Face::mood(mood),
                  std::nullopt,           false};
}

// The snoozed reminder comes back whatever the gate would say: she promised
// ten minutes. A custom reminder keeps its own words; others get a new line.
void ReminderEngine::snoozeReturn(const Moment& moment) {
    Cue cue = plainCue(moment.kind);
    if (moment.kind == ReminderKind::custom) cue.line = moment.line;
    later(kSnoozeSeconds, [cue](ReminderEngine& engine) { engine.show(cue); });
}

void ReminderEngine::startFocus(int minutes) {
    focus_.reset();
    focus_.emplace(ports_.scheduler, minutes, [this] { focusFinished(); });
}

void ReminderEngine::cancelFocus() {
    focus_.reset();
}

void ReminderEngine::focusFinished() {
    focus_.reset();
    show(plainCue(ReminderKind::focus));
}

void ReminderEngine::preview(std::optional<ReminderKind> kind) {
    const auto& kinds = previewKinds();
    const ReminderKind chosen = kind ? *kind : kinds[ports_.random.index(kinds.size())];
    show(plainCue(chosen, std::nullopt, previewLine(chosen)));
}

std::optional<std::string> ReminderEngine::previewLine(ReminderKind kind) {
    auto app = ports_.front.name();
    if (!app || app->empty()) app = "Safari";
    if (kind == ReminderKind::appSwitch)
        return apps_.genericLine(appBucketOf(*app), *app, "switch");
    if (kind == ReminderKind::appTime) return "{app:" + *app + "}";
    return std::nullopt;
}

}  // namespace pelliwig
