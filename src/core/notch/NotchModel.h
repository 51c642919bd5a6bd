#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string_view>

#include "core/content/Reminder.h"
#include "core/notch/ThemeAnimation.h"
#include "core/support/Enum.h"
#include "core/support/Signal.h"

namespace pelliwig {

// What the notch view draws. The controller changes it; each change is
// announced with the animation the view should run it with.
class NotchModel {
public:
    enum class Field { moment, isShown, isBubbleShown };

    struct Change {
        Field field;
        ThemeAnimation animation;

        bool operator==(const Change&) const = default;
    };

    NotchModel() = default;
    NotchModel(const NotchModel&) = delete;
    NotchModel& operator=(const NotchModel&) = delete;

    // The moment on screen; kept until a dismissal has fully finished so the
    // view can animate it away with its content intact.
    const std::optional<Moment>& moment() const { return moment_; }
    bool isShown() const { return isShown_; }  // she is out of the notch
    bool isBubbleShown() const { return isBubbleShown_; }

    // Setting a field to the value it already has announces nothing.
    void setMoment(std::optional<Moment> moment, ThemeAnimation animation = ThemeAnimation::none);
    void setShown(bool shown, ThemeAnimation animation = ThemeAnimation::none);
    void setBubbleShown(bool shown, ThemeAnimation animation = ThemeAnimation::none);

    // Emitted after a field has taken its new value.
    Signal<Change> changed;

    // Called by the view: the user closed the moment, or clicked an answer.
    std::function<void()> onDismiss;
    std::function<void(const Moment&, const Answer&)> onAnswer;
    // Called by the view: the user sent the moment away from the keyboard
    // (Escape), which counts as letting its time run out.
    std::function<void()> onExpire;

private:
    std::optional<Moment> moment_;
    bool isShown_ = false;
    bool isBubbleShown_ = false;
};

template <>
struct EnumTraits<NotchModel::Field> {
    static constexpr std::array<std::string_view, 3> names{"moment", "isShown", "isBubbleShown"};
};

}  // namespace pelliwig
