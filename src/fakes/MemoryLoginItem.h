#pragma once

#include "core/platform/LoginItem.h"

namespace pelliwig {

// A login item held in memory. With `refuses` set every change fails and the
// registration stays as it was, like a system that said no.
class MemoryLoginItem final : public LoginItem {
public:
    bool registerItem() override { return change(true); }
    bool unregisterItem() override { return change(false); }
    bool isRegistered() const override { return registered; }

    bool registered = false;
    bool refuses = false;
    int changeRequests = 0;

private:
    bool change(bool on) {
        ++changeRequests;
        if (refuses) return false;
        registered = on;
        return true;
    }
};

}  // namespace pelliwig
