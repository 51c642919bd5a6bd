#include "desktop/app/ReminderEngineFacade.h"

#include <utility>

namespace pelliwig {

ReminderEngineFacade::ReminderEngineFacade(std::shared_ptr<void> platform,
                                           std::unique_ptr<ReminderEngine> engine,
                                           bool seesFrontApp, NotchAccess notch)
    : platform_(std::move(platform)),
      seesFrontApp_(seesFrontApp),
      notch_(std::move(notch)),
      engine_(std::move(engine)) {
    modelChanged_ = notch_.model.changed.connect([this](const NotchModel::Change& change) {
        if (change.field != NotchModel::Field::isShown) answersChanged();
    });
}

std::optional<Moment> ReminderEngineFacade::answerable() const {
    const auto& model = notch_.model;
    if (!model.isShown() || !model.isBubbleShown() || !model.moment()) return std::nullopt;
    if (model.moment()->style == MomentStyle::peek) return std::nullopt;
    return model.moment();
}

std::vector<std::string> ReminderEngineFacade::answers() const {
    std::vector<std::string> labels;
    const auto moment = answerable();
    if (!moment || !notch_.answersFor) return labels;
    for (const Answer& answer : notch_.answersFor(*moment)) labels.push_back(answer.label);
    return labels;
}

void ReminderEngineFacade::answer(std::size_t index) {
    const auto moment = answerable();
    if (!moment || !notch_.answersFor || !notch_.model.onAnswer) return;
    const auto offered = notch_.answersFor(*moment);
    if (index < offered.size()) notch_.model.onAnswer(*moment, offered[index]);
}

std::optional<Instant> ReminderEngineFacade::focusEndsAt() const {
    if (!engine_->focus()) return std::nullopt;
    return engine_->focus()->endsAt();
}

}  // namespace pelliwig
