#include "core/sensors/CalendarSource.h"

#include <gtest/gtest.h>

#include <memory>

#include "fakes/ScriptedEventStore.h"

namespace pelliwig {
namespace {

constexpr Instant kNow = 1'750'000'000;

TickContext at(Instant now) {
    TickContext context;
    context.now = now;
    return context;
}

CalendarEvent timed(std::string id, double minutesAhead, Instant now = kNow) {
    const Instant start = now + minutesAhead * 60;
    return CalendarEvent{std::move(id), "Stand-up", start, start + 1800, false, std::nullopt};
}

std::vector<std::string> keys(const std::vector<Cue>& cues) {
    std::vector<std::string> out;
    for (const auto& cue : cues) {
        EXPECT_EQ(cue.kind, ReminderKind::calendar);
        EXPECT_FALSE(cue.line.has_value());
        out.push_back(cue.onceKey.value_or("<none>"));
    }
    return out;
}

class CalendarSourceTest : public testing::Test {
protected:
    // Past the first call, with access granted.
    void authorize() {
        EXPECT_TRUE(source.cues(at(kNow)).empty());
        store.grant();
    }

    ScriptedEventStore store;
    CalendarSource source{store};
};

TEST_F(CalendarSourceTest, AsksForAccessOnceAndYieldsNothingFirst) {
    store.calendar = {timed("A", 10)};
    EXPECT_TRUE(source.cues(at(kNow)).empty());
    EXPECT_EQ(store.requests(), 1);
    EXPECT_TRUE(source.cues(at(kNow)).empty());  // not yet answered
    store.deny();
    EXPECT_TRUE(source.cues(at(kNow)).empty());
    EXPECT_EQ(store.requests(), 1);
}

TEST_F(CalendarSourceTest, GrantedAccessYieldsEventsAboutToStart) {
    store.calendar = {timed("A", 10)};
    authorize();
    EXPECT_EQ(keys(source.cues(at(kNow))), std::vector<std::string>{"cal|A"});
    EXPECT_EQ(keys(source.cues(at(kNow + 30))), std::vector<std::string>{"cal|A"});
    EXPECT_EQ(store.requests(), 1);
}

TEST_F(CalendarSourceTest, WindowEdges) {
    struct Case {
        double secondsAhead;
        bool due;
    };
    const Case cases[] = {
        {479, false},  {539.9, false}, {540, true},  {600, true},
        {659.9, true}, {660, false},   {720, false},
    };
    authorize();
    for (const auto& c : cases) {
        const Instant start = kNow + c.secondsAhead;
        store.calendar = {CalendarEvent{"E", "", start, start + 600, false, std::nullopt}};
        EXPECT_EQ(source.cues(at(kNow)).size(), c.due ? 1u : 0u) << c.secondsAhead;
    }
}

TEST_F(CalendarSourceTest, DropsAllDayAndRunningEvents) {
    authorize();
    auto allDay = timed("day", 10);
    allDay.allDay = true;
    // Started 5 minutes ago and runs an hour: overlaps the window, not about to start.
    const CalendarEvent running{"run", "Review", kNow - 300, kNow + 3300, false, std::nullopt};
    store.calendar = {allDay, running, timed("B", 10)};
    EXPECT_EQ(keys(source.cues(at(kNow))), std::vector<std::string>{"cal|B"});
}

TEST_F(CalendarSourceTest, KeepsStoreOrder) {
    authorize();
    store.calendar = {timed("Z", 10), timed("A", 9.5)};
    EXPECT_EQ(keys(source.cues(at(kNow))), (std::vector<std::string>{"cal|Z", "cal|A"}));
}

TEST(CalendarSourceKey, IdentifierThenTitleThenNothing) {
    EXPECT_EQ(CalendarSource::onceKey({"ID-1", "Lunch", 0, 0, false, {}}), "cal|ID-1");
    EXPECT_EQ(CalendarSource::onceKey({"", "Lunch", 0, 0, false, {}}), "cal|Lunch");
    EXPECT_EQ(CalendarSource::onceKey({"", "", 0, 0, false, {}}), "cal|");
}

TEST_F(CalendarSourceTest, EachOccurrenceOfARepeatingEventHasItsOwnKey) {
    authorize();
    constexpr double kDay = 86400;
    auto occurrence = [](Instant now) {
        auto event = timed("STANDUP", 10, now);
        event.occurrenceStart = event.start + 0.5;  // truncated to whole seconds
        return event;
    };
    store.calendar = {occurrence(kNow)};
    const auto monday = keys(source.cues(at(kNow)));
    store.calendar = {occurrence(kNow + kDay)};
    const auto tuesday = keys(source.cues(at(kNow + kDay)));

    EXPECT_EQ(monday, std::vector<std::string>{"cal|STANDUP|1750000600"});
    EXPECT_EQ(tuesday, std::vector<std::string>{"cal|STANDUP|1750087000"});
}

TEST_F(CalendarSourceTest, MovedOccurrenceKeepsItsKey) {
    authorize();
    // Today's stand-up moved from 10:00 to 10:20 is still today's stand-up.
    auto moved = timed("STANDUP", 10);
    moved.occurrenceStart = moved.start - 1200;
    store.calendar = {moved};
    EXPECT_EQ(keys(source.cues(at(kNow))), std::vector<std::string>{"cal|STANDUP|1749999400"});
}

TEST(CalendarSource, AnswerAfterTheSourceIsGoneIsIgnored) {
    ScriptedEventStore store;
    auto source = std::make_unique<CalendarSource>(store);
    (void)source->cues(at(kNow));
    source.reset();
    store.grant();  // must not touch the destroyed source
    EXPECT_EQ(store.requests(), 1);
}

}  // namespace
}  // namespace pelliwig
