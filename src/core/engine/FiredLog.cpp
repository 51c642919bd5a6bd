#include "core/engine/FiredLog.h"

#include "core/support/Json.h"

namespace pelliwig {

FiredLog::FiredLog(KeyValueStore& store, const Clock& clock) : store_(store), clock_(clock) {
    load();
}

// One undecodable entry discards the whole log, as for every stored value:
// an empty log only means a few nudges may come once more.
void FiredLog::load() {
    const auto bytes = store_.read(kKey);
    if (!bytes) return;
    const auto parsed = json::parse(*bytes);
    if (!parsed || !parsed->is_object()) return;
    std::map<std::string, Instant, std::less<>> loaded;
    try {
        for (const auto& [key, value] : parsed->items()) loaded[key] = DateCodec::decode(value);
    } catch (const DecodeError&) {
        return;
    }
    entries_ = std::move(loaded);
    prune();
}

void FiredLog::rollDayIfNeeded() {
    if (clock_.dayKey(clock_.now()) != day_) prune();
}

void FiredLog::prune() {
    const Instant now = clock_.now();
    const auto tooOld = [now](const auto& entry) { return now - entry.second >= kKeepSeconds; };
    std::erase_if(entries_, tooOld);
    std::erase_if(unstorable_, tooOld);
    day_ = clock_.dayKey(now);
}

namespace {

bool encodable(const std::string& key) {
    try {
        (void)OrderedJson(key).dump();
        return true;
    } catch (const OrderedJson::exception&) {
        return false;
    }
}

}  // namespace

bool FiredLog::contains(std::string_view key) const {
    return entries_.find(key) != entries_.end() || unstorable_.find(key) != unstorable_.end();
}

void FiredLog::mark(const std::string& key) {
    if (!encodable(key)) {
        unstorable_[key] = clock_.now();
        return;
    }
    entries_[key] = clock_.now();
    store_.write(kKey, encode(entries_));
}

std::string FiredLog::encode(const std::map<std::string, Instant, std::less<>>& entries) {
    OrderedJson object = OrderedJson::object();
    for (const auto& [key, instant] : entries) object[key] = DateCodec::encode(instant);
    return object.dump();
}

}  // namespace pelliwig
