#pragma once

#include <string>
#include <utility>

#include "core/platform/KeyValueStore.h"
#include "core/support/Json.h"
#include "core/support/Signal.h"

namespace pelliwig {

// One setting, stored under its own key as {"value": V}. There is no cached
// copy: every read decodes what is stored, every write stores at once, so
// a change made anywhere is seen by the very next reader. A value that does
// not decode reads as the fallback and stays on disk until the next write.
template <typename T, typename C = Codec<T>>
class Stored {
public:
    Stored(KeyValueStore& store, Signal<>& willChange, Signal<std::string_view>& changed,
           std::string key, T fallback)
        : store_(store),
          willChange_(willChange),
          changed_(changed),
          key_(std::move(key)),
          fallback_(std::move(fallback)) {}
    Stored(const Stored&) = delete;
    Stored& operator=(const Stored&) = delete;

    const std::string& key() const { return key_; }
    const T& fallback() const { return fallback_; }

    T get() const {
        const auto bytes = store_.read(key_);
        if (!bytes) return fallback_;
        const auto parsed = json::parse(*bytes);
        if (!parsed) return fallback_;
        try {
            return C::decode(json::requireMember(*parsed, "value"));
        } catch (const DecodeError&) {
            return fallback_;
        } catch (const Json::exception&) {
            return fallback_;
        }
    }

    void set(const T& value) {
        willChange_();
        std::string bytes;
        try {
            OrderedJson box;
            box["value"] = C::encode(value);
            bytes = box.dump();
        } catch (const OrderedJson::exception&) {
            return;  // e.g. text that is not UTF-8: keep what was stored
        }
        store_.write(key_, bytes);
        changed_(key_);
    }

    // Leaves nothing stored, for a setting whose absence has a meaning of
    // its own; it then reads as the fallback.
    void reset() {
        willChange_();
        store_.remove(key_);
        changed_(key_);
    }

private:
    KeyValueStore& store_;
    Signal<>& willChange_;
    Signal<std::string_view>& changed_;
    std::string key_;
    T fallback_;
};

}  // namespace pelliwig
