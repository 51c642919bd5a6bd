#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/content/Reminder.h"
#include "core/settings/Prefs.h"

namespace pelliwig {

// What the Reminders tab shows under a kind's switch while the kind is on.

// A note in the secondary style.
struct DetailNote {
    std::string text;
};

// A time-of-day field labelled `label`.
struct DetailTime {
    std::string_view label;
    Stored<int> Prefs::*setting;
};

// A stepper showing prefix, the value, suffix; it never leaves [min, max].
struct DetailStepper {
    std::string_view prefix;
    std::string_view suffix;
    int min;
    int max;
    int step;
    Stored<int> Prefs::*setting;
};

using ReminderDetail = std::variant<std::monostate, DetailNote, DetailTime, DetailStepper>;

ReminderDetail reminderDetail(ReminderKind kind);

// The kinds with a section on the Reminders tab, in declaration order: all
// but the four set up with their records (custom, countdown, date, deadline).
const std::vector<ReminderKind>& remindersTabKinds();

// Where calendar events come from, with the folder of the user's own .ics
// files as it is shown.
std::string calendarNote(std::string_view folder);

// The General tab's stepper for the minimum gap between nudges.
DetailStepper minGapStepper();

}  // namespace pelliwig
