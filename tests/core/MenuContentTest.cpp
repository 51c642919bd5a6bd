#include "core/menu/MenuContent.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "HeldOutlook.h"
#include "support/TestTime.h"

namespace pelliwig {
namespace {

using Type = MenuEntry::Type;
using pelliwig::testing::utc;
using pelliwig::testing::ZoneAndLocale;

// Records every call as one readable word.
class RecordingActions final : public MenuActions {
public:
    void openUrl(const std::string& url) override { calls.push_back("open " + url); }
    void preview(std::optional<ReminderKind> kind) override {
        calls.push_back("preview " + (kind ? rawString(*kind) : std::string("-")));
    }
    void startFocus(int minutes) override { calls.push_back("focus " + std::to_string(minutes)); }
    void cancelFocus() override { calls.push_back("cancelFocus"); }
    void pauseFor(int minutes) override { calls.push_back("pause " + std::to_string(minutes)); }
    void pauseUntilTomorrow() override { calls.push_back("pause tomorrow"); }
    void resume() override { calls.push_back("resume"); }
    void openSettings() override { calls.push_back("settings"); }
    void openWelcome() override { calls.push_back("welcome"); }
    void openDiary() override { calls.push_back("diary"); }
    void openAbout() override { calls.push_back("about"); }
    void quit() override { calls.push_back("quit"); }
    void answer(std::size_t index) override { calls.push_back("answer " + std::to_string(index)); }

    std::vector<std::string> calls;
};

// A menu as "kind:title" lines, separators as "---".
std::vector<std::string> outline(const std::vector<MenuEntry>& menu) {
    std::vector<std::string> lines;
    for (const auto& entry : menu) {
        switch (entry.type) {
            case Type::separator:
                lines.push_back("---");
                break;
            case Type::caption:
                lines.push_back("caption:" + entry.title);
                break;
            case Type::text:
                lines.push_back("text:" + entry.title);
                break;
            case Type::submenu:
                lines.push_back("submenu:" + entry.title);
                break;
            case Type::button:
                lines.push_back(entry.title);
                break;
        }
    }
    return lines;
}

const MenuEntry* find(const std::vector<MenuEntry>& menu, const std::string& id) {
    for (const auto& entry : menu) {
        if (entry.id == id) return &entry;
        if (const auto* child = find(entry.children, id)) return child;
    }
    return nullptr;
}

const Release kRelease{"1.4", "https://pelliwig.app/get/1.4", std::nullopt};
const Instant kFocusEnd = utc(2026, 3, 7, 13, 30);  // 14:30 in Berlin
const std::vector<std::string> kSummon{"Say something", "submenu:Preview", "---"};
const std::vector<std::string> kFocusButtons{"Focus 25 min", "Focus 50 min", "submenu:Pause",
                                             "---"};
const std::vector<std::string> kPauseChoices{"For 30 minutes", "For an hour", "Until tomorrow"};
const std::vector<std::string> kApplication{"Your week", "Settings…", "Welcome screen",
                                            "About Zuzi", "Quit Zuzi"};

std::vector<std::string> join(std::vector<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// States are written {engineExists, jealousy, onCall, focusEndsAt, release, seesFrontApp,
// pausedUntil}.
struct StateCase {
    std::string name;
    MenuState state;
    std::vector<std::string> expected;
};

class MenuStateTest : public ::testing::TestWithParam<StateCase> {};

TEST_P(MenuStateTest, ListsTheEntriesTopToBottom) {
    ZoneAndLocale zone("Europe/Berlin", "de_DE");
    RecordingActions actions;
    EXPECT_EQ(outline(menuContent(GetParam().state, actions)), GetParam().expected);
}

std::vector<StateCase> stateCases() {
    return {
        StateCase{"NoEngineYet", MenuState{}, join({kSummon, kFocusButtons, kApplication})},
        StateCase{"Idle",
                  {true, 0, false, std::nullopt, std::nullopt, true, std::nullopt},
                  join({{"caption:Jealousy ░░░░░", "---"}, kSummon, kFocusButtons, kApplication})},
        StateCase{"OnACall",
                  {true, 45, true, std::nullopt, std::nullopt, true, std::nullopt},
                  join({{"caption:Jealousy ▓▓▓░░", "caption:Quiet: you're on a call", "---"},
                        kSummon,
                        kFocusButtons,
                        kApplication})},
        StateCase{"SessionHidesTheFocusedApp",
                  {true, 45, true, std::nullopt, std::nullopt, false, std::nullopt},
                  join({{"caption:Jealousy ▓▓▓░░", "caption:Quiet: you're on a call",
                         "caption:App remarks need an X11 or wlroots/KDE session", "---"},
                        kSummon,
                        kFocusButtons,
                        kApplication})},
        StateCase{"FocusRunning",
                  {true, 0, false, kFocusEnd, std::nullopt, true, std::nullopt},
                  join({{"caption:Jealousy ░░░░░", "---"},
                        kSummon,
                        {"text:Focus until 14:30", "Cancel focus", "submenu:Pause", "---"},
                        kApplication})},
        StateCase{"Paused",
                  {true, 0, false, std::nullopt, std::nullopt, true, kFocusEnd},
                  join({{"caption:Jealousy ░░░░░", "caption:Paused until 14:30", "---"},
                        kSummon,
                        kFocusButtons,
                        kApplication})},
        StateCase{"ReleaseAvailable",
                  {true, 0, false, std::nullopt, kRelease, true, std::nullopt},
                  join({{"Update to Zuzi 1.4…", "---", "caption:Jealousy ░░░░░", "---"},
                        kSummon,
                        kFocusButtons,
                        kApplication})},
        StateCase{"ReleaseBeforeTheEngine",
                  {false, 0, false, std::nullopt, kRelease, true, std::nullopt},
                  join({{"Update to Zuzi 1.4…", "---"}, kSummon, kFocusButtons, kApplication})},
        // A stale focus end cannot show without the engine that owns it.
        StateCase{"HiddenFocusedAppWithoutEngine",
                  {false, 0, false, std::nullopt, std::nullopt, false, std::nullopt},
                  join({kSummon, kFocusButtons, kApplication})},
        // Where her settings cannot be saved comes first after any answers.
        StateCase{"SettingsCannotBeSaved",
                  [] {
                      MenuState state{true, 0, false, std::nullopt, kRelease, true, std::nullopt};
                      state.saveTrouble = "/h/defaults.sqlite is locked by another program";
                      return state;
                  }(),
                  join({{"caption:Settings cannot be saved: /h/defaults.sqlite is locked by "
                         "another program",
                         "---", "Update to Zuzi 1.4…", "---", "caption:Jealousy ░░░░░", "---"},
                        kSummon,
                        kFocusButtons,
                        kApplication})},
        StateCase{"SettingsCannotBeSavedWithoutEngine",
                  [] {
                      MenuState state;
                      state.saveTrouble = "/h is a folder, not a file";
                      return state;
                  }(),
                  join({{"caption:Settings cannot be saved: /h is a folder, not a file", "---"},
                        kSummon,
                        kFocusButtons,
                        kApplication})},
        // While a moment with answers is up they open the menu.
        StateCase{"AnswersFirst",
                  [] {
                      MenuState state{true, 0, false, std::nullopt, kRelease, true, std::nullopt};
                      state.answers = {"Drank \U0001F4A7", "In 10 min"};
                      return state;
                  }(),
                  join({{"Drank \U0001F4A7", "In 10 min", "---", "Update to Zuzi 1.4…", "---",
                         "caption:Jealousy ░░░░░", "---"},
                        kSummon,
                        kFocusButtons,
                        kApplication})},
        StateCase{"AnswersWithoutEngine",
                  [] {
                      MenuState state;
                      state.answers = {"Drank \U0001F4A7"};
                      return state;
                  }(),
                  join({kSummon, kFocusButtons, kApplication})},
        StateCase{"FocusWithoutEngine",
                  {false, 0, true, kFocusEnd, std::nullopt, true, std::nullopt},
                  join({kSummon, kFocusButtons, kApplication})}};
}

INSTANTIATE_TEST_SUITE_P(States, MenuStateTest, ::testing::ValuesIn(stateCases()),
                         [](const auto& row) { return row.param.name; });

struct JealousyCase {
    int jealousy;
    std::string expected;
};

class JealousyLineTest : public ::testing::TestWithParam<JealousyCase> {};

TEST_P(JealousyLineTest, DarkBlocksAreTheCeilingOfAFifth) {
    EXPECT_EQ(jealousyLine(GetParam().jealousy), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, JealousyLineTest,
    ::testing::Values(JealousyCase{0, "Jealousy ░░░░░"}, JealousyCase{1, "Jealousy ▓░░░░"},
                      JealousyCase{20, "Jealousy ▓░░░░"}, JealousyCase{21, "Jealousy ▓▓░░░"},
                      JealousyCase{45, "Jealousy ▓▓▓░░"}, JealousyCase{99, "Jealousy ▓▓▓▓▓"},
                      JealousyCase{100, "Jealousy ▓▓▓▓▓"}, JealousyCase{-3, "Jealousy ░░░░░"},
                      JealousyCase{250, "Jealousy ▓▓▓▓▓"}));

TEST(MenuContentTest, PreviewOffersNineteenKindsByTitleInDeclarationOrder) {
    RecordingActions actions;
    const auto menu =
        menuContent({true, 0, false, std::nullopt, std::nullopt, true, std::nullopt}, actions);
    const auto* preview = find(menu, "preview");
    ASSERT_NE(preview, nullptr);
    const std::vector<std::string> expected{"Low battery",
                                            "Charger connected",
                                            "Time for bed",
                                            "Take a break",
                                            "Drink water",
                                            "Have you eaten?",
                                            "Check in",
                                            "Focus finished",
                                            "Morning hello",
                                            "Upcoming event",
                                            "Time in an app",
                                            "Birthday",
                                            "Anniversary",
                                            "Random sweetness",
                                            "After a meeting",
                                            "Sunday scorecard",
                                            "Hover to summon",
                                            "Photo moments",
                                            "Notices what you open"};
    EXPECT_EQ(outline(preview->children), expected);
}

TEST(MenuContentTest, PauseOffersResumeOnlyWhilePaused) {
    RecordingActions actions;
    MenuState state{true, 0, false, std::nullopt, std::nullopt, true, std::nullopt};
    EXPECT_EQ(outline(find(menuContent(state, actions), "pause")->children), kPauseChoices);
    state.pausedUntil = kFocusEnd;
    EXPECT_EQ(outline(find(menuContent(state, actions), "pause")->children),
              join({{"Resume", "---"}, kPauseChoices}));
}

TEST(MenuContentTest, PreviewNeverOffersTheRecordKinds) {
    RecordingActions actions;
    const auto menu =
        menuContent({true, 0, false, std::nullopt, std::nullopt, true, std::nullopt}, actions);
    for (const auto kind : {ReminderKind::custom, ReminderKind::countdown, ReminderKind::date,
                            ReminderKind::deadline}) {
        EXPECT_EQ(find(menu, "preview." + rawString(kind)), nullptr) << rawValue(kind);
        EXPECT_EQ(std::count(previewKinds().begin(), previewKinds().end(), kind), 0);
    }
    // Pressing every entry previews exactly the listed kinds, in order.
    for (const auto& entry : find(menu, "preview")->children) entry.action();
    std::vector<std::string> expected;
    for (const auto kind : previewKinds()) expected.push_back("preview " + rawString(kind));
    EXPECT_EQ(actions.calls, expected);
}

struct ActionCase {
    std::string id;
    MenuState state;
    std::vector<std::string> expected;
};

class MenuActionTest : public ::testing::TestWithParam<ActionCase> {};

TEST_P(MenuActionTest, PressingCallsItsAction) {
    RecordingActions actions;
    const auto menu = menuContent(GetParam().state, actions);
    const auto* entry = find(menu, GetParam().id);
    ASSERT_NE(entry, nullptr);
    ASSERT_TRUE(entry->action);
    entry->action();
    EXPECT_EQ(actions.calls, GetParam().expected);
}

const MenuState kEngine{true, 0, false, std::nullopt, std::nullopt, true, std::nullopt};
const MenuState kNoEngine{};

MenuState withRelease() {
    MenuState state;
    state.release = kRelease;
    return state;
}

MenuState focusing() {
    MenuState state = kEngine;
    state.focusEndsAt = kFocusEnd;
    return state;
}

MenuState paused() {
    MenuState state = kEngine;
    state.pausedUntil = kFocusEnd;
    return state;
}

MenuState answering() {
    MenuState state = kEngine;
    state.answers = {"Getting up", "In 10 min"};
    return state;
}

std::vector<ActionCase> actionCases() {
    std::vector<ActionCase> cases;
    const auto add = [&cases](std::string id, const MenuState& state,
                              std::vector<std::string> expected) {
        cases.push_back(ActionCase{std::move(id), state, std::move(expected)});
    };
    add("update", withRelease(), {"open https://pelliwig.app/get/1.4"});
    add("answer.0", answering(), {"answer 0"});
    add("answer.1", answering(), {"answer 1"});
    add("saySomething", kEngine, {"preview -"});
    add("preview.water", kEngine, {"preview water"});
    add("focus25", kEngine, {"focus 25"});
    add("focus50", kEngine, {"focus 50"});
    add("cancelFocus", focusing(), {"cancelFocus"});
    add("pause.30", kEngine, {"pause 30"});
    add("pause.60", kEngine, {"pause 60"});
    add("pause.tomorrow", kEngine, {"pause tomorrow"});
    add("pause.resume", paused(), {"resume"});
    // A pause is a setting: it needs no engine.
    add("pause.60", kNoEngine, {"pause 60"});
    add("settings", kNoEngine, {"settings"});
    add("welcome", kNoEngine, {"welcome"});
    // Before the engine exists her diary shows what there is: nothing yet.
    add("diary", kNoEngine, {"diary"});
    add("about", kNoEngine, {"about"});
    add("quit", kNoEngine, {"quit"});
    // Before the engine exists its buttons are there but do nothing.
    add("saySomething", kNoEngine, {});
    add("preview.morning", kNoEngine, {});
    add("focus25", kNoEngine, {});
    add("focus50", kNoEngine, {});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Entries, MenuActionTest, ::testing::ValuesIn(actionCases()),
                         [](const auto& row) {
                             std::string name =
                                 row.param.id + (row.param.state.engineExists ? "" : "_NoEngine");
                             std::replace(name.begin(), name.end(), '.', '_');
                             return name;
                         });

TEST(MenuContentTest, OnlyButtonsAct) {
    RecordingActions actions;
    const auto menu =
        menuContent({true, 0, true, kFocusEnd, kRelease, true, std::nullopt}, actions);
    for (const auto& entry : menu) {
        EXPECT_EQ(static_cast<bool>(entry.action), entry.type == Type::button) << entry.id;
    }
}

TEST(MenuContentTest, IdsAreUnique) {
    RecordingActions actions;
    const auto menu = menuContent({true, 0, true, kFocusEnd, kRelease, true, kFocusEnd}, actions);
    std::vector<std::string> ids;
    for (const auto& entry : menu) {
        ids.push_back(entry.id);
        for (const auto& child : entry.children) ids.push_back(child.id);
    }
    EXPECT_NE(std::find(ids.begin(), ids.end(), "pause.resume"), ids.end());
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end());
}

TEST(MenuContentTest, JealousyLineSaysWhatItIs) {
    RecordingActions actions;
    const auto menu = menuContent(kEngine, actions);
    const auto* line = find(menu, "jealousy");
    ASSERT_NE(line, nullptr);
    EXPECT_NE(line->tooltip.find("jealous"), std::string::npos) << line->tooltip;
}

// The shell hands in the writer of its own time fields, so the menu and the
// fields write a time alike.
TEST(MenuContentTest, TimesComeFromTheWriterHandedIn) {
    ZoneAndLocale zone("Europe/Berlin", "en_US");
    RecordingActions actions;
    MenuState state = focusing();
    state.pausedUntil = kFocusEnd + 60;
    const auto menu = menuContent(state, actions,
                                  [](int minutes) { return "<" + std::to_string(minutes) + ">"; });
    EXPECT_EQ(find(menu, "focusUntil")->title, "Focus until <870>");
    EXPECT_EQ(find(menu, "pausedUntil")->title, "Paused until <871>");
}

TEST(MenuContentTest, SettingsAndQuitCarryTheirShortcuts) {
    RecordingActions actions;
    const auto menu = menuContent({}, actions);
    EXPECT_EQ(find(menu, "settings")->shortcut, "Ctrl+,");
    EXPECT_EQ(find(menu, "quit")->shortcut, "Ctrl+Q");
    EXPECT_EQ(find(menu, "welcome")->shortcut, "");
}

// What comes next or what holds her back, as the engine tells it; times in
// Berlin on 7 March 2026.
struct OutlookCase {
    std::string name;
    Outlook outlook;
    std::optional<std::string> expected;
};

Outlook holding(GateVerdict hold, std::optional<Instant> until = std::nullopt,
                bool camera = false) {
    return heldOutlook(hold, until, camera);
}

Outlook coming(ReminderKind kind, Instant at, GateVerdict hold = GateVerdict::shown) {
    Outlook out = holding(hold);
    out.next = kind;
    out.nextAt = at;
    return out;
}

const Instant kSeven = utc(2026, 3, 8, 6, 0);     // 07:00 in Berlin
const Instant kFifteen = utc(2026, 3, 7, 14, 0);  // 15:00 in Berlin

std::vector<OutlookCase> outlookCases() {
    using V = GateVerdict;
    return {
        {"NextWater", coming(ReminderKind::water, kFocusEnd), "Next: water around 14:30"},
        {"NextBreak", coming(ReminderKind::breaks, kFifteen), "Next: a break around 15:00"},
        {"GapOnlyDelays", coming(ReminderKind::water, kFocusEnd, V::gap),
         "Next: water around 14:30"},
        {"NotchBusyOnlyDelays", coming(ReminderKind::water, kFocusEnd, V::notchOccupied),
         "Next: water around 14:30"},
        {"NothingComing", Outlook{}, std::nullopt},
        {"QuietHours", holding(V::quietHours, kSeven), "Quiet until 07:00"},
        {"QuietHoursWithoutAnEnd", holding(V::quietHours), "Quiet"},
        {"Camera", holding(V::inCall, std::nullopt, true), "Quiet: camera in use"},
        {"Microphone", holding(V::inCall), "Quiet: microphone in use"},
        {"Paused", holding(V::paused, kFifteen), "Paused until 15:00"},
        {"PausedWithoutAnEnd", holding(V::paused), "Paused"},
        {"FullScreen", holding(V::fullScreen), "Holding back: full screen"},
        {"DoNotDisturb", holding(V::doNotDisturb), "Quiet: do not disturb"},
        // Quiet with nothing to hold back still says why she is quiet.
        {"QuietAndNothingComing",
         [] {
             Outlook out;
             out.hold = V::quietHours;
             out.until = kSeven;
             return out;
         }(),
         "Quiet until 07:00"},
    };
}

class OutlookLineTest : public ::testing::TestWithParam<OutlookCase> {};

TEST_P(OutlookLineTest, SaysWhatComesNextOrWhyShesQuiet) {
    ZoneAndLocale zone("Europe/Berlin", "de_DE");
    EXPECT_EQ(outlookLine(GetParam().outlook), GetParam().expected);
}

// Off a call and unpaused the line is a caption of its own under the jealousy
// bar; nothing coming leaves the menu as it was.
TEST_P(OutlookLineTest, IsItsOwnCaptionInTheMenu) {
    ZoneAndLocale zone("Europe/Berlin", "de_DE");
    RecordingActions actions;
    MenuState state = kEngine;
    state.outlook = GetParam().outlook;
    const auto menu = menuContent(state, actions);
    const auto* line = find(menu, "outlook");
    if (!GetParam().expected) {
        EXPECT_EQ(line, nullptr);
        EXPECT_EQ(outline(menu), outline(menuContent(kEngine, actions)));
        return;
    }
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->type, Type::caption);
    EXPECT_EQ(line->title, *GetParam().expected);
    EXPECT_EQ(outline(menu)[1], "caption:" + *GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Outlooks, OutlookLineTest, ::testing::ValuesIn(outlookCases()),
                         [](const auto& row) { return row.param.name; });

// The call and the pause have lines of their own: the outlook does not say it
// twice, and on a call it tells which device gave the call away when the
// pointer rests on the line.
TEST(MenuContentTest, CallAndPauseKeepTheirOwnLines) {
    ZoneAndLocale zone("Europe/Berlin", "de_DE");
    RecordingActions actions;
    MenuState onCall = kEngine;
    onCall.onCall = true;
    onCall.outlook = holding(GateVerdict::inCall, std::nullopt, true);
    auto menu = menuContent(onCall, actions);
    EXPECT_EQ(find(menu, "outlook"), nullptr);
    ASSERT_NE(find(menu, "onCall"), nullptr);
    EXPECT_EQ(find(menu, "onCall")->title, "Quiet: you're on a call");
    EXPECT_EQ(find(menu, "onCall")->tooltip, "Quiet: camera in use");

    MenuState pausedState = paused();
    pausedState.outlook = holding(GateVerdict::paused, kFocusEnd);
    menu = menuContent(pausedState, actions);
    EXPECT_EQ(find(menu, "outlook"), nullptr);
    EXPECT_EQ(find(menu, "pausedUntil")->title, "Paused until 14:30");
}

// The outlook's time is written by the writer the shell hands in, like the
// focus end's.
TEST(MenuContentTest, OutlookTimeComesFromTheWriterHandedIn) {
    ZoneAndLocale zone("Europe/Berlin", "en_US");
    RecordingActions actions;
    MenuState state = kEngine;
    state.outlook = coming(ReminderKind::water, kFocusEnd);
    const auto menu = menuContent(state, actions,
                                  [](int minutes) { return "<" + std::to_string(minutes) + ">"; });
    EXPECT_EQ(find(menu, "outlook")->title, "Next: water around <870>");
}

struct FocusTimeCase {
    const char* zone;
    const char* locale;      // ICU's default: the language of the texts
    const char* timeLocale;  // how the desktop writes times; "" for the default
    std::string expected;
};

class FocusUntilTest : public ::testing::TestWithParam<FocusTimeCase> {};

TEST_P(FocusUntilTest, ShowsTheEndInTheLocaleForTimesAndTheZone) {
    ZoneAndLocale zone(GetParam().zone, GetParam().locale);
    EXPECT_EQ(focusUntilLine(kFocusEnd, GetParam().timeLocale), GetParam().expected);
    RecordingActions actions;
    const auto menu = menuContent({true, 0, false, kFocusEnd, std::nullopt, true, std::nullopt},
                                  actions, GetParam().timeLocale);
    EXPECT_EQ(find(menu, "focusUntil")->title, GetParam().expected);
    // A pause's end is written the same way.
    const std::string time = GetParam().expected.substr(std::string("Focus until ").size());
    EXPECT_EQ(pausedUntilLine(kFocusEnd, GetParam().timeLocale), "Paused until " + time);
}

INSTANTIATE_TEST_SUITE_P(
    Locales, FocusUntilTest,
    ::testing::Values(FocusTimeCase{"Europe/Berlin", "de_DE", "", "Focus until 14:30"},
                      FocusTimeCase{"Europe/London", "en_GB", "", "Focus until 13:30"},
                      // ICU puts a narrow no-break space before the day period.
                      FocusTimeCase{"America/New_York", "en_US", "", "Focus until 8:30\u202FAM"},
                      // English texts with German times: the times win.
                      FocusTimeCase{"Europe/Berlin", "en_US", "de_DE", "Focus until 14:30"},
                      FocusTimeCase{"Europe/Berlin", "en_US", "en_GB", "Focus until 14:30"},
                      FocusTimeCase{"Europe/Berlin", "de_DE", "en_US",
                                    "Focus until 2:30\u202FPM"}));

}  // namespace
}  // namespace pelliwig
