#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/support/Json.h"

namespace pelliwig::sim {

// The settings a script may `set`, and whether a value suits each: the
// application reads a value of the wrong shape as the default, which in a
// script would only hide a typing mistake.
class SettingValues {
public:
    // Every setting the application has.
    SettingValues();

    bool known(std::string_view key) const;
    // Whether `value` decodes as the setting under `key`; false for a key
    // that is not known.
    bool fits(std::string_view key, const Json& value) const;
    std::vector<std::string> keys() const;

private:
    std::map<std::string, std::function<bool(const Json&)>, std::less<>> decoders_;
};

}  // namespace pelliwig::sim
