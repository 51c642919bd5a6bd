#pragma once

#include <optional>
#include <string>

namespace pelliwig {

// The application the user is working in. Only its display name is read.
class FrontApp {
public:
    virtual ~FrontApp() = default;

    // Display name of the focused application; nothing when no application
    // has focus or it has no name.
    virtual std::optional<std::string> name() const = 0;
};

}  // namespace pelliwig
