#include "SimWorld.h"

#include "SimTime.h"

#include "core/content/LineBank.h"
#include "core/settings/SqliteStore.h"
#include "core/support/DefaultZone.h"
#include "fakes/MemoryStore.h"

namespace pelliwig::sim {

namespace {

// A 1440 × 900 desktop without a notch: she lives in the 200-point stand-in
// at the top centre.
Screen desktop() {
    return Screen{.name = "sim", .frame = {0, 0, 1440, 900}};
}

}  // namespace

std::unique_ptr<KeyValueStore> openStore(const std::optional<std::string>& path) {
    if (path) return std::make_unique<SqliteStore>(*path);
    return std::make_unique<MemoryStore>();
}

SimWorld::SimWorld(const Options& options, std::ostream& out, KeyValueStore& store)
    : options_(options),
      report_(out, options.jsonl),
      random_(options.seed),
      store_(store),
      prefs_(store),
      screens_({desktop()}, 24) {}

// The engine goes first: it holds the controller.
SimWorld::~SimWorld() {
    quit();
}

void SimWorld::run(const std::vector<Command>& commands) {
    if (commands.empty()) return;
    const ZoneScope keep;  // each play starts in the zone of the command line
    const Instant start = commands.front().at;
    const Instant end = options_.until.value_or(commands.back().at);
    scheduler_.advanceTo(start);

    std::size_t i = 0;
    std::vector<const Command*> atLaunch;
    for (; i < commands.size() && commands[i].at == start; ++i) {
        if (beforeLaunch(commands[i])) {
            apply(commands[i]);
        } else {
            atLaunch.push_back(&commands[i]);
        }
    }
    launch();
    for (const Command* command : atLaunch) apply(*command);

    for (; i < commands.size() && commands[i].at <= end; ++i) {
        scheduler_.advanceBefore(commands[i].at);
        apply(commands[i]);
    }
    scheduler_.advanceTo(end);
}

void SimWorld::launch() {
    notch_ = std::make_unique<NotchController>(scheduler_, screens_, surface_);
    observe();
    engine_ = std::make_unique<ReminderEngine>(
        *notch_, prefs_, sensors_.ports(scheduler_, random_, store_, idle_, events_), trace());
}

ReminderEngine::Trace SimWorld::trace() {
    ReminderEngine::Trace trace;
    trace.presented = [this](const ReminderEngine::Presentation& p) {
        using How = ReminderEngine::Presentation::How;
        const char* event = p.how == How::present ? "present"
                            : p.how == How::swap  ? "swap"
                                                  : "face";
        std::vector<Answer> answers;
        if (p.how != How::face)
            answers = LineBank(random_).answers(p.moment, prefs_.language.get());
        report_.moment(scheduler_.now(), event, p.moment, answers, p.seconds);
    };
    if (options_.explain) {
        trace.gated = [this](const Cue& cue, ReminderEngine::Gate gate) {
            report_.gate(scheduler_.now(), cue, gate);
        };
    }
    return trace;
}

void SimWorld::quit() {
    observers_.clear();
    engine_.reset();
    notch_.reset();
}

// Connected before the engine, so each report comes before what the engine
// does about it. The controller tells of a time-out and then dismisses; the
// dismissal is folded into the time-out.
void SimWorld::observe() {
    observers_.push_back(notch_->timedOut.connect([this](const Moment& moment) {
        report_.moment(scheduler_.now(), "timeout", moment, {}, std::nullopt);
        timedOut_ = true;
    }));
    observers_.push_back(notch_->model().changed.connect([this](NotchModel::Change change) {
        const auto& model = notch_->model();
        if (change.field != NotchModel::Field::isBubbleShown || model.isBubbleShown()) return;
        if (!model.moment()) return;
        if (std::exchange(timedOut_, false)) return;
        report_.moment(scheduler_.now(), "dismiss", *model.moment(), {}, std::nullopt);
    }));
}

bool SimWorld::beforeLaunch(const Command& command) const {
    using K = Command::Kind;
    switch (command.kind) {
        case K::active:
        case K::idle:
        case K::app:
        case K::camera:
        case K::mic:
        case K::power:
        case K::set:
        case K::event:
        case K::calendar:
        case K::zone:
        case K::pause:
        case K::dnd:
        case K::fullscreen:
            return true;
        default:
            return false;
    }
}

void SimWorld::apply(const Command& command) {
    if (beforeLaunch(command)) {
        applyToSensors(command);
    } else {
        applyToApp(command);
    }
}

void SimWorld::applyToSensors(const Command& c) {
    using K = Command::Kind;
    switch (c.kind) {
        case K::active:
            idle_.active();
            break;
        case K::idle:
            idle_.idleFromNow();
            break;
        case K::app:
            sensors_.front.current = c.text;
            break;
        case K::camera:
            sensors_.media.cameraStates = {c.flag};
            break;
        case K::mic:
            sensors_.media.microphone = c.flag;
            break;
        case K::power:
            sensors_.power.battery(static_cast<int>(c.number), c.flag);
            break;
        case K::set:
            // As the settings window would store it: the value in its envelope.
            store_.write(*c.text, "{\"value\":" + c.json + "}");
            break;
        case K::event:
            events_.add({*c.text, c.title, c.start, c.allDay, c.flag});
            break;
        case K::calendar:
            events_.setGranted(c.flag);
            break;
        case K::zone:
            // What the desktop's zone watcher does when the system's changes.
            DefaultZone::use(*c.text);
            break;
        case K::pause:
            applyPause(c);
            break;
        case K::dnd:
            sensors_.doNotDisturb.current = c.flag;
            break;
        case K::fullscreen:
            sensors_.fullScreen.current = c.flag;
            break;
        default:
            break;
    }
}

void SimWorld::applyToApp(const Command& c) {
    using K = Command::Kind;
    switch (c.kind) {
        case K::answer:
            press(c);
            break;
        case K::close:
            if (notch_->model().onDismiss) notch_->model().onDismiss();
            break;
        case K::hoverEnter:
            pointerTo(0);
            break;
        case K::hoverMove:
            pointerTo(c.number);
            break;
        case K::hoverLeave:
            sensors_.pointer.moveTo(desktop().frame.midX(), desktop().frame.maxY() - 10);
            break;
        case K::wake:
            engine_->resumed();
            break;
        case K::focus:
            engine_->startFocus(static_cast<int>(c.number));
            break;
        case K::focusCancel:
            engine_->cancelFocus();
            break;
        case K::preview:
            engine_->preview(c.previewKind);
            break;
        case K::restart:
            quit();
            launch();
            break;
        default:
            break;
    }
}

// Like a click: only on a bubble that is out and has a button of that tone.
void SimWorld::press(const Command& c) {
    const auto& model = notch_->model();
    if (!model.isBubbleShown() || !model.moment()) {
        throw ScriptError(c.line, "answer " + std::string(rawValue(c.tone)) +
                                      ": nothing on show at " + formatLocal(c.at));
    }
    const Moment moment = *model.moment();
    for (const auto& answer : LineBank(random_).answers(moment, prefs_.language.get())) {
        if (answer.tone != c.tone) continue;
        if (model.onAnswer) model.onAnswer(moment, answer);
        return;
    }
    throw ScriptError(c.line, "answer " + std::string(rawValue(c.tone)) + ": the " +
                                  std::string(rawValue(moment.kind)) + " moment on show at " +
                                  formatLocal(c.at) + " has no such button");
}

// As the menu would: a number of minutes from now, the next morning, or off.
void SimWorld::applyPause(const Command& c) {
    if (c.text == "tomorrow") {
        pause_.untilTomorrow();
    } else if (c.text == "off") {
        pause_.resume();
    } else {
        pause_.forMinutes(static_cast<int>(c.number));
    }
}

void SimWorld::pointerTo(double offset) {
    if (!notch_->geometry()) return;
    const Rect notch = notch_->geometry()->notchRect;
    sensors_.pointer.moveTo(notch.midX() + offset, notch.midY());
}

}  // namespace pelliwig::sim
