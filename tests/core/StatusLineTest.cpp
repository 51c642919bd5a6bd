#include "core/menu/StatusLine.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <optional>
#include <string>

#include "HeldOutlook.h"
#include "support/TestTime.h"

namespace pelliwig {
namespace {

using pelliwig::testing::utc;
using pelliwig::testing::ZoneAndLocale;

Outlook holding(GateVerdict hold, std::optional<Instant> until = std::nullopt,
                bool camera = false) {
    return heldOutlook(hold, until, camera);
}

struct LineCase {
    std::string name;
    std::optional<Outlook> outlook;
    StatusLine expected;
};

class StatusLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(StatusLineTest, SaysWhatHerMenuSaysWithAClassForTheBar) {
    ZoneAndLocale zone("Europe/Berlin", "de_DE");
    EXPECT_EQ(StatusLine::of(GetParam().outlook), GetParam().expected);
}

// waybar reads exactly these four keys; "alt" picks the icon by the class.
TEST_P(StatusLineTest, JsonIsOneLineWithWaybarsKeys) {
    ZoneAndLocale zone("Europe/Berlin", "de_DE");
    const StatusLine line = StatusLine::of(GetParam().outlook);
    const std::string text = line.json();
    EXPECT_EQ(text.find('\n'), std::string::npos);
    const auto parsed = nlohmann::json::parse(text);
    EXPECT_EQ(parsed, (nlohmann::json{{"text", line.text},
                                      {"tooltip", line.tooltip},
                                      {"class", line.cssClass},
                                      {"alt", line.cssClass}}));
}

INSTANTIATE_TEST_SUITE_P(
    Outlooks, StatusLineTest,
    ::testing::Values(
        LineCase{"Next",
                 holding(GateVerdict::shown),
                 {"Next: water around 14:30", "Zuzi: Next: water around 14:30", "next"}},
        LineCase{"GapOnlyDelays",
                 holding(GateVerdict::gap),
                 {"Next: water around 14:30", "Zuzi: Next: water around 14:30", "next"}},
        LineCase{"NothingComing", Outlook{}, {"Nothing coming", "Zuzi: Nothing coming", "idle"}},
        LineCase{"QuietHours",
                 holding(GateVerdict::quietHours, utc(2026, 3, 8, 6, 0)),
                 {"Quiet until 07:00", "Zuzi: Quiet until 07:00", "quiet"}},
        LineCase{"Camera",
                 holding(GateVerdict::inCall, std::nullopt, true),
                 {"Quiet: camera in use", "Zuzi: Quiet: camera in use", "call"}},
        LineCase{"Paused",
                 holding(GateVerdict::paused, utc(2026, 3, 7, 14, 0)),
                 {"Paused until 15:00", "Zuzi: Paused until 15:00", "paused"}},
        LineCase{"FullScreen",
                 holding(GateVerdict::fullScreen),
                 {"Holding back: full screen", "Zuzi: Holding back: full screen", "fullscreen"}},
        LineCase{"DoNotDisturb",
                 holding(GateVerdict::doNotDisturb),
                 {"Quiet: do not disturb", "Zuzi: Quiet: do not disturb", "dnd"}},
        LineCase{
            "NoEngineYet", std::nullopt, {"Zuzi is starting", "Zuzi is starting", "starting"}}),
    [](const auto& row) { return row.param.name; });

TEST(StatusLineStoppedTest, IsEmptyTextWithAClassOfItsOwn) {
    const auto parsed = nlohmann::json::parse(StatusLine::stopped().json());
    EXPECT_EQ(parsed["text"], "");
    EXPECT_EQ(parsed["class"], "stopped");
    EXPECT_EQ(parsed["tooltip"], "Zuzi is not running");
}

// The shell's time writer is the menu's, so bar and menu agree.
TEST(StatusLineWriterTest, TimesComeFromTheWriterHandedIn) {
    ZoneAndLocale zone("Europe/Berlin", "en_US");
    const auto line = StatusLine::of(holding(GateVerdict::shown), [](int minutes) {
        return "<" + std::to_string(minutes) + ">";
    });
    EXPECT_EQ(line.text, "Next: water around <870>");
}

}  // namespace
}  // namespace pelliwig
