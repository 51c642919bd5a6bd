#include "core/notch/NotificationPresenter.h"

#include <utility>

namespace pelliwig {
namespace {

// A moment with words for a bubble: she only peeks, or sleeps, without one.
bool speaks(const NotchModel& model) {
    const auto& moment = model.moment();
    return model.isBubbleShown() && moment && moment->style != MomentStyle::peek &&
           !moment->line.empty();
}

}  // namespace

NotificationPresenter::NotificationPresenter(NotchModel& model, Notifications& notifications,
                                             AnswersFor answers)
    : model_(model), notifications_(notifications), answersFor_(std::move(answers)) {
    notifications_.onAnswer = [this](std::size_t index) { answer(index); };
    notifications_.onDismiss = [this] { dismissed(); };
    changed_ = model_.changed.connect([this](const NotchModel::Change&) { update(); });
    update();
}

NotificationPresenter::~NotificationPresenter() {
    notifications_.onAnswer = nullptr;
    notifications_.onDismiss = nullptr;
    if (out_) notifications_.close();
}

void NotificationPresenter::update() {
    if (!speaks(model_)) {
        if (out_) notifications_.close();
        out_.reset();
        answers_.clear();
        return;
    }
    const Moment& moment = *model_.moment();
    if (out_ == moment) return;
    out_ = moment;
    answers_ = answersFor_ ? answersFor_(moment) : std::vector<Answer>{};
    Notification notification{kSummary, moment.line, {}};
    for (const Answer& offered : answers_) notification.answers.push_back(offered.label);
    notifications_.show(notification);
}

void NotificationPresenter::answer(std::size_t index) {
    if (!out_ || index >= answers_.size() || !model_.onAnswer) return;
    // Copies: the handler may present another moment, which replaces these.
    const Moment moment = *out_;
    const Answer picked = answers_[index];
    model_.onAnswer(moment, picked);
}

void NotificationPresenter::dismissed() {
    if (!out_) return;
    // It is gone already; the bubble follows it as if closed by hand.
    out_.reset();
    answers_.clear();
    if (model_.onDismiss) model_.onDismiss();
}

}  // namespace pelliwig
