#include "core/menu/StatusFeed.h"

#include <utility>

namespace pelliwig {

StatusFeed::StatusFeed(Scheduler& scheduler, std::function<StatusLine()> read)
    : scheduler_(scheduler), read_(std::move(read)) {}

void StatusFeed::serve(Send send, bool json, bool follow) {
    // Those already following hear of a change before the newcomer does.
    refresh();
    const StatusLine now = followers_.empty() ? read_() : last_;
    if (!send(written(now, json)) || !follow) return;
    if (followers_.empty()) last_ = now;
    followers_.push_back({std::move(send), json});
    if (!poll_.active()) poll_ = scheduler_.every(kPollSeconds, [this] { refresh(); });
}

void StatusFeed::refresh() {
    if (followers_.empty()) return;
    StatusLine now = read_();
    if (now == last_) return;
    last_ = std::move(now);
    broadcast(last_);
}

void StatusFeed::broadcast(const StatusLine& line) {
    std::erase_if(followers_, [&](const Follower& f) { return !f.send(written(line, f.json)); });
    // Nobody left to tell: no more reading.
    if (followers_.empty()) poll_.cancel();
}

std::string StatusFeed::written(const StatusLine& line, bool json) {
    return json ? line.json() : line.text;
}

}  // namespace pelliwig
