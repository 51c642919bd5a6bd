#pragma once

#include <optional>
#include <ostream>
#include <string_view>
#include <vector>

#include "core/content/Reminder.h"
#include "core/engine/ReminderEngine.h"

namespace pelliwig::sim {

// Writes what happened at the notch, one line per event, as text or JSON lines.
class SimReport {
public:
    SimReport(std::ostream& out, bool jsonl) : out_(out), jsonl_(jsonl) {}

    // present, swap, timeout, dismiss or face.
    void moment(Instant at, std::string_view event, const Moment& moment,
                const std::vector<Answer>& answers, std::optional<double> seconds);

    // What the gate said to one cue (--explain).
    void gate(Instant at, const Cue& cue, ReminderEngine::Gate verdict);

    // The words --explain uses for a verdict.
    static std::string_view describe(ReminderEngine::Gate verdict);

private:
    void text(Instant at, std::string_view event, const Moment& moment,
              const std::vector<Answer>& answers);
    void json(Instant at, std::string_view event, const Moment& moment,
              const std::vector<Answer>& answers, std::optional<double> seconds);

    std::ostream& out_;
    bool jsonl_;
};

}  // namespace pelliwig::sim
