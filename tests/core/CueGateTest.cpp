#include "core/engine/CueGate.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace pelliwig {
namespace {

// Every hold-back reason switched on: each row switches off the ones before
// the reason it expects, so the row also checks that the earlier ones win.
GateWorld everything() {
    return GateWorld{.inCall = true,
                     .paused = true,
                     .doNotDisturb = true,
                     .fullScreen = true,
                     .quietHours = true,
                     .sinceShown = 10,
                     .minimumGap = 600,
                     .notchBusy = true};
}

GateWorld from(GateVerdict first) {
    GateWorld world = everything();
    const auto at = [first](GateVerdict step) { return step >= first; };
    world.inCall = at(GateVerdict::inCall);
    world.paused = at(GateVerdict::paused);
    world.doNotDisturb = at(GateVerdict::doNotDisturb);
    world.fullScreen = at(GateVerdict::fullScreen);
    world.quietHours = at(GateVerdict::quietHours);
    if (!at(GateVerdict::gap)) world.sinceShown = world.minimumGap;
    world.notchBusy = at(GateVerdict::notchOccupied);
    return world;
}

struct VerdictCase {
    std::string name;
    ReminderKind kind;
    CueFacts facts;
    GateWorld world;
    GateVerdict expected;
    // What holdFor says of the world alone; the verdict when it is the world's.
    std::optional<GateVerdict> worldPart = std::nullopt;
};

class CueGateTest : public ::testing::TestWithParam<VerdictCase> {};

TEST_P(CueGateTest, AnswersWithTheFirstReasonThatHolds) {
    const auto& c = GetParam();
    EXPECT_EQ(CueGate::verdict(c.kind, c.facts, c.world), c.expected);
}

// The world's part alone, as the outlook asks it: the verdict whenever the
// cue's own facts let it through.
TEST_P(CueGateTest, HoldForLeavesOutTheCuesOwnFacts) {
    const auto& c = GetParam();
    EXPECT_EQ(CueGate::holdFor(c.kind, c.world), c.worldPart.value_or(c.expected));
}

using V = GateVerdict;
using K = ReminderKind;
const CueFacts kFresh{};

INSTANTIATE_TEST_SUITE_P(
    Reasons, CueGateTest,
    ::testing::Values(
        VerdictCase{
            "KindOff", K::water, {.kindEnabled = false}, from(V::kindOff), V::kindOff, V::inCall},
        VerdictCase{"OnceKeyUsed",
                    K::water,
                    {.onceKeyUsed = true},
                    from(V::kindOff),
                    V::onceKeyUsed,
                    V::inCall},
        VerdictCase{"InCall", K::water, kFresh, from(V::inCall), V::inCall},
        VerdictCase{"Paused", K::water, kFresh, from(V::paused), V::paused},
        VerdictCase{"DoNotDisturb", K::water, kFresh, from(V::doNotDisturb), V::doNotDisturb},
        VerdictCase{"FullScreen", K::water, kFresh, from(V::fullScreen), V::fullScreen},
        VerdictCase{"QuietHours", K::water, kFresh, from(V::quietHours), V::quietHours},
        VerdictCase{"Gap", K::water, kFresh, from(V::gap), V::gap},
        VerdictCase{"NotchOccupied", K::water, kFresh, from(V::notchOccupied), V::notchOccupied},
        VerdictCase{"Shown", K::breaks, kFresh, from(V::shown), V::shown},
        VerdictCase{"NeverShownYet", K::water, kFresh, GateWorld{.minimumGap = 600}, V::shown},
        // A flat battery is worth interrupting a film for.
        VerdictCase{"BatteryThroughFullScreen", K::battery, kFresh, from(V::fullScreen),
                    V::quietHours},
        // Plugging the charger in is thanked however recent the last nudge.
        VerdictCase{"ChargerThroughTheGap", K::charger, kFresh, from(V::gap), V::notchOccupied},
        VerdictCase{"GapEndsOnTheSecond", K::water, kFresh,
                    GateWorld{.sinceShown = 600, .minimumGap = 600}, V::shown},
        VerdictCase{"GapOneSecondShort", K::water, kFresh,
                    GateWorld{.sinceShown = 599, .minimumGap = 600}, V::gap}),
    [](const auto& row) { return row.param.name; });

}  // namespace
}  // namespace pelliwig
