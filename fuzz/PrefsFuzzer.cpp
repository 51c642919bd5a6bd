// Any bytes stored under every setting's key: each setting reads as some
// value without crashing, and what it reads stores and reads back as itself.
#include <cmath>

#include "FuzzSupport.h"
#include "core/settings/Prefs.h"
#include "fakes/MemoryStore.h"
#include "fakes/VirtualScheduler.h"

namespace {

using namespace pelliwig;

template <typename T>
bool same(const T& a, const T& b) {
    return a == b;
}

template <typename S>
void readsBack(S& setting) {
    const auto value = setting.get();
    setting.set(value);
    PELLIWIG_FUZZ_EXPECT(same(setting.get(), value));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::fixZone();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes = fuzz::text(data, size);
    MemoryStore store;
    Prefs prefs(store);
    for (const auto& key : prefs.keys()) store.write(key, bytes);

    VirtualScheduler scheduler(fuzz::kNow);
    const Clock clock(scheduler);
    for (std::size_t i = 0; i < caseCount<ReminderKind>(); ++i) {
        (void)prefs.isEnabled(static_cast<ReminderKind>(i));
    }
    (void)prefs.bigDayActive(clock);

    readsBack(prefs.hasOnboarded);
    readsBack(prefs.language);
    readsBack(prefs.appearance);
    readsBack(prefs.enabledKinds);
    readsBack(prefs.quietStart);
    readsBack(prefs.quietEnd);
    readsBack(prefs.minGap);
    readsBack(prefs.showSeconds);
    readsBack(prefs.bedtime);
    readsBack(prefs.callTime);
    readsBack(prefs.breakEvery);
    readsBack(prefs.waterEvery);
    readsBack(prefs.appTimeLimit);
    readsBack(prefs.birthday);
    readsBack(prefs.anniversary);
    readsBack(prefs.customReminders);
    readsBack(prefs.countdowns);
    readsBack(prefs.specialDates);
    readsBack(prefs.taughtLines);
    readsBack(prefs.photoFolder);
    readsBack(prefs.bigDay);
    readsBack(prefs.bigDayLabel);
    readsBack(prefs.roastLevel);
    readsBack(prefs.watchedBuckets);
    readsBack(prefs.idlePeeks);
    readsBack(prefs.sleepInNotch);
    readsBack(prefs.surprisesPerWeek);
    prefs.setEnabled(ReminderKind::water, true);
    PELLIWIG_FUZZ_EXPECT(prefs.isEnabled(ReminderKind::water));
    return 0;
}
