#include "core/content/Reminder.h"

namespace pelliwig {

namespace {

struct KindInfo {
    std::string_view title;
    Mood face;
    // Its normal moments carry answer buttons: it asks something of the user,
    // so she can sulk or be jealous about it.
    bool asksForAnswer;
    // It speaks of a record the user entered (a reminder, a countdown, a date),
    // so there is nothing to preview without one.
    bool needsRecord;
};

// Indexed by ReminderKind.
constexpr std::array<KindInfo, 23> kKindInfo{{
    {"Low battery", Mood::annoyed, true, false},          // battery
    {"Charger connected", Mood::smug, false, false},      // charger
    {"Time for bed", Mood::sleepy, true, false},          // bedtime
    {"Take a break", Mood::annoyed, true, false},         // breaks
    {"Drink water", Mood::pouty, true, false},            // water
    {"Have you eaten?", Mood::smug, true, false},         // meal
    {"Check in", Mood::love, true, false},                // call
    {"Focus finished", Mood::proud, false, false},        // focus
    {"Morning hello", Mood::happy, false, false},         // morning
    {"Upcoming event", Mood::shocked, true, false},       // calendar
    {"Time in an app", Mood::smug, true, false},          // appTime
    {"Birthday", Mood::love, false, false},               // birthday
    {"Anniversary", Mood::love, false, false},            // anniversary
    {"Your reminder", Mood::happy, true, true},           // custom
    {"Random sweetness", Mood::love, false, false},       // surprise
    {"After a meeting", Mood::happy, false, false},       // meeting
    {"Sunday scorecard", Mood::proud, false, false},      // report
    {"Countdowns", Mood::happy, false, true},             // countdown
    {"Special dates", Mood::happy, false, true},          // date
    {"Big day support", Mood::proud, false, true},        // deadline
    {"Hover to summon", Mood::love, false, false},        // hover
    {"Photo moments", Mood::love, false, false},          // photo
    {"Notices what you open", Mood::smug, false, false},  // appSwitch
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

bool asksForAnswer(ReminderKind kind) {
    return kKindInfo[static_cast<std::size_t>(kind)].asksForAnswer;
}

const std::vector<ReminderKind>& previewKinds() {
    static const std::vector<ReminderKind> kinds = [] {
        auto all = allCases<ReminderKind>();
        std::erase_if(all, [](ReminderKind kind) {
            return kKindInfo[static_cast<std::size_t>(kind)].needsRecord;
        });
        return all;
    }();
    return kinds;
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
