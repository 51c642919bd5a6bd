#pragma once

#include <optional>
#include <vector>

#include "core/platform/Notifications.h"

namespace pelliwig {

// Desktop notifications that remember what was put out, in order, and what
// is out now; tests play the user with onAnswer and onDismiss.
class RecordingNotifications final : public Notifications {
public:
    void show(const Notification& notification) override {
        shown.push_back(notification);
        out = notification;
    }
    void close() override {
        if (out) ++closes;
        out.reset();
    }

    std::vector<Notification> shown;
    std::optional<Notification> out;
    int closes = 0;
};

}  // namespace pelliwig
