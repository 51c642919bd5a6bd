#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "core/menu/StatusLine.h"
#include "core/platform/Scheduler.h"

namespace pelliwig {

// Answers the status questions of desktop bars: once, or again at every
// change for those who follow. The state is read when asked and, while
// anyone follows, every few seconds (a cheap read, never on the engine's
// tick), so the time a quiet spell ends reaches the bar without anyone
// telling the feed.
class StatusFeed {
public:
    static constexpr double kPollSeconds = 5;

    // Sends one line to a reader; false when the reader has gone.
    using Send = std::function<bool(const std::string& line)>;

    StatusFeed(Scheduler& scheduler, std::function<StatusLine()> read);

    // Sends the state now, as JSON or as its text; while `follow`, again at
    // each change until the reader goes.
    void serve(Send send, bool json, bool follow);

    // Something she shows may have changed (a pause, a setting): followers
    // hear of it now rather than at the next poll.
    void refresh();

    std::size_t followers() const { return followers_.size(); }

private:
    struct Follower {
        Send send;
        bool json = false;
    };

    static std::string written(const StatusLine& line, bool json);
    void broadcast(const StatusLine& line);

    Scheduler& scheduler_;
    std::function<StatusLine()> read_;
    std::vector<Follower> followers_;
    StatusLine last_;
    TaskHandle poll_;
};

}  // namespace pelliwig
