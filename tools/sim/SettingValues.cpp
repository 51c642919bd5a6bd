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
    for (const auto* cell : {&p.hasOnboarded, &p.idlePeeks, &p.sleepInNotch, &p.followDoNotDisturb,
                             &p.quietDuringFullScreen, &p.reduceMotion}) {
        add(decoders_, *cell);
    }
    for (const auto* cell : {&p.quietStart, &p.quietEnd, &p.minGap, &p.bedtime, &p.callTime,
                             &p.breakEvery, &p.waterEvery, &p.appTimeLimit, &p.surprisesPerWeek}) {
        add(decoders_, *cell);
    }
    add(decoders_, p.language);
    add(decoders_, p.appearance);
    add(decoders_, p.enabledKinds);
    add(decoders_, p.showSeconds);
    add(decoders_, p.birthday);
    add(decoders_, p.anniversary);
    add(decoders_, p.customReminders);
    add(decoders_, p.countdowns);
    add(decoders_, p.specialDates);
    add(decoders_, p.taughtLines);
    add(decoders_, p.photoFolder);
    add(decoders_, p.bigDay);
    add(decoders_, p.bigDayLabel);
    add(decoders_, p.roastLevel);
    add(decoders_, p.watchedBuckets);
    add(decoders_, p.notchPosition);
    add(decoders_, p.notchScreen);
    add(decoders_, p.pausedUntil);
    add(decoders_, p.bubbleShortcut);
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
