#include "core/settings/SaveRetry.h"

#include <algorithm>
#include <utility>

namespace pelliwig {

SaveRetry::SaveRetry(KeyValueStore& store, Scheduler& scheduler, Signal<std::string_view>& changed,
                     Say say)
    : store_(store), scheduler_(scheduler), say_(std::move(say)) {
    onChange_ = changed.connect([this](std::string_view) { look(); });
    looking_ = scheduler_.every(kLookEvery, [this] { look(); });
    look();
}

void SaveRetry::look() {
    update(store_.saveTrouble());
}

void SaveRetry::retry() {
    store_.retrySaving();
    if (store_.saveTrouble()) delay_ = std::min(delay_ * 2, kLongestDelay);
    update(store_.saveTrouble());
}

void SaveRetry::update(std::optional<std::string> trouble) {
    if (!trouble) {
        next_.cancel();
        delay_ = kFirstDelay;
    } else if (!next_.active()) {
        next_ = scheduler_.after(delay_, [this] { retry(); });
    }
    if (trouble == trouble_) return;
    const bool wasFine = !trouble_;
    trouble_ = std::move(trouble);
    if (wasFine) {
        say_("your settings cannot be saved: " + *trouble_ +
             "; they are kept and saved as soon as that works");
    } else if (!trouble_) {
        say_("your settings are saved again");
    }
    troubleChanged();
}

bool SaveRetry::finish() {
    const bool saved = store_.retrySaving();
    update(store_.saveTrouble());
    next_.cancel();
    return saved;
}

}  // namespace pelliwig
