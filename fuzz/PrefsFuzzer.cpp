// Any bytes stored under every setting's key: each setting reads as some
// value without crashing, and what it reads stores and reads back as itself,
// in the same bytes each time it is stored again.
#include "FuzzSupport.h"
#include "core/settings/Prefs.h"
#include "fakes/MemoryStore.h"
#include "fakes/VirtualScheduler.h"

namespace {

using namespace pelliwig;

template <typename Cell>
void readsBack(Cell& cell, const KeyValueStore& store) {
    const auto value = cell.get();
    cell.set(value);
    PELLIWIG_FUZZ_EXPECT(cell.get() == value);
    const auto bytes = store.read(cell.key());
    cell.set(cell.get());
    PELLIWIG_FUZZ_EXPECT(store.read(cell.key()) == bytes);
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

    prefs.forEach([&store](auto& cell) { readsBack(cell, store); });
    prefs.setEnabled(ReminderKind::water, true);
    PELLIWIG_FUZZ_EXPECT(prefs.isEnabled(ReminderKind::water));
    return 0;
}
