#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "ReminderEngineWorld.h"

namespace pelliwig {
namespace {

using Gate = ReminderEngine::Gate;

// Monday 10:00 in Berlin, the user at work; water every 30 minutes and a
// break every 60 unless a row says otherwise, no gap.
struct OutlookCase {
    std::string name;
    std::function<void(ReminderEngineWorld&)> before;  // before she starts
    std::function<void(ReminderEngineWorld&)> after;   // once she runs
    Outlook expected;
};

Outlook nextAt(ReminderKind kind, Instant at, Gate hold = Gate::shown) {
    Outlook out;
    out.hold = hold;
    out.next = kind;
    out.nextAt = at;
    return out;
}

std::vector<OutlookCase> outlookCases() {
    const auto nothing = [](ReminderEngineWorld&) {};
    const Outlook water = nextAt(ReminderKind::water, berlin(12, 10, 30));
    const auto held = [&](Gate hold, std::optional<Instant> until = std::nullopt,
                          bool camera = false) {
        Outlook out = water;
        out.hold = hold;
        out.until = until;
        out.camera = camera;
        return out;
    };
    return {
        {"WaterComesFirst", nothing, nothing, water},
        {"BreakComesFirst",
         [](ReminderEngineWorld& w) {
             w.prefs.waterEvery.set(90);
             w.prefs.breakEvery.set(45);
         },
         nothing, nextAt(ReminderKind::breaks, berlin(12, 10, 45))},
        {"BothOff",
         [](ReminderEngineWorld& w) {
             w.prefs.setEnabled(ReminderKind::water, false);
             w.prefs.setEnabled(ReminderKind::breaks, false);
         },
         nothing, Outlook{}},
        {"QuietHours",
         [](ReminderEngineWorld& w) {
             w.prefs.quietStart.set(9 * 60);
             w.prefs.quietEnd.set(11 * 60);
         },
         nothing, held(Gate::quietHours, berlin(12, 11))},
        // Quiet until seven the next morning, past midnight.
        {"QuietOvernight",
         [](ReminderEngineWorld& w) {
             w.prefs.quietStart.set(9 * 60);
             w.prefs.quietEnd.set(7 * 60);
         },
         nothing, held(Gate::quietHours, berlin(13, 7))},
        {"CameraInUse", [](ReminderEngineWorld& w) { w.media.cameraStates = {true}; }, nothing,
         held(Gate::inCall, std::nullopt, true)},
        {"MicrophoneInUse", [](ReminderEngineWorld& w) { w.media.microphone = true; }, nothing,
         held(Gate::inCall)},
        {"Paused", [](ReminderEngineWorld& w) { w.prefs.pausedUntil.set(berlin(12, 15)); }, nothing,
         held(Gate::paused, berlin(12, 15))},
        {"FullScreen",
         [](ReminderEngineWorld& w) {
             w.prefs.quietDuringFullScreen.set(true);
             w.fullScreen.current = true;
         },
         nothing, held(Gate::fullScreen)},
        {"FullScreenNotHeeded",
         [](ReminderEngineWorld& w) {
             w.prefs.quietDuringFullScreen.set(false);
             w.fullScreen.current = true;
         },
         nothing, water},
        {"DoNotDisturb",
         [](ReminderEngineWorld& w) {
             w.prefs.followDoNotDisturb.set(true);
             w.doNotDisturb.current = true;
         },
         nothing, held(Gate::doNotDisturb)},
        // A nudge just now: the gap holds the water back past its time.
        {"GapPushesTheNextOneOut", [](ReminderEngineWorld& w) { w.prefs.minGap.set(45); },
         [](ReminderEngineWorld& w) {
             w.engine->preview(ReminderKind::meal);
             w.notch.dismiss();
         },
         nextAt(ReminderKind::water, berlin(12, 10, 45), Gate::gap)},
    };
}

void PrintTo(const OutlookCase& row, std::ostream* out) {
    *out << row.name;
}

class OutlookTest : public ::testing::TestWithParam<OutlookCase> {
protected:
    OutlookTest() : world(berlin(12, 10)) {
        world.idle.idle = 0;
        world.enable({ReminderKind::water, ReminderKind::breaks});
        world.prefs.waterEvery.set(30);
        world.prefs.breakEvery.set(60);
        world.prefs.minGap.set(0);
        world.prefs.quietStart.set(22 * 60);
        world.prefs.quietEnd.set(7 * 60);
        GetParam().before(world);
        world.start();
        GetParam().after(world);
    }

    ReminderEngineWorld world;
};

TEST_P(OutlookTest, SaysWhatHoldsHerAndWhatComesNext) {
    EXPECT_EQ(world.engine->outlook(), GetParam().expected);
}

// The tick decides by the same rules: the next reminder meets the hold the
// outlook named and, when nothing holds it for long, shows when it said.
TEST_P(OutlookTest, TheTickAgrees) {
    const Outlook said = world.engine->outlook();
    if (!said.next) {
        world.scheduler.advance(3 * 3600);
        EXPECT_TRUE(world.presentations.empty());
        return;
    }
    std::vector<Gate> verdicts;
    std::optional<Instant> shownAt;
    world.onGated = [&](const Cue& cue, Gate gate) {
        if (cue.kind != *said.next) return;
        verdicts.push_back(gate);
        if (gate == Gate::shown && !shownAt) shownAt = world.scheduler.now();
    };
    world.scheduler.advance(*said.nextAt - world.scheduler.now() + ReminderEngine::kTickSeconds);
    if (said.hold == Gate::shown || said.hold == Gate::gap) {
        ASSERT_FALSE(verdicts.empty());
        EXPECT_EQ(verdicts.front(), said.hold);
        EXPECT_EQ(shownAt, said.nextAt);
        return;
    }
    // Held: it never shows, and the gate, if asked at all (a call stops the
    // interval reminders before the gate), names the same reason.
    EXPECT_EQ(shownAt, std::nullopt);
    if (!verdicts.empty()) {
        EXPECT_EQ(verdicts.front(), said.hold);
    }
}

INSTANTIATE_TEST_SUITE_P(World, OutlookTest, ::testing::ValuesIn(outlookCases()),
                         [](const auto& row) { return row.param.name; });

// An interval reminder the gate held back is due at once when the hold ends.
TEST(OutlookDueTest, HeldReminderIsDueNow) {
    ReminderEngineWorld world(berlin(12, 10));
    world.idle.idle = 0;
    world.enable({ReminderKind::water});
    world.prefs.waterEvery.set(30);
    world.prefs.minGap.set(0);
    world.prefs.followDoNotDisturb.set(true);
    world.doNotDisturb.current = true;
    world.start();
    world.scheduler.advance(40 * 60);
    world.doNotDisturb.current = false;
    EXPECT_EQ(world.engine->outlook(), nextAt(ReminderKind::water, world.scheduler.now()));
}

// Asking costs the engine nothing it keeps: the tick goes on as before.
TEST(OutlookDueTest, AskingChangesNothing) {
    ReminderEngineWorld world(berlin(12, 10));
    world.idle.idle = 0;
    world.enable({ReminderKind::water});
    world.prefs.waterEvery.set(30);
    world.start();
    const Outlook first = world.engine->outlook();
    for (int i = 0; i < 5; ++i) EXPECT_EQ(world.engine->outlook(), first);
    EXPECT_TRUE(world.presentations.empty());
}

}  // namespace
}  // namespace pelliwig
