#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/platform/KeyValueStore.h"
#include "core/platform/Scheduler.h"
#include "core/support/Signal.h"

namespace pelliwig {

// Keeps trying to store the changes a store refused, and says so: once when
// saving starts failing and once when it works again (through `say`), with
// `troubleChanged` for whatever shows it. Tries come 1 s after the trouble is
// seen, then twice as far apart each time, at most 5 minutes; a change made
// meanwhile is a try of its own. The store is also looked at every 30 s, for
// writes that do not go through the settings (her memory, the fired log).
class SaveRetry {
public:
    using Say = std::function<void(const std::string&)>;

    SaveRetry(KeyValueStore& store, Scheduler& scheduler, Signal<std::string_view>& changed,
              Say say);
    SaveRetry(const SaveRetry&) = delete;
    SaveRetry& operator=(const SaveRetry&) = delete;

    Signal<> troubleChanged;

    // Why changes are not on disk, or nothing when all are.
    const std::optional<std::string>& trouble() const { return trouble_; }

    // The last try, at exit; true when every change is stored.
    bool finish();

    static constexpr double kFirstDelay = 1;
    static constexpr double kLongestDelay = 300;
    static constexpr double kLookEvery = 30;

private:
    void look();
    void retry();
    void update(std::optional<std::string> trouble);

    KeyValueStore& store_;
    Scheduler& scheduler_;
    Say say_;
    Connection onChange_;
    std::optional<std::string> trouble_;
    double delay_ = kFirstDelay;
    TaskHandle next_;
    TaskHandle looking_;
};

}  // namespace pelliwig
