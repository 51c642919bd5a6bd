#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pelliwig {

// Persistent bytes by key: the settings, "memory" and "firedLog".
class KeyValueStore {
public:
    virtual ~KeyValueStore() = default;

    // The bytes stored under key, or nothing.
    virtual std::optional<std::string> read(std::string_view key) const = 0;

    // Replaces the bytes under key; durable when it returns. Failures are
    // silent: the previous value stays.
    virtual void write(std::string_view key, std::string_view bytes) = 0;

    virtual void remove(std::string_view key) = 0;
};

}  // namespace pelliwig
