#include "desktop/settings/ReminderDetail.h"

namespace pelliwig {

ReminderDetail reminderDetail(ReminderKind kind) {
    using K = ReminderKind;
    switch (kind) {
        case K::battery:
            return DetailNote{"At 20% on battery."};
        case K::bedtime:
            return DetailTime{"Bedtime", &Prefs::bedtime};
        case K::breaks:
            return DetailStepper{"Every ", " min of work", 20, 180, 10, &Prefs::breakEvery};
        case K::water:
            return DetailStepper{"Every ", " min", 30, 240, 15, &Prefs::waterEvery};
        case K::meal:
            return DetailNote{"Lunch 12:30–14:30, dinner 19:30–21:30"};
        case K::call:
            return DetailTime{"Around", &Prefs::callTime};
        case K::focus:
            return DetailNote{"Start a focus session from the menu bar icon."};
        case K::morning:
            return DetailNote{"First time you're active between 5:00 and 11:30."};
        case K::calendar:
            return DetailNote{"Ten minutes before an event. Asks for Calendar access once."};
        case K::appTime:
            return DetailStepper{"After ", " min in one app", 30, 300, 30, &Prefs::appTimeLimit};
        case K::surprise:
            return DetailStepper{"About ", " a week", 1, 14, 1, &Prefs::surprisesPerWeek};
        case K::meeting:
            return DetailNote{
                "She stays quiet while your camera or mic is on, then asks how it went."};
        case K::report:
            return DetailNote{
                "Sunday evening: hours, longest sitting stretch, water count, and her verdict."};
        case K::hover:
            return DetailNote{
                "Rest the mouse in the notch and she comes out. Her eyes follow the cursor."};
        case K::photo:
            return DetailNote{"Weekends. Needs a photo folder under Her world."};
        case K::appSwitch:
            return DetailNote{
                "When you switch apps and it means something. Choose which apps and how hard "
                "she goes under Her world."};
        default:
            return std::monostate{};
    }
}

const std::vector<ReminderKind>& remindersTabKinds() {
    static const std::vector<ReminderKind> kinds = [] {
        std::vector<ReminderKind> shown;
        for (const auto kind : allCases<ReminderKind>()) {
            if (kind != ReminderKind::custom && kind != ReminderKind::countdown &&
                kind != ReminderKind::date && kind != ReminderKind::deadline) {
                shown.push_back(kind);
            }
        }
        return shown;
    }();
    return kinds;
}

DetailStepper minGapStepper() {
    return DetailStepper{"At least ", " min between nudges", 5, 120, 5, &Prefs::minGap};
}

}  // namespace pelliwig
