#include "core/settings/Prefs.h"

#include <algorithm>

namespace pelliwig {

Prefs::Prefs(KeyValueStore& store)
    : hasOnboarded(store, willChange, changed, "hasOnboarded", false),
      language(store, willChange, changed, "language", Language::hinglish),
      appearance(store, willChange, changed, "appearance", Appearance::zuzi),
      enabledKinds(store, willChange, changed, "enabledKinds", defaultEnabledKinds()),
      quietStart(store, willChange, changed, "quietStart", 30),
      quietEnd(store, willChange, changed, "quietEnd", 420),
      minGap(store, willChange, changed, "minGap", 20),
      showSeconds(store, willChange, changed, "showSeconds", 8.0),
      bedtime(store, willChange, changed, "bedtime", 1410),
      callTime(store, willChange, changed, "callTime", 1050),
      breakEvery(store, willChange, changed, "breakEvery", 60),
      waterEvery(store, willChange, changed, "waterEvery", 90),
      appTimeLimit(store, willChange, changed, "appTimeLimit", 120),
      birthday(store, willChange, changed, "birthday", std::nullopt),
      anniversary(store, willChange, changed, "anniversary", std::nullopt),
      customReminders(store, willChange, changed, "customReminders", {}),
      countdowns(store, willChange, changed, "countdowns", {}),
      specialDates(store, willChange, changed, "specialDates", {}),
      taughtLines(store, willChange, changed, "taughtLines", {}),
      photoFolder(store, willChange, changed, "photoFolder", std::nullopt),
      bigDay(store, willChange, changed, "bigDay", std::nullopt),
      bigDayLabel(store, willChange, changed, "bigDayLabel", ""),
      roastLevel(store, willChange, changed, "roastLevel", RoastLevel::playful),
      watchedBuckets(store, willChange, changed, "watchedBuckets", pelliwig::watchedBuckets()),
      idlePeeks(store, willChange, changed, "idlePeeks", true),
      sleepInNotch(store, willChange, changed, "sleepInNotch", true),
      surprisesPerWeek(store, willChange, changed, "surprisesPerWeek", 3),
      notchPosition(store, willChange, changed, "notchPosition", NotchPosition::topCentre),
      notchScreen(store, willChange, changed, "notchScreen",
                  std::string(NotchPlacement::kPrimaryScreen)),
      pausedUntil(store, willChange, changed, "pausedUntil", std::nullopt),
      followDoNotDisturb(store, willChange, changed, "followDoNotDisturb", true),
      quietDuringFullScreen(store, willChange, changed, "quietDuringFullScreen", true),
      reduceMotion(store, willChange, changed, "reduceMotion", false),
      bubbleShortcut(store, willChange, changed, "bubbleShortcut", "") {}

bool Prefs::isEnabled(ReminderKind kind) const {
    if (kind == ReminderKind::custom) return true;
    const auto kinds = enabledKinds.get();
    return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

void Prefs::setEnabled(ReminderKind kind, bool on) {
    auto kinds = enabledKinds.get();
    std::erase(kinds, kind);
    if (on) kinds.push_back(kind);
    enabledKinds.set(kinds);
}

bool Prefs::bigDayActive(const Clock& clock) const {
    const auto day = bigDay.get();
    if (!day) return false;
    const int days = clock.daysUntil(*day, clock.now());
    return days >= 0 && days <= 7;
}

std::vector<std::string> Prefs::keys() const {
    std::vector<std::string> keys;
    forEach([&keys](const auto& cell) { keys.push_back(cell.key()); });
    return keys;
}

NotchPlacement Prefs::placement() const {
    return {notchPosition.get(), notchScreen.get()};
}

}  // namespace pelliwig
