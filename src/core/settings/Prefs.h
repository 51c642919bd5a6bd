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

    // Calls visit(cell) on every setting's cell once, in declaration order,
    // whatever its type: what concerns every setting (the keys, a check of
    // each, the values a script may set) walks this instead of naming them.
    template <typename Visitor>
    void forEach(Visitor&& visit) {
        visitCells(*this, visit);
    }
    template <typename Visitor>
    void forEach(Visitor&& visit) const {
        visitCells(*this, visit);
    }

private:
    // The one list of cells, for a Prefs and a const Prefs alike. A cell
    // declared above and missing here leaves a gap a test finds.
    template <typename Self, typename Visitor>
    static void visitCells(Self& self, Visitor& visit) {
        visit(self.hasOnboarded);
        visit(self.language);
        visit(self.appearance);
        visit(self.enabledKinds);
        visit(self.quietStart);
        visit(self.quietEnd);
        visit(self.minGap);
        visit(self.showSeconds);
        visit(self.bedtime);
        visit(self.callTime);
        visit(self.breakEvery);
        visit(self.waterEvery);
        visit(self.appTimeLimit);
        visit(self.birthday);
        visit(self.anniversary);
        visit(self.customReminders);
        visit(self.countdowns);
        visit(self.specialDates);
        visit(self.taughtLines);
        visit(self.photoFolder);
        visit(self.bigDay);
        visit(self.bigDayLabel);
        visit(self.roastLevel);
        visit(self.watchedBuckets);
        visit(self.idlePeeks);
        visit(self.sleepInNotch);
        visit(self.surprisesPerWeek);
        visit(self.notchPosition);
        visit(self.notchScreen);
        visit(self.pausedUntil);
        visit(self.followDoNotDisturb);
        visit(self.quietDuringFullScreen);
        visit(self.reduceMotion);
        visit(self.bubbleShortcut);
    }
};

}  // namespace pelliwig
