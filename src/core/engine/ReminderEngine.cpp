#include "core/engine/ReminderEngine.h"

#include <utility>

namespace pelliwig {

ReminderEngine::ReminderEngine(NotchController& notch, Prefs& prefs, const Ports& ports,
                               Trace trace)
    : ports_(ports),
      trace_(std::move(trace)),
      clock_(ports.scheduler),
      meetings_(ports.media),
      notch_(notch),
      prefs_(prefs),
      lines_(ports.random),
      activity_(std::in_place, clock_, ports.idle, ports.front),
      battery_(ports.power),
      calendar_(ports.events),
      hover_(ports.pointer, ports.scheduler),
      fired_(ports.store, clock_),
      memory_(ports.store, clock_),
      picker_(prefs, memory_, lines_, ports.random, clock_),
      apps_(prefs, memory_, lines_, ports.random, clock_.now()),
      pause_(prefs, clock_),
      self_(std::make_shared<ReminderEngine*>(this)) {
    wire();
    timer_ = ports_.scheduler.every(kTickSeconds, [this] { tick(); });
    tick();
}

ReminderEngine::~ReminderEngine() = default;

// The notch outlives the engine but keeps its model's handlers, so those go
// through a weak reference, and the engine's connection to the controller
// ends with it; everything else that calls back is owned by the engine.
void ReminderEngine::wire() {
    std::weak_ptr<ReminderEngine*> weak = self_;
    notch_.model().onAnswer = [weak](const Moment& moment, const Answer& answer) {
        if (auto self = weak.lock()) (*self)->answer(moment, answer);
    };
    timedOutWatch_ = notch_.timedOut.connect([this](const Moment& moment) { timedOut(moment); });
    battery_.onLow = [this] { fire(plainCue(ReminderKind::battery)); };
    battery_.onCharger = [this] { fire(plainCue(ReminderKind::charger)); };

    NotchController& notch = notch_;
    hover_.notchRect = [&notch]() -> std::optional<Rect> {
        if (!notch.geometry()) return std::nullopt;
        return notch.geometry()->notchRect;
    };
    hover_.hotRect = [&notch] { return notch.hotRect(); };
    hover_.onEnter = [this] { hoverEntered(); };
    hover_.onLeave = [this] { hoverLeft(); };
    hover_.onMove = [this](double offset) { hoverMoved(offset); };
}

Cue ReminderEngine::plainCue(ReminderKind kind, std::optional<std::string> onceKey,
                             std::optional<std::string> line, std::optional<Face> face) {
    return Cue{
        kind,        std::move(onceKey), std::move(line), MomentStyle::normal, std::move(face),
        std::nullopt};
}

// No check at all: the gate, or a caller that must always be heard, has
// already decided.
void ReminderEngine::show(const Cue& cue) {
    std::string text;
    if (!cue.line) {
        text = picker_.pickLine(cue.kind, cue.style);
    } else if (cue.kind == ReminderKind::custom) {
        text = *cue.line;  // the user's own words, braces and all
    } else {
        text = picker_.resolve(*cue.line);
    }
    lastShown_ = clock_.now();

    const bool staysUntilAnswered =
        cue.style == MomentStyle::sticky || cue.style == MomentStyle::cold;
    std::optional<double> seconds;
    if (!staysUntilAnswered) seconds = prefs_.showSeconds.get();

    std::optional<Face> face = cue.face;
    if (!face && cue.style == MomentStyle::cold) face = Face::pose(Pose::cold);
    if (!face && cue.style == MomentStyle::sticky) face = Face::mood(Mood::annoyed);

    present(Moment{cue.kind, std::move(text), cue.style, face, cue.image, false}, seconds);
}

void ReminderEngine::present(const Moment& moment, std::optional<double> seconds) {
    notch_.present(moment, seconds);
    if (trace_.presented)
        trace_.presented(Presentation{Presentation::How::present, moment, seconds});
}

void ReminderEngine::swap(const Moment& moment, std::optional<double> hideAfter) {
    notch_.swap(moment, hideAfter);
    if (trace_.presented)
        trace_.presented(Presentation{Presentation::How::swap, moment, hideAfter});
}

// A moment without buttons (a greeting, a remark, a surprise) cannot be
// answered, so letting it run out is not ignoring her.
void ReminderEngine::timedOut(const Moment& moment) {
    if (lines_.answers(moment, language()).empty()) return;
    memory_.recordIgnored(moment.kind);
}

bool ReminderEngine::notchBusy() const {
    const auto& model = notch_.model();
    return model.isShown() && model.moment().has_value();
}

bool ReminderEngine::notchBusyWithNudge() const {
    return notchBusy() && notch_.model().moment()->style != MomentStyle::peek;
}

void ReminderEngine::later(double seconds, std::function<void(ReminderEngine&)> work) {
    std::erase_if(delayed_, [](const TaskHandle& task) { return !task.active(); });
    delayed_.push_back(
        ports_.scheduler.after(seconds, [this, work = std::move(work)] { work(*this); }));
}

}  // namespace pelliwig
