#include "desktop/settings/ReminderDetail.h"

#include "core/content/DayWindows.h"
#include "desktop/settings/HomePath.h"
#include "desktop/support/TimeText.h"
#include "linux/calendar/IcalEventStore.h"

namespace pelliwig {

namespace {

std::string at(int minutes) {
    return timeOfDayText(minutes).toStdString();
}

}  // namespace

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
            // The meal rule's two windows.
            return DetailNote{"Lunch " + at(DayWindows::kLunch.start) + "–" +
                              at(DayWindows::kLunch.end) + ", dinner " +
                              at(DayWindows::kDinner.start) + "–" + at(DayWindows::kDinner.end)};
        case K::call:
            return DetailTime{"Around", &Prefs::callTime};
        case K::focus:
            return DetailNote{
                "Start a focus session from her menu (the heart in your tray, or right-click "
                "her)."};
        case K::morning:
            return DetailNote{"First time you're active between " + at(DayWindows::kMorning.start) +
                              " and " + at(DayWindows::kMorning.end) + "."};
        case K::calendar:
            return DetailNote{calendarNote(
                shownPath(IcalEventStore::droppedFolder(IcalEventStore::dataHome()).string()))};
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
                "Rest the mouse at the top centre of the screen and she comes out. Her eyes "
                "follow the cursor."};
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

std::string calendarNote(std::string_view folder) {
    return "Ten minutes before an event. Events come from Evolution and GNOME Calendar, and from "
           "any .ics file in " +
           std::string(folder) + ".";
}

}  // namespace pelliwig
