#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace pelliwig {

// One desktop notification: her words, and the answers she offers as its
// buttons.
struct Notification {
    std::string summary;
    std::string body;
    std::vector<std::string> answers;

    bool operator==(const Notification&) const = default;
};

// The desktop's notifications, where she speaks when she cannot sit at the
// top of the screen. At most one of hers is out at a time.
class Notifications {
public:
    virtual ~Notifications() = default;

    // Puts `notification` out, in place of the one that is out, if any.
    virtual void show(const Notification& notification) = 0;
    // Takes hers away; nothing when none is out.
    virtual void close() = 0;

    // The user picked the answer at this index of the one out.
    std::function<void(std::size_t)> onAnswer;
    // The user sent the one out away.
    std::function<void()> onDismiss;
};

}  // namespace pelliwig
