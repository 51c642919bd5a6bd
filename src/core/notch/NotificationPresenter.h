#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "core/content/Reminder.h"
#include "core/notch/NotchModel.h"
#include "core/platform/Notifications.h"
#include "core/support/Signal.h"

namespace pelliwig {

// Her bubble as desktop notifications, for a session where she cannot sit at
// the top of the screen: while the model's bubble is out, its line is out as
// a notification with the bubble's answers as buttons, and it goes when the
// bubble goes. What the user does with it reaches the model as a click in the
// bubble would, so answers and dismissals count the same.
class NotificationPresenter {
public:
    using AnswersFor = std::function<std::vector<Answer>(const Moment&)>;

    // "Zuzi": the title of every notification of hers.
    static constexpr const char* kSummary = "Zuzi";

    NotificationPresenter(NotchModel& model, Notifications& notifications, AnswersFor answers);
    NotificationPresenter(const NotificationPresenter&) = delete;
    NotificationPresenter& operator=(const NotificationPresenter&) = delete;
    ~NotificationPresenter();

private:
    void update();
    void answer(std::size_t index);
    void dismissed();

    NotchModel& model_;
    Notifications& notifications_;
    AnswersFor answersFor_;
    // What is out now, with the answers its buttons stand for.
    std::optional<Moment> out_;
    std::vector<Answer> answers_;
    Connection changed_;
};

}  // namespace pelliwig
