#pragma once

#include <map>
#include <string>

#include "core/platform/KeyValueStore.h"

namespace pelliwig {

// An in-memory key-value store; `writes` counts writes so tests can see
// throttling and "nothing written at start".
class MemoryStore final : public KeyValueStore {
public:
    std::optional<std::string> read(std::string_view key) const override {
        const auto it = values_.find(std::string(key));
        if (it == values_.end()) return std::nullopt;
        return it->second;
    }
    void write(std::string_view key, std::string_view bytes) override {
        values_[std::string(key)] = std::string(bytes);
        ++writes;
    }
    void remove(std::string_view key) override { values_.erase(std::string(key)); }

    const std::map<std::string, std::string>& values() const { return values_; }
    int writes = 0;

private:
    std::map<std::string, std::string> values_;
};

}  // namespace pelliwig
