#include "core/menu/StatusLine.h"

#include <utility>

#include <nlohmann/json.hpp>

namespace pelliwig {
namespace {

std::string classOf(const Outlook& outlook) {
    switch (outlook.hold) {
        case GateVerdict::inCall:
            return "call";
        case GateVerdict::paused:
            return "paused";
        case GateVerdict::doNotDisturb:
            return "dnd";
        case GateVerdict::fullScreen:
            return "fullscreen";
        case GateVerdict::quietHours:
            return "quiet";
        default:
            return outlook.next ? "next" : "idle";
    }
}

StatusLine starting() {
    return {"Zuzi is starting", "Zuzi is starting", "starting"};
}

}  // namespace

StatusLine StatusLine::of(const std::optional<Outlook>& outlook, std::string_view timeLocale) {
    if (!outlook) return starting();
    return saying(*outlook, outlookLine(*outlook, timeLocale));
}

StatusLine StatusLine::of(const std::optional<Outlook>& outlook, const TimeOfDayText& timeText) {
    if (!outlook) return starting();
    return saying(*outlook, outlookLine(*outlook, timeText));
}

StatusLine StatusLine::saying(const Outlook& outlook, std::optional<std::string> line) {
    // Neither water nor breaks on, and nothing holding her back.
    std::string text = std::move(line).value_or("Nothing coming");
    std::string tooltip = "Zuzi: " + text;
    return {std::move(text), std::move(tooltip), classOf(outlook)};
}

StatusLine StatusLine::stopped() {
    return {"", "Zuzi is not running", "stopped"};
}

std::string StatusLine::json() const {
    // Replacement keeps a stray byte in a line from making the dump throw.
    return nlohmann::json{
        {"text", text}, {"tooltip", tooltip}, {"class", cssClass}, {"alt", cssClass}}
        .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace pelliwig
