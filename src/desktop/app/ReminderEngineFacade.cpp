#include "desktop/app/ReminderEngineFacade.h"

#include <utility>

namespace pelliwig {

ReminderEngineFacade::ReminderEngineFacade(std::shared_ptr<void> platform,
                                           std::unique_ptr<ReminderEngine> engine)
    : platform_(std::move(platform)), engine_(std::move(engine)) {}

std::optional<Instant> ReminderEngineFacade::focusEndsAt() const {
    if (!engine_->focus()) return std::nullopt;
    return engine_->focus()->endsAt();
}

}  // namespace pelliwig
