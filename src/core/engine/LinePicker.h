#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/content/AppBucket.h"
#include "core/content/LineBank.h"
#include "core/engine/Memory.h"
#include "core/engine/WeeklyReport.h"
#include "core/platform/Random.h"
#include "core/settings/Prefs.h"
#include "core/support/Clock.h"

namespace pelliwig {

// The app-time category of a bucket: work apps, social time, the browser,
// and everything else (shopping included).
LineBank::AppCategory appCategoryOf(AppBucket bucket);

// The words in her bubble. Chooses the table for a moment from her mood and
// memory, expands braced cue tokens such as "{surprise}" or "{countdown:ID}",
// and fills the placeholders of what it picked. Owned by the engine; every
// choice goes through the line bank's no-repeat memory and the given random
// source.
class LinePicker {
public:
    LinePicker(const Prefs& prefs, Memory& memory, LineBank& lines, Random& random,
               const Clock& clock);

    // The line for a cue that carries none.
    std::string pickLine(ReminderKind kind, MomentStyle style);

    // A cue line that is exactly one braced token becomes a sentence; any
    // other line, and a token that names nothing known, comes back unchanged.
    std::string resolve(const std::string& line);

    // The greeting for a bedtime or water streak that just reached a milestone.
    std::optional<std::string> streakLine();

private:
    Language language() const { return prefs_.language.get(); }
    std::string pick(const LineBank::LanguageTable& table, std::string_view key);

    std::optional<std::string> sulkingLine(ReminderKind kind);
    std::optional<std::string> jealousLine(ReminderKind kind);
    std::optional<std::string> roastLine(ReminderKind kind);
    std::string morningLine();

    std::string resolveToken(std::string_view name, const std::optional<std::string>& argument,
                             const std::string& line);
    std::string surpriseLine();
    std::string bigDayLabel() const;
    std::string appTimeLine(const std::optional<std::string>& appName);
    std::optional<std::string> countdownLine(const std::string& id);

    const Prefs& prefs_;
    Memory& memory_;
    LineBank& lines_;
    Random& random_;
    const Clock& clock_;
    WeeklyReport report_;
};

}  // namespace pelliwig
