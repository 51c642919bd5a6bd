#include <algorithm>

#include "core/engine/ReminderEngine.h"

namespace pelliwig {

namespace {

bool distracting(std::optional<AppBucket> bucket) {
    return bucket && isLeisure(*bucket);
}
bool work(std::optional<AppBucket> bucket) {
    return bucket && isWork(*bucket);
}

}  // namespace

void ReminderEngine::noticeApp(const TickContext& context, std::optional<AppBucket> bucket) {
    if (context.frontKey == lastFrontKey_) return;
    const std::optional<AppBucket> previous = curBucket_;
    const double stretch = context.now - curStart_;
    lastFrontKey_ = context.frontKey;
    curBucket_ = bucket;
    curStart_ = context.now;

    if (!bucket || !context.frontApp || !previous) return;
    if (stretch < kAppStretchMinimum) return;
    if (!prefs_.isEnabled(ReminderKind::appSwitch)) return;
    const auto watched = prefs_.watchedBuckets.get();
    if (std::find(watched.begin(), watched.end(), *bucket) == watched.end()) return;
    if (context.now - lastAppComment_ < kAppCommentEvery) return;

    const auto said =
        appSwitchLine(*bucket, *context.frontApp, previous, stretch, context.minutesOfDay);
    if (!said) return;
    // The clock restarts even if the gate then refuses: she had her say.
    lastAppComment_ = context.now;
    fire(plainCue(ReminderKind::appSwitch, std::nullopt, said->text, Face::mood(said->mood)));
}

std::optional<ReminderEngine::Said> ReminderEngine::appSwitchLine(AppBucket bucket,
                                                                  const std::string& name,
                                                                  std::optional<AppBucket> previous,
                                                                  double stretch, int at) {
    auto candidate = switchCandidate(bucket, name, previous, stretch, at);
    if (!candidate) return std::nullopt;
    if (ports_.random.uniform() >= candidate->odds) return std::nullopt;
    return std::move(candidate->said);
}

// The first row that matches gives the words, the face and the odds.
std::optional<ReminderEngine::Candidate> ReminderEngine::switchCandidate(
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
        return teasingCandidate(bucket, name);
    }
    if (work(bucket)) {
        if (distracting(previous) && stretch >= 1200) {
            return Candidate{{pickFilled(t.appProud, "appProud", name), Mood::proud}, 0.5};
        }
        return Candidate{{genericAppLine(bucket, name, generic), Mood::happy}, 0.2};
    }
    return Candidate{{genericAppLine(bucket, name, generic), Mood::smug}, 0.15};
}

// A distracting app by day: nothing when roasting is off, else jealousy,
// a savage roast (on a coin) or an ordinary quip.
std::optional<ReminderEngine::Candidate> ReminderEngine::teasingCandidate(AppBucket bucket,
                                                                          const std::string& name) {
    const auto& t = LineBank::tables();
    const RoastLevel roast = prefs_.roastLevel.get();
    if (roast == RoastLevel::off) return std::nullopt;
    if ((bucket == AppBucket::social || bucket == AppBucket::dating) && memory_.jealousy() >= 60) {
        return Candidate{{pickFilled(t.jealousOpen, "jealous", name), Mood::annoyed}, 0.6};
    }
    if (roast == RoastLevel::savage && t.appRoast.contains(bucket) && ports_.random.coin()) {
        const std::string key = "roast|" + rawString(bucket);
        return Candidate{{pickFilled(t.appRoast.at(bucket), key, name), Mood::annoyed}, 0.5};
    }
    const Mood mood = bucket == AppBucket::dating ? Mood::pouty : Mood::smug;
    return Candidate{{genericAppLine(bucket, name, "switch|" + rawString(bucket)), mood}, 0.4};
}

}  // namespace pelliwig
