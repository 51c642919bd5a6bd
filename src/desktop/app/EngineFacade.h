#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/content/Reminder.h"
#include "core/engine/Memory.h"
#include "core/engine/Outlook.h"
#include "core/support/Instant.h"
#include "core/support/Signal.h"

namespace pelliwig {

// What the application shell asks of her engine: the menu's actions and what
// the menu shows, and the save at quit. ReminderEngineFacade implements it
// over the real engine; shell tests hand in their own.
class EngineFacade {
public:
    virtual ~EngineFacade() = default;

    // No kind: the engine chooses.
    virtual void preview(std::optional<ReminderKind> kind) = 0;
    // Replaces a running session.
    virtual void startFocus(int minutes) = 0;
    // Drops the running session; its finishing moment never comes.
    virtual void cancelFocus() = 0;

    // 0 … 100, today's.
    virtual int jealousy() const = 0;
    // A call is in progress: she keeps quiet.
    virtual bool onCall() const = 0;
    // What comes next and why she is quiet, asked now.
    virtual Outlook outlook() const = 0;
    // The end of the running focus session, if any.
    virtual std::optional<Instant> focusEndsAt() const = 0;
    // The session tells her which application is focused.
    virtual bool seesFrontApp() const = 0;
    // What she remembers, as it stands now: her diary reads its days.
    virtual const Memory::State& memory() const = 0;

    // Writes her memory now, unthrottled: the process is about to end.
    virtual void saveMemory() = 0;

    // The labels of the answers her bubble offers now; empty when none is out.
    virtual std::vector<std::string> answers() const = 0;
    // Picks the answer at `index` of answers(), as a click on it would.
    virtual void answer(std::size_t index) = 0;
    // Brings the keyboard to her bubble; false when no bubble is out.
    virtual bool takeKeyboard() = 0;

    // The answers on offer changed: a moment came, was answered or went.
    Signal<> answersChanged;
};

}  // namespace pelliwig
