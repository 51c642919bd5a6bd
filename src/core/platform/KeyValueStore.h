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

    // Replaces the bytes under key. The new bytes read back at once; they are
    // durable when write() returns unless saveTrouble() says otherwise, in
    // which case they are kept in memory until retrySaving() stores them.
    virtual void write(std::string_view key, std::string_view bytes) = 0;

    virtual void remove(std::string_view key) = 0;

    // Why changes made are not on disk yet (and where), or nothing when every
    // change is stored.
    virtual std::optional<std::string> saveTrouble() const { return std::nullopt; }

    // Tries again to store the changes not stored yet; true when none is left.
    virtual bool retrySaving() { return true; }
};

}  // namespace pelliwig
