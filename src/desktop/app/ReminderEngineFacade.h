#pragma once

#include <functional>
#include <memory>

#include "core/engine/ReminderEngine.h"
#include "core/notch/NotchModel.h"
#include "desktop/app/EngineFacade.h"

namespace pelliwig {

// What the facade needs of the notch the engine presents in: its model,
// the answers drawn with a moment, and the panel's keyboard.
struct NotchAccess {
    NotchModel& model;
    std::function<std::vector<Answer>(const Moment&)> answersFor;
    std::function<bool()> takeKeyboard;
};

// The real engine behind the shell's facade. `platform` holds what the
// engine runs on (the notch panel and controller, the sensors) and outlives
// the engine, which is destroyed first.
class ReminderEngineFacade final : public EngineFacade {
public:
    ReminderEngineFacade(std::shared_ptr<void> platform, std::unique_ptr<ReminderEngine> engine,
                         bool seesFrontApp, NotchAccess notch);

    void preview(std::optional<ReminderKind> kind) override { engine_->preview(kind); }
    void startFocus(int minutes) override { engine_->startFocus(minutes); }
    void cancelFocus() override { engine_->cancelFocus(); }
    int jealousy() const override { return engine_->memory().jealousy(); }
    bool onCall() const override { return engine_->meetingStart().has_value(); }
    Outlook outlook() const override { return engine_->outlook(); }
    std::optional<Instant> focusEndsAt() const override;
    bool seesFrontApp() const override { return seesFrontApp_; }
    const Memory::State& memory() const override { return engine_->memory().state; }
    void saveMemory() override { engine_->memory().save(false); }
    std::vector<std::string> answers() const override;
    void answer(std::size_t index) override;
    bool takeKeyboard() override { return notch_.takeKeyboard && notch_.takeKeyboard(); }

    ReminderEngine& engine() { return *engine_; }

private:
    // The moment whose answers are on offer now, if any.
    std::optional<Moment> answerable() const;

    std::shared_ptr<void> platform_;
    bool seesFrontApp_;
    NotchAccess notch_;
    Connection modelChanged_;
    std::unique_ptr<ReminderEngine> engine_;  // declared last: destroyed first
};

}  // namespace pelliwig
