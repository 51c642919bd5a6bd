#pragma once

#include <memory>

#include "core/engine/ReminderEngine.h"
#include "desktop/app/EngineFacade.h"

namespace pelliwig {

// The real engine behind the shell's facade. `platform` holds what the
// engine runs on (the notch panel and controller, the sensors) and outlives
// the engine, which is destroyed first.
class ReminderEngineFacade final : public EngineFacade {
public:
    ReminderEngineFacade(std::shared_ptr<void> platform, std::unique_ptr<ReminderEngine> engine,
                         bool seesFrontApp);

    void preview(std::optional<ReminderKind> kind) override { engine_->preview(kind); }
    void startFocus(int minutes) override { engine_->startFocus(minutes); }
    void cancelFocus() override { engine_->cancelFocus(); }
    int jealousy() const override { return engine_->memory().jealousy(); }
    bool onCall() const override { return engine_->meetingStart().has_value(); }
    std::optional<Instant> focusEndsAt() const override;
    bool seesFrontApp() const override { return seesFrontApp_; }
    const Memory::State& memory() const override { return engine_->memory().state; }
    void saveMemory() override { engine_->memory().save(false); }

    ReminderEngine& engine() { return *engine_; }

private:
    std::shared_ptr<void> platform_;
    bool seesFrontApp_;
    std::unique_ptr<ReminderEngine> engine_;  // declared last: destroyed first
};

}  // namespace pelliwig
