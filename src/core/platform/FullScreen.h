#pragma once

namespace pelliwig {

// Whether the user is watching, playing or presenting: the focused window
// fills the screen.
class FullScreen {
public:
    virtual ~FullScreen() = default;

    // True while the focused window is full-screen; false when it is not,
    // when nothing has focus, or when the session does not tell.
    virtual bool focusedWindowIsFullScreen() const = 0;
};

}  // namespace pelliwig
