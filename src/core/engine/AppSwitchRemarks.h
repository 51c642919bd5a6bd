#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/content/AppBucket.h"
#include "core/content/LineBank.h"
#include "core/content/Reminder.h"
#include "core/engine/Memory.h"
#include "core/platform/Random.h"
#include "core/sensors/TickContext.h"
#include "core/settings/Prefs.h"

namespace pelliwig {

// Her remarks on the application the user switches to: late at night, after
// a long stretch of work, jealous, roasting or proud, at most one every 75
// minutes. It follows the front application and decides what she would
// say; whether she says it is the engine's gate.
class AppSwitchRemarks {
public:
    // What she would say, and with which face.
    struct Said {
        std::string text;
        Mood mood;
        bool operator==(const Said&) const = default;
    };

    // Less time than this in the previous application earns no remark.
    static constexpr double kStretchMinimum = 300;
    // At most one remark in this many seconds.
    static constexpr double kCommentEvery = 4500;

    // The first switch is measured from `start`. The lines come from
    // `lines`, so they share its memory of what was said last.
    AppSwitchRemarks(const Prefs& prefs, const Memory& memory, LineBank& lines, Random& random,
                     Instant start);

    // The tick's front application: on a switch to a watched bucket, long
    // enough after the last, her remark if the dice allow one. A remark
    // restarts the 75 minutes even if the gate then refuses it: she had her
    // say.
    std::optional<Said> notice(const TickContext& context, std::optional<AppBucket> bucket);

    // The remark for a switch to `bucket` after `stretch` seconds in
    // `previous`, at minute `at` of the day, if the dice allow one.
    std::optional<Said> remark(AppBucket bucket, const std::string& name,
                               std::optional<AppBucket> previous, double stretch, int at);

    // The bucket's own quips about `name`, or the catch-all ones when it has
    // none, without repeating the last under `key`.
    std::string genericLine(AppBucket bucket, const std::string& name, std::string_view key);

private:
    struct Candidate {
        Said said;
        double odds;
    };
    std::optional<Candidate> candidate(AppBucket bucket, const std::string& name,
                                       std::optional<AppBucket> previous, double stretch, int at);
    std::optional<Candidate> teasing(AppBucket bucket, const std::string& name);
    std::string pickFilled(const LineBank::LanguageTable& table, std::string_view key,
                           const std::string& app);

    const Prefs& prefs_;
    const Memory& memory_;
    LineBank& lines_;
    Random& random_;
    std::string lastFrontKey_;
    std::optional<AppBucket> bucket_;
    Instant since_;
    Instant lastRemark_ = kDistantPast;
};

}  // namespace pelliwig
