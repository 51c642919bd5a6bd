#pragma once

#include <string>

#include "core/content/LineBank.h"
#include "core/engine/Memory.h"
#include "core/settings/Prefs.h"
#include "core/support/Clock.h"

namespace pelliwig {

// How a week went, by the scorecard's rule: good with fewer than 4 ignored
// moments and more than 6 water answers, so-so with fewer than 12 ignored
// moments, else bad.
enum class WeekVerdict { good, meh, bad };

WeekVerdict weekVerdict(int waterAcks, int ignored);

// Her verdict sentences for a tier, in both languages.
const LineBank::LanguageTable& verdictLines(WeekVerdict verdict);

// The Sunday scorecard: hours at the computer, the longest sitting, water and
// a verdict over the last seven days, with a jab at a leisure category that
// took three hours or more.
class WeeklyReport {
public:
    WeeklyReport(Memory& memory, const Prefs& prefs, LineBank& lines, const Clock& clock)
        : memory_(memory), prefs_(prefs), lines_(lines), clock_(clock) {}

    // Builds the text and marks this week as reported (saved at once), so the
    // scorecard comes once a week whether or not the user answers.
    std::string reportLine();

private:
    Memory& memory_;
    const Prefs& prefs_;
    LineBank& lines_;
    const Clock& clock_;
};

}  // namespace pelliwig
