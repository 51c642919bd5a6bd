#pragma once

namespace pelliwig {

// The desktop's own "do not disturb" for notifications. While it is on, the
// user has asked every program to keep quiet, and she does too.
class DoNotDisturb {
public:
    virtual ~DoNotDisturb() = default;

    // True while the desktop holds back notifications; false when it does
    // not, or when it has no such switch.
    virtual bool on() const = 0;
};

}  // namespace pelliwig
