#include "SettingValues.h"

#include "core/settings/Prefs.h"
#include "fakes/MemoryStore.h"

namespace pelliwig::sim {

namespace {

using Decoders = std::map<std::string, std::function<bool(const Json&)>, std::less<>>;

// A setting's value fits when the setting's own codec reads it.
template <typename T, typename C>
void add(Decoders& decoders, const Stored<T, C>& cell) {
    decoders[cell.key()] = [](const Json& value) {
        try {
            (void)C::decode(value);
            return true;
        } catch (const DecodeError&) {
            return false;
        } catch (const Json::exception&) {
            return false;
        }
    };
}

}  // namespace

SettingValues::SettingValues() {
    MemoryStore scratch;
    const Prefs p(scratch);
    p.forEach([this](const auto& cell) { add(decoders_, cell); });
}

bool SettingValues::known(std::string_view key) const {
    return decoders_.find(key) != decoders_.end();
}

bool SettingValues::fits(std::string_view key, const Json& value) const {
    const auto decoder = decoders_.find(key);
    return decoder != decoders_.end() && decoder->second(value);
}

std::vector<std::string> SettingValues::keys() const {
    std::vector<std::string> keys;
    for (const auto& [key, decoder] : decoders_) keys.push_back(key);
    return keys;
}

}  // namespace pelliwig::sim
