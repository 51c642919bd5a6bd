#include "core/content/Reminder.h"

namespace pelliwig {

namespace {

struct KindInfo {
    std::string_view title;
    Mood face;
};

// Indexed by ReminderKind.
constexpr std::array<KindInfo, 23> kKindInfo{{
    {"Low battery", Mood::annoyed},
    {"Charger connected", Mood::smug},
    {"Time for bed", Mood::sleepy},
    {"Take a break", Mood::annoyed},
    {"Drink water", Mood::pouty},
    {"Have you eaten?", Mood::smug},
    {"Check in", Mood::love},
    {"Focus finished", Mood::proud},
    {"Morning hello", Mood::happy},
    {"Upcoming event", Mood::shocked},
    {"Time in an app", Mood::smug},
    {"Birthday", Mood::love},
    {"Anniversary", Mood::love},
    {"Your reminder", Mood::happy},
    {"Random sweetness", Mood::love},
    {"After a meeting", Mood::happy},
    {"Sunday scorecard", Mood::proud},
    {"Countdowns", Mood::happy},
    {"Special dates", Mood::happy},
    {"Big day support", Mood::proud},
    {"Hover to summon", Mood::love},
    {"Photo moments", Mood::love},
    {"Notices what you open", Mood::smug},
}};

}  // namespace

std::string describe(const Face& face) {
    if (const auto* mood = std::get_if<Mood>(&face.value)) return "mood:" + rawString(*mood);
    return "pose:" + rawString(std::get<Pose>(face.value));
}

std::string_view title(ReminderKind kind) {
    return kKindInfo[static_cast<std::size_t>(kind)].title;
}

Face defaultFace(ReminderKind kind) {
    return Face::mood(kKindInfo[static_cast<std::size_t>(kind)].face);
}

const std::vector<ReminderKind>& defaultEnabledKinds() {
    static const std::vector<ReminderKind> kinds = [] {
        std::vector<ReminderKind> all;
        for (auto kind : allCases<ReminderKind>()) {
            if (kind != ReminderKind::calendar && kind != ReminderKind::photo) all.push_back(kind);
        }
        return all;
    }();
    return kinds;
}

Face Moment::resolvedFace() const {
    if (face) return *face;
    if (style == MomentStyle::reaction) return Face::mood(Mood::love);
    return defaultFace(kind);
}

}  // namespace pelliwig
