#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/content/AppBucket.h"
#include "core/content/Appearance.h"
#include "core/content/Language.h"
#include "core/content/Reminder.h"
#include "core/settings/NotchPlacement.h"
#include "core/settings/Stored.h"
#include "core/settings/UserRecords.h"
#include "core/support/Clock.h"

namespace pelliwig {

// Every user setting, each its own stored cell:
//   prefs.minGap.get(), prefs.minGap.set(30)
// Observers hear `willChange` before every write and `changed` (with the key)
// after it. Nothing is written until the user changes something.
class Prefs {
public:
    explicit Prefs(KeyValueStore& store);
    Prefs(const Prefs&) = delete;
    Prefs& operator=(const Prefs&) = delete;

    Signal<> willChange;
    Signal<std::string_view> changed;

    Stored<bool> hasOnboarded;
    Stored<Language> language;
    Stored<Appearance> appearance;
    Stored<std::vector<ReminderKind>> enabledKinds;
    Stored<int> quietStart;
    Stored<int> quietEnd;
    Stored<int> minGap;
    Stored<double> showSeconds;
    Stored<int> bedtime;
    Stored<int> callTime;
    Stored<int> breakEvery;
    Stored<int> waterEvery;
    Stored<int> appTimeLimit;
    Stored<std::optional<MonthDay>> birthday;
    Stored<std::optional<MonthDay>> anniversary;
    Stored<std::vector<CustomReminder>> customReminders;
    Stored<std::vector<Countdown>> countdowns;
    Stored<std::vector<SpecialDate>> specialDates;
    Stored<std::vector<TaughtLine>> taughtLines;
    Stored<std::optional<std::string>> photoFolder;
    Stored<std::optional<Instant>, OptionalCodec<Instant, DateCodec>> bigDay;
    Stored<std::string> bigDayLabel;
    Stored<RoastLevel> roastLevel;
    Stored<std::vector<AppBucket>> watchedBuckets;
    Stored<bool> idlePeeks;
    Stored<bool> sleepInNotch;
    Stored<int> surprisesPerWeek;
    // Where she sits: along the top of which screen.
    Stored<NotchPosition> notchPosition;
    Stored<std::string> notchScreen;

    // Both settings above, as one value.
    NotchPlacement placement() const;
    // The end of a pause the user asked for; nothing stored when not paused.
    Stored<std::optional<Instant>, OptionalCodec<Instant, DateCodec>> pausedUntil;
    Stored<bool> followDoNotDisturb;
    Stored<bool> quietDuringFullScreen;
    // She comes and goes without sliding or springing, and her eyes stay
    // still; the desktop's own setting asks the same.
    Stored<bool> reduceMotion;
    // The key that brings the keyboard to her bubble ("Ctrl+Alt+Z"); empty
    // for none, as it starts.
    Stored<std::string> bubbleShortcut;

    // Custom reminders are always on as a kind (each has its own switch);
    // every other kind is on when listed in enabledKinds.
    bool isEnabled(ReminderKind kind) const;
    // Removes every entry of kind and, when on, appends it at the end.
    void setEnabled(ReminderKind kind, bool on);
    // A big day today or within the next 7 days.
    bool bigDayActive(const Clock& clock) const;

    // The keys of all settings, in declaration order.
    std::vector<std::string> keys() const;
};

}  // namespace pelliwig
