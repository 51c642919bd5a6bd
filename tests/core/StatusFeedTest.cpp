#include "core/menu/StatusFeed.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fakes/VirtualScheduler.h"

namespace pelliwig {
namespace {

StatusLine line(const std::string& text, const std::string& cssClass = "next") {
    return {text, "Zuzi: " + text, cssClass};
}

// A bar reading lines; it can stop reading.
struct Reader {
    std::vector<std::string> lines;
    bool open = true;

    StatusFeed::Send send() {
        return [this](const std::string& written) {
            if (!open) return false;
            lines.push_back(written);
            return true;
        };
    }
};

class StatusFeedTest : public ::testing::Test {
protected:
    VirtualScheduler scheduler{1000};
    StatusLine now = line("Next: water around 14:30");
    int reads = 0;
    StatusFeed feed{scheduler, [this] {
                        ++reads;
                        return now;
                    }};
};

struct AskCase {
    std::string name;
    bool json;
    bool follow;
    std::vector<std::string> expected;  // after the state changes once
    std::size_t followers;
};

class StatusFeedAskTest : public StatusFeedTest, public ::testing::WithParamInterface<AskCase> {};

TEST_P(StatusFeedAskTest, AnswersOnceOrAtEachChange) {
    Reader reader;
    feed.serve(reader.send(), GetParam().json, GetParam().follow);
    now = line("Paused until 15:00", "paused");
    feed.refresh();
    EXPECT_EQ(reader.lines, GetParam().expected);
    EXPECT_EQ(feed.followers(), GetParam().followers);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, StatusFeedAskTest,
    ::testing::Values(
        AskCase{"Text", false, false, {"Next: water around 14:30"}, 0},
        AskCase{"Json", true, false, {line("Next: water around 14:30").json()}, 0},
        AskCase{"FollowText", false, true, {"Next: water around 14:30", "Paused until 15:00"}, 1},
        AskCase{
            "FollowJson",
            true,
            true,
            {line("Next: water around 14:30").json(), line("Paused until 15:00", "paused").json()},
            1}),
    [](const auto& row) { return row.param.name; });

TEST_F(StatusFeedTest, NoChangeNoLine) {
    Reader reader;
    feed.serve(reader.send(), false, true);
    for (int i = 0; i < 3; ++i) feed.refresh();
    scheduler.advance(60);
    EXPECT_EQ(reader.lines.size(), 1u);
}

// A quiet spell that ends by the clock reaches the bar by the poll.
TEST_F(StatusFeedTest, ThePollFindsAChangeNobodyReported) {
    Reader reader;
    feed.serve(reader.send(), false, true);
    now = line("Quiet until 07:00", "quiet");
    scheduler.advance(StatusFeed::kPollSeconds - 1);
    EXPECT_EQ(reader.lines.size(), 1u);
    scheduler.advance(1);
    EXPECT_EQ(reader.lines,
              (std::vector<std::string>{"Next: water around 14:30", "Quiet until 07:00"}));
}

// Without followers nothing is read: no poll, and refresh does nothing.
TEST_F(StatusFeedTest, NobodyFollowingNothingIsRead) {
    Reader once;
    feed.serve(once.send(), false, false);
    EXPECT_EQ(reads, 1);
    feed.refresh();
    scheduler.advance(3600);
    EXPECT_EQ(reads, 1);
}

// A bar that went is dropped at the next line; the others go on hearing,
// and when none is left the poll stops.
TEST_F(StatusFeedTest, GoneReadersAreDroppedAndThePollStopsWithTheLast) {
    Reader first, second;
    feed.serve(first.send(), false, true);
    feed.serve(second.send(), true, true);
    first.open = false;
    now = line("Paused until 15:00", "paused");
    feed.refresh();
    EXPECT_EQ(feed.followers(), 1u);
    EXPECT_EQ(second.lines.back(), now.json());

    second.open = false;
    now = line("Next: a break around 16:00");
    feed.refresh();
    EXPECT_EQ(feed.followers(), 0u);
    const int before = reads;
    scheduler.advance(3600);
    EXPECT_EQ(reads, before);
}

// A newcomer gets the state as it is now; those already following hear of
// the change first rather than missing it.
TEST_F(StatusFeedTest, NewcomerAndOldFollowersAgree) {
    Reader old, newcomer;
    feed.serve(old.send(), false, true);
    now = line("Holding back: full screen", "fullscreen");
    feed.serve(newcomer.send(), false, true);
    EXPECT_EQ(old.lines.back(), "Holding back: full screen");
    EXPECT_EQ(newcomer.lines, (std::vector<std::string>{"Holding back: full screen"}));
}

// A reader gone before its first line is never kept.
TEST_F(StatusFeedTest, ReaderGoneAtOnceIsNotKept) {
    Reader gone;
    gone.open = false;
    feed.serve(gone.send(), false, true);
    EXPECT_EQ(feed.followers(), 0u);
}

}  // namespace
}  // namespace pelliwig
