#include "core/menu/MenuContent.h"

#include <algorithm>
#include <memory>
#include <utility>

#include <unicode/calendar.h>
#include <unicode/datefmt.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

namespace pelliwig {
namespace {

using Type = MenuEntry::Type;

// Writes the time of day of an instant; empty when it cannot.
using InstantText = std::function<std::string(Instant)>;

std::string shortTime(Instant at, std::string_view timeLocale);

int localMinutes(Instant at) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(status));
    if (U_FAILURE(status) || !calendar) return 0;
    calendar->setTime(at * 1000.0, status);
    const int hour = calendar->get(UCAL_HOUR_OF_DAY, status);
    const int minute = calendar->get(UCAL_MINUTE, status);
    return U_FAILURE(status) ? 0 : hour * 60 + minute;
}

std::string untilLine(const std::string& lead, Instant at, const InstantText& timeText) {
    const std::string time = timeText(at);
    return time.empty() ? lead : lead + " " + time;
}

std::string nextName(ReminderKind kind) {
    return kind == ReminderKind::breaks ? "a break" : "water";
}

std::optional<std::string> outlookWith(const Outlook& outlook, const InstantText& timeText) {
    switch (outlook.hold) {
        case GateVerdict::inCall:
            return outlook.camera ? "Quiet: camera in use" : "Quiet: microphone in use";
        case GateVerdict::paused:
            return outlook.until ? untilLine("Paused until", *outlook.until, timeText) : "Paused";
        case GateVerdict::doNotDisturb:
            return "Quiet: do not disturb";
        case GateVerdict::fullScreen:
            return "Holding back: full screen";
        case GateVerdict::quietHours:
            return outlook.until ? untilLine("Quiet until", *outlook.until, timeText) : "Quiet";
        default:
            break;
    }
    if (!outlook.next || !outlook.nextAt) return std::nullopt;
    return untilLine("Next: " + nextName(*outlook.next) + " around", *outlook.nextAt, timeText);
}

MenuEntry entry(Type type, std::string id, std::string title = {}) {
    MenuEntry made;
    made.type = type;
    made.id = std::move(id);
    made.title = std::move(title);
    return made;
}

MenuEntry separator(const std::string& id) {
    return entry(Type::separator, "separator." + id);
}

MenuEntry button(std::string id, std::string title, std::function<void()> action,
                 std::string shortcut = {}) {
    auto made = entry(Type::button, std::move(id), std::move(title));
    made.action = std::move(action);
    made.shortcut = std::move(shortcut);
    return made;
}

// Wraps an engine action so it does nothing while there is no engine.
std::function<void()> whenEngine(const MenuState& state, std::function<void()> action) {
    if (!state.engineExists) return [] {};
    return action;
}

void addUpdate(std::vector<MenuEntry>& menu, const MenuState& state, MenuActions& actions) {
    if (!state.release) return;
    const std::string url = state.release->url;
    menu.push_back(button("update", "Update to Zuzi " + state.release->version + "…",
                          [&actions, url] { actions.openUrl(url); }));
    menu.push_back(separator("update"));
}

// While a moment with answers is up they come first, so the keyboard reaches
// them wherever the menu opens.
void addAnswers(std::vector<MenuEntry>& menu, const MenuState& state, MenuActions& actions) {
    if (!state.engineExists || state.answers.empty()) return;
    for (std::size_t i = 0; i < state.answers.size(); ++i) {
        menu.push_back(button("answer." + std::to_string(i), state.answers[i],
                              [&actions, i] { actions.answer(i); }));
    }
    menu.push_back(separator("answers"));
}

void addEngineStatus(std::vector<MenuEntry>& menu, const MenuState& state,
                     const InstantText& timeText) {
    if (!state.engineExists) return;
    auto jealousy = entry(Type::caption, "jealousy", jealousyLine(state.jealousy));
    jealousy.tooltip =
        "How jealous she is today: time in social apps fills the bar; answering her and the "
        "evening check-in empty it";
    menu.push_back(std::move(jealousy));
    const auto outlook =
        state.outlook ? outlookWith(*state.outlook, timeText) : std::optional<std::string>();
    if (state.onCall) {
        auto onCall = entry(Type::caption, "onCall", "Quiet: you're on a call");
        if (outlook) onCall.tooltip = *outlook;
        menu.push_back(std::move(onCall));
    }
    // Said rather than left silent, so the missing remarks do not look like a fault.
    if (!state.seesFrontApp) {
        menu.push_back(
            entry(Type::caption, "noFrontApp", "App remarks need an X11 or wlroots/KDE session"));
    }
    if (state.pausedUntil) {
        menu.push_back(entry(Type::caption, "pausedUntil",
                             untilLine("Paused until", *state.pausedUntil, timeText)));
    }
    // The call and the pause have their lines already.
    const bool said = state.onCall || state.pausedUntil;
    if (outlook && !said) menu.push_back(entry(Type::caption, "outlook", *outlook));
    menu.push_back(separator("engine"));
}

// First after the answers: every change made meanwhile is at stake. The
// caption says where, as a tray host may never show the tooltip.
void addSaveTrouble(std::vector<MenuEntry>& menu, const MenuState& state) {
    if (!state.saveTrouble) return;
    auto unsaved =
        entry(Type::caption, "saveTrouble", "Settings cannot be saved: " + *state.saveTrouble);
    unsaved.tooltip = "Changes are kept and saved as soon as that works.";
    menu.push_back(std::move(unsaved));
    menu.push_back(separator("saveTrouble"));
}

MenuEntry previewMenu(const MenuState& state, MenuActions& actions) {
    // A submenu, not a dialog: no ellipsis.
    auto submenu = entry(Type::submenu, "preview", "Preview");
    for (const auto kind : previewKinds()) {
        submenu.children.push_back(
            button("preview." + rawString(kind), std::string(title(kind)),
                   whenEngine(state, [&actions, kind] { actions.preview(kind); })));
    }
    return submenu;
}

void addSummon(std::vector<MenuEntry>& menu, const MenuState& state, MenuActions& actions) {
    menu.push_back(button("saySomething", "Say something",
                          whenEngine(state, [&actions] { actions.preview(std::nullopt); })));
    menu.push_back(previewMenu(state, actions));
    menu.push_back(separator("summon"));
}

MenuEntry focusButton(const MenuState& state, MenuActions& actions, int minutes) {
    return button("focus" + std::to_string(minutes), "Focus " + std::to_string(minutes) + " min",
                  whenEngine(state, [&actions, minutes] { actions.startFocus(minutes); }));
}

// A pause is only a setting, so it works before the engine exists too.
MenuEntry pauseMenu(const MenuState& state, MenuActions& actions) {
    auto submenu = entry(Type::submenu, "pause", "Pause");
    auto& items = submenu.children;
    if (state.pausedUntil) {
        items.push_back(button("pause.resume", "Resume", [&actions] { actions.resume(); }));
        items.push_back(separator("pause"));
    }
    items.push_back(button("pause.30", "For 30 minutes", [&actions] { actions.pauseFor(30); }));
    items.push_back(button("pause.60", "For an hour", [&actions] { actions.pauseFor(60); }));
    items.push_back(
        button("pause.tomorrow", "Until tomorrow", [&actions] { actions.pauseUntilTomorrow(); }));
    return submenu;
}

void addFocus(std::vector<MenuEntry>& menu, const MenuState& state, MenuActions& actions,
              const InstantText& timeText) {
    if (state.engineExists && state.focusEndsAt) {
        menu.push_back(entry(Type::text, "focusUntil",
                             untilLine("Focus until", *state.focusEndsAt, timeText)));
        menu.push_back(
            button("cancelFocus", "Cancel focus", [&actions] { actions.cancelFocus(); }));
    } else {
        menu.push_back(focusButton(state, actions, 25));
        menu.push_back(focusButton(state, actions, 50));
    }
    menu.push_back(pauseMenu(state, actions));
    menu.push_back(separator("focus"));
}

void addApplication(std::vector<MenuEntry>& menu, MenuActions& actions) {
    menu.push_back(button("diary", "Your week", [&actions] { actions.openDiary(); }));
    menu.push_back(button(
        "settings", "Settings…", [&actions] { actions.openSettings(); }, "Ctrl+,"));
    menu.push_back(button("welcome", "Welcome screen", [&actions] { actions.openWelcome(); }));
    menu.push_back(button("about", "About Zuzi", [&actions] { actions.openAbout(); }));
    menu.push_back(button(
        "quit", "Quit Zuzi", [&actions] { actions.quit(); }, "Ctrl+Q"));
}

}  // namespace

namespace {

std::vector<MenuEntry> menuWith(const MenuState& state, MenuActions& actions,
                                const InstantText& timeText) {
    std::vector<MenuEntry> menu;
    addAnswers(menu, state, actions);
    addSaveTrouble(menu, state);
    addUpdate(menu, state, actions);
    addEngineStatus(menu, state, timeText);
    addSummon(menu, state, actions);
    addFocus(menu, state, actions, timeText);
    addApplication(menu, actions);
    return menu;
}

}  // namespace

std::vector<MenuEntry> menuContent(const MenuState& state, MenuActions& actions,
                                   std::string_view timeLocale) {
    return menuWith(state, actions, [locale = std::string(timeLocale)](Instant at) {
        return shortTime(at, locale);
    });
}

std::vector<MenuEntry> menuContent(const MenuState& state, MenuActions& actions,
                                   const TimeOfDayText& timeText) {
    return menuWith(state, actions, [&timeText](Instant at) { return timeText(localMinutes(at)); });
}

std::string jealousyLine(int jealousy) {
    const int dark = (std::clamp(jealousy, 0, 100) + 19) / 20;  // ceil(J / 20)
    std::string line = "Jealousy ";
    for (int i = 0; i < 5; ++i) line += i < dark ? "\u2593" : "\u2591";
    return line;
}

namespace {

// A short time of day in `timeLocale` (empty: ICU's default locale) and the
// default time zone; empty when ICU cannot format one.
std::string shortTime(Instant at, std::string_view timeLocale) {
    const icu::Locale locale = timeLocale.empty()
                                   ? icu::Locale::getDefault()
                                   : icu::Locale::createCanonical(std::string(timeLocale).c_str());
    std::unique_ptr<icu::DateFormat> format(
        icu::DateFormat::createTimeInstance(icu::DateFormat::kShort, locale));
    if (!format) return {};
    icu::UnicodeString text;
    format->format(at * 1000.0, text);
    std::string utf8;
    text.toUTF8String(utf8);
    return utf8;
}

}  // namespace

std::string focusUntilLine(Instant endsAt, std::string_view timeLocale) {
    return untilLine("Focus until", endsAt,
                     [timeLocale](Instant at) { return shortTime(at, timeLocale); });
}

std::optional<std::string> outlookLine(const Outlook& outlook, std::string_view timeLocale) {
    return outlookWith(outlook, [timeLocale](Instant at) { return shortTime(at, timeLocale); });
}

std::optional<std::string> outlookLine(const Outlook& outlook, const TimeOfDayText& timeText) {
    return outlookWith(outlook, [&timeText](Instant at) { return timeText(localMinutes(at)); });
}

std::string pausedUntilLine(Instant until, std::string_view timeLocale) {
    return untilLine("Paused until", until,
                     [timeLocale](Instant at) { return shortTime(at, timeLocale); });
}

}  // namespace pelliwig
