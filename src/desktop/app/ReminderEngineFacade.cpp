#include "desktop/app/ReminderEngineFacade.h"

#include <utility>

namespace pelliwig {

ReminderEngineFacade::ReminderEngineFacade(std::shared_ptr<void> platform,
                                           std::unique_ptr<ReminderEngine> engine,
                                           bool seesFrontApp)
    : platform_(std::move(platform)), seesFrontApp_(seesFrontApp), engine_(std::move(engine)) {}

std::optional<Instant> ReminderEngineFacade::focusEndsAt() const {
    if (!engine_->focus()) return std::nullopt;
    return engine_->focus()->endsAt();
}

}  // namespace pelliwig
