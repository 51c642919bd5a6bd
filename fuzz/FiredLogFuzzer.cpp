// Any bytes as the stored fired log: it loads (or starts empty), takes a new
// key, and what it stored loads again as the same log.
#include "FuzzSupport.h"
#include "core/engine/FiredLog.h"
#include "fakes/MemoryStore.h"
#include "fakes/VirtualScheduler.h"

using namespace pelliwig;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::fixZone();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemoryStore store;
    store.write(FiredLog::kKey, fuzz::text(data, size));
    VirtualScheduler scheduler(fuzz::kNow);
    const Clock clock(scheduler);

    FiredLog log(store, clock);
    log.mark("water|2026-3-29|1");
    PELLIWIG_FUZZ_EXPECT(log.contains("water|2026-3-29|1"));

    const FiredLog again(store, clock);
    PELLIWIG_FUZZ_EXPECT(again.entries() == log.entries());
    return 0;
}
