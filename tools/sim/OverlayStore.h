#pragma once

#include <map>
#include <optional>
#include <string>

#include "core/platform/KeyValueStore.h"

namespace pelliwig::sim {

// Reads through to another store, keeps every change to itself: a rehearsal
// on a store that must not be touched yet.
class OverlayStore final : public KeyValueStore {
public:
    explicit OverlayStore(const KeyValueStore& base) : base_(base) {}

    std::optional<std::string> read(std::string_view key) const override {
        const auto changed = changes_.find(key);
        if (changed == changes_.end()) return base_.read(key);
        return changed->second;  // none once removed here
    }
    void write(std::string_view key, std::string_view bytes) override {
        changes_.insert_or_assign(std::string(key), std::string(bytes));
    }
    void remove(std::string_view key) override {
        changes_.insert_or_assign(std::string(key), std::nullopt);
    }

private:
    const KeyValueStore& base_;
    std::map<std::string, std::optional<std::string>, std::less<>> changes_;
};

}  // namespace pelliwig::sim
