#include "SimReport.h"

#include "SimTime.h"
#include "core/support/Json.h"

namespace pelliwig::sim {

namespace {

// The line as a JSON string: quoted, with quotes, backslashes and control
// characters escaped, and text that is not UTF-8 made readable rather than fatal.
std::string quote(const std::string& s) {
    return Json(s).dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace

void SimReport::moment(Instant at, std::string_view event, const Moment& moment,
                       const std::vector<Answer>& answers, std::optional<double> seconds) {
    if (jsonl_) {
        json(at, event, moment, answers, seconds);
    } else {
        text(at, event, moment, answers);
    }
}

void SimReport::text(Instant at, std::string_view event, const Moment& moment,
                     const std::vector<Answer>& answers) {
    out_ << formatLocal(at) << "  " << event << "  " << rawValue(moment.kind) << "  "
         << rawValue(moment.style) << "  " << (moment.face ? pelliwig::describe(*moment.face) : "-")
         << "  " << quote(moment.line);
    if (!answers.empty()) {
        out_ << "  [";
        for (std::size_t i = 0; i < answers.size(); ++i) {
            out_ << (i > 0 ? " | " : "") << answers[i].label;
        }
        out_ << "]";
    }
    out_ << '\n';
}

void SimReport::json(Instant at, std::string_view event, const Moment& moment,
                     const std::vector<Answer>& answers, std::optional<double> seconds) {
    OrderedJson line;
    line["at"] = formatIso(at);
    line["event"] = event;
    line["kind"] = rawValue(moment.kind);
    line["style"] = rawValue(moment.style);
    line["face"] = moment.face ? OrderedJson(pelliwig::describe(*moment.face)) : OrderedJson();
    line["line"] = moment.line;
    line["answers"] = OrderedJson::array();
    for (const auto& answer : answers) {
        line["answers"].push_back({{"label", answer.label}, {"tone", rawValue(answer.tone)}});
    }
    line["seconds"] = seconds ? OrderedJson(*seconds) : OrderedJson();
    line["zzz"] = moment.zzz;
    line["image"] = moment.image ? OrderedJson(*moment.image) : OrderedJson();
    out_ << line.dump(-1, ' ', false, OrderedJson::error_handler_t::replace) << '\n';
}

void SimReport::gate(Instant at, const Cue& cue, ReminderEngine::Gate verdict) {
    if (jsonl_) {
        OrderedJson line;
        line["at"] = formatIso(at);
        line["event"] = "gate";
        line["kind"] = rawValue(cue.kind);
        line["onceKey"] = cue.onceKey ? OrderedJson(*cue.onceKey) : OrderedJson();
        line["verdict"] = describe(verdict);
        out_ << line.dump(-1, ' ', false, OrderedJson::error_handler_t::replace) << '\n';
        return;
    }
    out_ << formatLocal(at) << "  gate  " << rawValue(cue.kind) << "  "
         << (cue.onceKey ? *cue.onceKey : "-") << "  " << describe(verdict) << '\n';
}

std::string_view SimReport::describe(ReminderEngine::Gate verdict) {
    using Gate = ReminderEngine::Gate;
    switch (verdict) {
        case Gate::kindOff:
            return "kind off";
        case Gate::onceKeyUsed:
            return "once-key used";
        case Gate::inCall:
            return "in a call";
        case Gate::paused:
            return "paused";
        case Gate::doNotDisturb:
            return "do not disturb";
        case Gate::fullScreen:
            return "full screen";
        case Gate::quietHours:
            return "quiet hours";
        case Gate::gap:
            return "gap";
        case Gate::notchOccupied:
            return "notch occupied";
        case Gate::shown:
            return "shown";
    }
    return "?";
}

}  // namespace pelliwig::sim
