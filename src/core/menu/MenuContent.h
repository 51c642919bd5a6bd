#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/content/Reminder.h"
#include "core/engine/Outlook.h"
#include "core/engine/Release.h"
#include "core/support/Instant.h"

namespace pelliwig {

// What the menu shows, read from the engine and the update checker each time
// the menu opens. Before the engine exists only `engineExists` matters.
struct MenuState {
    bool engineExists = false;
    int jealousy = 0;  // 0 … 100
    bool onCall = false;
    std::optional<Instant> focusEndsAt;  // set while a focus session runs
    std::optional<Release> release;      // a newer release than this one
    bool seesFrontApp = true;            // false where the session hides the focused application
    std::optional<Instant> pausedUntil;  // set while she is paused
    // The labels of the answers on show in her bubble, in their order.
    std::vector<std::string> answers = {};
    // Why her settings are not on disk, while they are not.
    std::optional<std::string> saveTrouble = {};
    // What comes next, asked as the menu opens.
    std::optional<Outlook> outlook = {};

    bool operator==(const MenuState&) const = default;
};

// What the menu's entries do. The menu calls the engine's actions only when
// the engine exists, so an implementation need not check again.
class MenuActions {
public:
    virtual ~MenuActions() = default;

    virtual void openUrl(const std::string& url) = 0;
    // No kind: the engine chooses.
    virtual void preview(std::optional<ReminderKind> kind) = 0;
    virtual void startFocus(int minutes) = 0;
    // Drops the running session; its finishing moment never comes.
    virtual void cancelFocus() = 0;
    // She keeps quiet for that long, or until the next morning; a running
    // pause is replaced.
    virtual void pauseFor(int minutes) = 0;
    virtual void pauseUntilTomorrow() = 0;
    virtual void resume() = 0;
    virtual void openSettings() = 0;
    virtual void openWelcome() = 0;
    // Her diary of the last days, and who she is.
    virtual void openDiary() = 0;
    virtual void openAbout() = 0;
    virtual void quit() = 0;
    // Picks the answer at `index` of MenuState::answers, as a click on it
    // would; nothing when that moment has gone meanwhile.
    virtual void answer(std::size_t index) = 0;
};

// One line of the menu. `id` is stable and unique within the menu (the Qt
// side uses it as the object name); `action` is empty for display-only
// entries and separators.
struct MenuEntry {
    enum class Type { button, caption, text, separator, submenu };

    Type type = Type::button;
    std::string id;
    std::string title;
    std::string shortcut;  // portable text such as "Ctrl+Q"
    std::string tooltip;   // what a line means, when its title does not say
    std::function<void()> action;
    std::vector<MenuEntry> children;  // a submenu's entries
};

// Writes a time of day, given in minutes after local midnight.
using TimeOfDayText = std::function<std::string(int minutes)>;

// The menu's entries, top to bottom, for a state. The actions are called
// through `actions`, which must outlive the entries. Times are written the
// way `timeLocale` (an ICU locale ID, the desktop's locale for times) writes
// them; an empty one means ICU's default locale.
std::vector<MenuEntry> menuContent(const MenuState& state, MenuActions& actions,
                                   std::string_view timeLocale = {});
// The same with times written by `timeText`, so that the menu writes them as
// the shell's own time fields do.
std::vector<MenuEntry> menuContent(const MenuState& state, MenuActions& actions,
                                   const TimeOfDayText& timeText);

// "Jealousy " and five blocks, ceil(J / 20) of them dark.
std::string jealousyLine(int jealousy);

// "Focus until " and the end as a short time of day in `timeLocale` (empty:
// ICU's default locale) and the default time zone.
std::string focusUntilLine(Instant endsAt, std::string_view timeLocale = {});

// What comes next or why she is quiet, in one line ("Next: water around
// 14:30", "Quiet until 07:00"), times formatted as for focusUntilLine;
// nothing when no reminder is coming.
std::optional<std::string> outlookLine(const Outlook& outlook, std::string_view timeLocale = {});
// The same with times written by `timeText`, as the menu writes them.
std::optional<std::string> outlookLine(const Outlook& outlook, const TimeOfDayText& timeText);

// "Paused until " and the end, formatted as for focusUntilLine.
std::string pausedUntilLine(Instant until, std::string_view timeLocale = {});

}  // namespace pelliwig
