// Any bytes as a calendar file: parsed and expanded over a day and over a
// season, every occurrence sorted and overlapping the range asked.
#include <libical/ical.h>

#include "FuzzSupport.h"
#include "linux/calendar/IcalCalendarFile.h"

using namespace pelliwig;

namespace {

void expand(const IcalCalendarFile& calendar, Instant from, Instant to) {
    const auto events = calendar.events(from, to);
    for (std::size_t i = 1; i < events.size(); ++i) {
        PELLIWIG_FUZZ_EXPECT(events[i - 1].start <= events[i].start);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::fixZone();
    icalerror_set_errors_are_fatal(0);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parsed = IcalCalendarFile::parse(fuzz::text(data, size));
    const auto& calendar = parsed.file;
    if (!calendar) return 0;
    expand(*calendar, fuzz::kNow + 540, fuzz::kNow + 660);
    expand(*calendar, fuzz::kNow - 86400 * 45, fuzz::kNow + 86400 * 45);
    return 0;
}
