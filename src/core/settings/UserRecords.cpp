#include "core/settings/UserRecords.h"

namespace pelliwig {

namespace {

constexpr double kOneWeek = 604800;

template <typename T>
T member(const Json& object, const char* name) {
    return Codec<T>::decode(json::requireMember(object, name));
}

}  // namespace

Countdown Countdown::startingAt(Instant now) {
    Countdown countdown;
    countdown.date = now + kOneWeek;
    return countdown;
}

std::string_view title(RoastLevel level) {
    static constexpr std::array<std::string_view, 3> kTitles{"Off", "Playful", "Savage"};
    return kTitles[static_cast<std::size_t>(level)];
}

std::string_view description(RoastLevel level) {
    static constexpr std::array<std::string_view, 3> kDescriptions{
        "She stays sweet. Your apps only get a word when you've earned a break or it's past "
        "bedtime.",
        "Teasing, never mean. Instagram gets side-eye, VS Code gets a nod.",
        "Half the time she goes for the throat. Screenshot at your own risk."};
    return kDescriptions[static_cast<std::size_t>(level)];
}

Uuid Codec<Uuid>::decode(const Json& j) {
    auto id = Uuid::parse(json::requireString(j));
    if (!id) throw DecodeError("not a UUID");
    return *id;
}

OrderedJson Codec<MonthDay>::encode(const MonthDay& v) {
    OrderedJson j;
    j["month"] = v.month;
    j["day"] = v.day;
    return j;
}

MonthDay Codec<MonthDay>::decode(const Json& j) {
    return MonthDay{member<int>(j, "month"), member<int>(j, "day")};
}

OrderedJson Codec<CustomReminder>::encode(const CustomReminder& v) {
    OrderedJson j;
    j["id"] = v.id.text();
    j["text"] = v.text;
    j["minutes"] = v.minutes;
    j["enabled"] = v.enabled;
    return j;
}

CustomReminder Codec<CustomReminder>::decode(const Json& j) {
    return CustomReminder{member<Uuid>(j, "id"), member<std::string>(j, "text"),
                          member<int>(j, "minutes"), member<bool>(j, "enabled")};
}

OrderedJson Codec<Countdown>::encode(const Countdown& v) {
    OrderedJson j;
    j["id"] = v.id.text();
    j["label"] = v.label;
    j["date"] = DateCodec::encode(v.date);
    return j;
}

Countdown Codec<Countdown>::decode(const Json& j) {
    return Countdown{member<Uuid>(j, "id"), member<std::string>(j, "label"),
                     DateCodec::decode(json::requireMember(j, "date"))};
}

OrderedJson Codec<SpecialDate>::encode(const SpecialDate& v) {
    OrderedJson j;
    j["id"] = v.id.text();
    j["label"] = v.label;
    j["monthDay"] = Codec<MonthDay>::encode(v.monthDay);
    return j;
}

SpecialDate Codec<SpecialDate>::decode(const Json& j) {
    return SpecialDate{member<Uuid>(j, "id"), member<std::string>(j, "label"),
                       member<MonthDay>(j, "monthDay")};
}

OrderedJson Codec<TaughtLine>::encode(const TaughtLine& v) {
    OrderedJson j;
    j["id"] = v.id.text();
    j["text"] = v.text;
    return j;
}

TaughtLine Codec<TaughtLine>::decode(const Json& j) {
    return TaughtLine{member<Uuid>(j, "id"), member<std::string>(j, "text")};
}

}  // namespace pelliwig
