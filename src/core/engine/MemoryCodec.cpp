// The stored form of the memory document. Absent optionals are left out;
// every other member is required, so a document missing one reads as fresh.
#include "core/engine/Memory.h"

namespace pelliwig {

namespace {

template <typename T>
T member(const Json& object, const char* name) {
    return Codec<T>::decode(json::requireMember(object, name));
}

template <typename T>
OrderedJson encodeMap(const std::map<std::string, T>& map) {
    auto object = OrderedJson::object();
    for (const auto& [key, value] : map) object[key] = Codec<T>::encode(value);
    return object;
}

template <typename T>
std::map<std::string, T> decodeMap(const Json& j) {
    if (!j.is_object()) throw DecodeError("expected an object");
    std::map<std::string, T> map;
    for (const auto& [key, value] : j.items()) map.emplace(key, Codec<T>::decode(value));
    return map;
}

}  // namespace

OrderedJson Codec<Memory::KindRecord>::encode(const Memory::KindRecord& v) {
    OrderedJson j;
    j["ignoredStreak"] = v.ignoredStreak;
    j["snoozeStreak"] = v.snoozeStreak;
    j["acks"] = v.acks;
    return j;
}

Memory::KindRecord Codec<Memory::KindRecord>::decode(const Json& j) {
    return {member<int>(j, "ignoredStreak"), member<int>(j, "snoozeStreak"),
            member<int>(j, "acks")};
}

OrderedJson Codec<Memory::DayStats>::encode(const Memory::DayStats& v) {
    OrderedJson j;
    j["activeSeconds"] = v.activeSeconds;
    j["longestSitting"] = v.longestSitting;
    j["socialSeconds"] = v.socialSeconds;
    j["acks"] = v.acks;
    j["ignored"] = v.ignored;
    j["waterAcks"] = v.waterAcks;
    j["mealAcks"] = v.mealAcks;
    j["bedtimeAck"] = v.bedtimeAck;
    j["bedtimeSnoozed"] = v.bedtimeSnoozed;
    j["calledHer"] = v.calledHer;
    if (v.appSeconds) j["appSeconds"] = encodeMap(*v.appSeconds);
    return j;
}

Memory::DayStats Codec<Memory::DayStats>::decode(const Json& j) {
    Memory::DayStats v;
    v.activeSeconds = member<double>(j, "activeSeconds");
    v.longestSitting = member<double>(j, "longestSitting");
    v.socialSeconds = member<double>(j, "socialSeconds");
    v.acks = member<int>(j, "acks");
    v.ignored = member<int>(j, "ignored");
    v.waterAcks = member<int>(j, "waterAcks");
    v.mealAcks = member<int>(j, "mealAcks");
    v.bedtimeAck = member<bool>(j, "bedtimeAck");
    v.bedtimeSnoozed = member<bool>(j, "bedtimeSnoozed");
    v.calledHer = member<bool>(j, "calledHer");
    if (const auto it = j.find("appSeconds"); it != j.end() && !it->is_null()) {
        v.appSeconds = decodeMap<double>(*it);
    }
    return v;
}

OrderedJson Codec<Memory::State>::encode(const Memory::State& v) {
    OrderedJson j;
    j["kinds"] = encodeMap(v.kinds);
    j["days"] = encodeMap(v.days);
    j["mood"] = v.mood;
    j["coldUntilApology"] = v.coldUntilApology;
    j["bedtimeSnoozeNights"] = v.bedtimeSnoozeNights;
    j["bedtimeStreak"] = v.bedtimeStreak;
    j["waterStreak"] = v.waterStreak;
    j["lastRolledDay"] = v.lastRolledDay;
    j["reportedWeek"] = v.reportedWeek;
    if (v.lastMeetingEnd) j["lastMeetingEnd"] = DateCodec::encode(*v.lastMeetingEnd);
    return j;
}

Memory::State Codec<Memory::State>::decode(const Json& j) {
    Memory::State v;
    v.kinds = decodeMap<Memory::KindRecord>(json::requireMember(j, "kinds"));
    v.days = decodeMap<Memory::DayStats>(json::requireMember(j, "days"));
    v.mood = member<int>(j, "mood");
    v.coldUntilApology = member<bool>(j, "coldUntilApology");
    v.bedtimeSnoozeNights = member<int>(j, "bedtimeSnoozeNights");
    v.bedtimeStreak = member<int>(j, "bedtimeStreak");
    v.waterStreak = member<int>(j, "waterStreak");
    v.lastRolledDay = member<std::string>(j, "lastRolledDay");
    v.reportedWeek = member<std::string>(j, "reportedWeek");
    if (const auto it = j.find("lastMeetingEnd"); it != j.end() && !it->is_null()) {
        v.lastMeetingEnd = DateCodec::decode(*it);
    }
    return v;
}

}  // namespace pelliwig
