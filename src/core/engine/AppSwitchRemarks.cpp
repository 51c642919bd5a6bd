#include "core/engine/AppSwitchRemarks.h"

#include <algorithm>
#include <utility>

#include "core/content/Placeholders.h"

namespace pelliwig {

namespace {

bool distracting(std::optional<AppBucket> bucket) {
    return bucket && isLeisure(*bucket);
}
bool work(std::optional<AppBucket> bucket) {
    return bucket && isWork(*bucket);
}

}  // namespace

AppSwitchRemarks::AppSwitchRemarks(const Prefs& prefs, const Memory& memory, LineBank& lines,
                                   Random& random, Instant start)
    : prefs_(prefs), memory_(memory), lines_(lines), random_(random), since_(start) {}

std::optional<AppSwitchRemarks::Said> AppSwitchRemarks::notice(const TickContext& context,
                                                               std::optional<AppBucket> bucket) {
    if (context.frontKey == lastFrontKey_) return std::nullopt;
    const std::optional<AppBucket> previous = bucket_;
    const double stretch = context.now - since_;
    lastFrontKey_ = context.frontKey;
    bucket_ = bucket;
    since_ = context.now;

    if (!bucket || !context.frontApp || !previous) return std::nullopt;
    if (stretch < kStretchMinimum) return std::nullopt;
    if (!prefs_.isEnabled(ReminderKind::appSwitch)) return std::nullopt;
    const auto watched = prefs_.watchedBuckets.get();
    if (std::find(watched.begin(), watched.end(), *bucket) == watched.end()) return std::nullopt;
    if (context.now - lastRemark_ < kCommentEvery) return std::nullopt;

    auto said = remark(*bucket, *context.frontApp, previous, stretch, context.minutesOfDay);
    if (said) lastRemark_ = context.now;
    return said;
}

std::optional<AppSwitchRemarks::Said> AppSwitchRemarks::remark(AppBucket bucket,
                                                               const std::string& name,
                                                               std::optional<AppBucket> previous,
                                                               double stretch, int at) {
    auto chosen = candidate(bucket, name, previous, stretch, at);
    if (!chosen) return std::nullopt;
    if (random_.uniform() >= chosen->odds) return std::nullopt;
    return std::move(chosen->said);
}

// The first row that matches gives the words, the face and the odds.
std::optional<AppSwitchRemarks::Candidate> AppSwitchRemarks::candidate(
    AppBucket bucket, const std::string& name, std::optional<AppBucket> previous, double stretch,
    int at) {
    const auto& t = LineBank::tables();
    const std::string generic = "switch|" + rawString(bucket);
    if (distracting(bucket)) {
        if (at < 240 || at >= prefs_.bedtime.get()) {
            return Candidate{{pickFilled(t.appLateNight, "appLate", name), Mood::sleepy}, 0.6};
        }
        if (work(previous) && stretch >= 2700) {
            return Candidate{{pickFilled(t.appEarnedBreak, "appEarned", name), Mood::love}, 0.5};
        }
        return teasing(bucket, name);
    }
    if (work(bucket)) {
        if (distracting(previous) && stretch >= 1200) {
            return Candidate{{pickFilled(t.appProud, "appProud", name), Mood::proud}, 0.5};
        }
        return Candidate{{genericLine(bucket, name, generic), Mood::happy}, 0.2};
    }
    return Candidate{{genericLine(bucket, name, generic), Mood::smug}, 0.15};
}

// A distracting app by day: nothing when roasting is off, else jealousy,
// a savage roast (on a coin) or an ordinary quip.
std::optional<AppSwitchRemarks::Candidate> AppSwitchRemarks::teasing(AppBucket bucket,
                                                                     const std::string& name) {
    const auto& t = LineBank::tables();
    const RoastLevel roast = prefs_.roastLevel.get();
    if (roast == RoastLevel::off) return std::nullopt;
    if ((bucket == AppBucket::social || bucket == AppBucket::dating) && memory_.jealousy() >= 60) {
        return Candidate{{pickFilled(t.jealousOpen, "jealous", name), Mood::annoyed}, 0.6};
    }
    if (roast == RoastLevel::savage && t.appRoast.contains(bucket) && random_.coin()) {
        const std::string key = "roast|" + rawString(bucket);
        return Candidate{{pickFilled(t.appRoast.at(bucket), key, name), Mood::annoyed}, 0.5};
    }
    const Mood mood = bucket == AppBucket::dating ? Mood::pouty : Mood::smug;
    return Candidate{{genericLine(bucket, name, "switch|" + rawString(bucket)), mood}, 0.4};
}

std::string AppSwitchRemarks::genericLine(AppBucket bucket, const std::string& name,
                                          std::string_view key) {
    const auto& quips = LineBank::tables().appSwitch;
    auto table = quips.find(bucket);
    if (table == quips.end()) table = quips.find(AppBucket::other);
    if (table == quips.end()) return pickFilled({}, key, name);
    return pickFilled(table->second, key, name);
}

std::string AppSwitchRemarks::pickFilled(const LineBank::LanguageTable& table, std::string_view key,
                                         const std::string& app) {
    return fillPlaceholders(lines_.pick(table, prefs_.language.get(), key), {{"app", app}});
}

}  // namespace pelliwig
