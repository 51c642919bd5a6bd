#pragma once

#include <functional>
#include <string>

namespace pelliwig {

// A key combination that reaches her whichever program has the keyboard.
class GlobalShortcut {
public:
    virtual ~GlobalShortcut() = default;

    // Takes `keys` ("Ctrl+Alt+Z", as Qt writes key sequences portably) for
    // her, giving up the one taken before; an empty text takes none. Returns
    // why it could not be taken ("taken by another program"); empty when it
    // was.
    virtual std::string bind(const std::string& keys) = 0;

    // Called each time the keys are pressed.
    std::function<void()> onActivated;
};

}  // namespace pelliwig
