#pragma once

namespace pelliwig {

// How long the user has left keyboard, mouse and touchpad alone.
class IdleTime {
public:
    virtual ~IdleTime() = default;

    // Seconds since the last input event; 0 when it cannot be read, so an
    // unreadable sensor makes the user look active rather than away.
    virtual double seconds() const = 0;
};

}  // namespace pelliwig
