#pragma once

namespace pelliwig {

// Whether this program starts when the user logs in. Each call acts on the
// real registration at once; nothing is cached, so isRegistered() is the
// truth to show after a change failed.
class LoginItem {
public:
    virtual ~LoginItem() = default;

    // Registers this program to start at login. False when that failed; the
    // previous registration then stands.
    virtual bool registerItem() = 0;

    // Stops this program from starting at login. Succeeds when there was
    // nothing registered.
    virtual bool unregisterItem() = 0;

    virtual bool isRegistered() const = 0;
};

}  // namespace pelliwig
