#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/support/Geometry.h"

namespace pelliwig {

// sway's IPC socket ($SWAYSOCK), asked what XWayland does not publish: how
// much of each output its bars leave free (the rect of the output's visible
// workspace) and which output has the focus, which follows the pointer
// there. Each question is one short round trip on a socket of its own; a
// compositor that does not answer within kTimeoutMs is taken as saying
// nothing.
class SwayIpc {
public:
    static constexpr int kTimeoutMs = 250;

    // One output, in sway's layout coordinates (the pixels of XWayland's
    // root window).
    struct Output {
        std::string name;
        Rect rect;
        Rect usable;  // what its bars leave of rect
        bool focused = false;

        bool operator==(const Output&) const = default;
    };

    // The socket $SWAYSOCK names, or `socketPath`.
    explicit SwayIpc(std::string socketPath = {});

    // Whether the session is sway's: its socket is named and answers.
    bool answers() const;

    // The active outputs; empty when sway does not answer.
    std::vector<Output> outputs() const;

    // The outputs as sway's replies to get_outputs and get_workspaces
    // describe them; empty for replies that do not read as sway's.
    static std::vector<Output> parse(const std::string& outputsJson,
                                     const std::string& workspacesJson);

private:
    std::optional<std::string> ask(int type) const;

    std::string socketPath_;
};

}  // namespace pelliwig
