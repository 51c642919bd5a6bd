// Any bytes as the stored memory document: she loads some state, lives a
// little with it, and what she saves loads again as the same state.
#include "FuzzSupport.h"
#include "core/engine/Memory.h"
#include "fakes/MemoryStore.h"
#include "fakes/VirtualScheduler.h"

using namespace pelliwig;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::fixZone();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemoryStore store;
    store.write(Memory::kKey, fuzz::text(data, size));
    VirtualScheduler scheduler(fuzz::kNow);
    const Clock clock(scheduler);

    Memory memory(store, clock);
    memory.recordTick(30, 600, AppBucket::social);
    memory.recordAck(ReminderKind::water);
    memory.recordSnooze(ReminderKind::bedtime);
    memory.recordIgnored(ReminderKind::breaks);
    (void)memory.today();
    (void)memory.jealousy();
    (void)memory.lastDays(7);
    (void)memory.topLeisure(7);
    scheduler.advance(86400);
    memory.rollDayIfNeeded();
    memory.save(false);

    const Memory again(store, clock);
    PELLIWIG_FUZZ_EXPECT(again.state == memory.state);
    return 0;
}
